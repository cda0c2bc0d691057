#include "app/StreamedApply.h"

#include "color/WorkingBitmap.h"
#include "engine/BandPipeline.h"
#include "imageio/ImageMetadata.h"
#include "imageio/RowCodec.h"
#include "platform/Files.h"
#include "platform/Log.h"

#include <algorithm>

namespace velo {

namespace {

// Bands of about 4 MB: small next to any image, large next to a row.
constexpr std::size_t kBandBytes = 4 << 20;

int rowsPerBand(const Bitmap& layout) {
    return static_cast<int>(std::max<std::size_t>(
        16, kBandBytes / static_cast<std::size_t>(std::max(1, layout.bytesPerRow()))));
}

// The working bitmap of a document is the decoded bitmap itself only for
// layouts it accepts as they are; others are converted, which bands cannot be.
bool worksAsDecoded(const std::shared_ptr<Bitmap>& band) {
    return isAcceptableBitmap(ImageRep::fromBitmap(band));
}

// What the output carries of the input, as a document's export writes it:
// the profile, and the EXIF, XMP and IPTC brought upright. Null for nothing.
std::shared_ptr<const ImageMetadata> metadataToKeep(const StreamedApply& job) {
    if (!job.keepsMetadata) {
        return nullptr;
    }
    std::shared_ptr<const ImageMetadata> metadata = ImageMetadata::readFile(job.input);
    return metadata && !metadata->isEmpty() ? metadata : nullptr;
}

} // namespace

StreamedResult applyStreamed(const StreamedApply& job) {
    std::unique_ptr<RowReader> reader = openRowReader(job.input);
    if (!reader) {
        return {};
    }
    std::shared_ptr<Bitmap> probe = reader->newBand(1);
    if (!worksAsDecoded(probe)) {
        return {};
    }
    bool alpha = job.alpha.value_or(probe->hasAlpha());
    std::shared_ptr<Bitmap> layout = alphaAdjustedCopy(*probe, alpha);
    std::shared_ptr<const ImageMetadata> metadata = metadataToKeep(job);
    layout->setIccProfile(metadata ? metadata->iccProfile() : nullptr);
    std::string error;
    std::optional<AtomicFile> file = AtomicFile::create(job.output, error);
    if (!file) {
        return {true, error};
    }
    std::unique_ptr<RowWriter> writer =
        openRowWriter(file->temporaryPath(), job.type, *layout, reader->pixelsHigh(),
                      reader->size(), job.jpegQuality);
    if (!writer) {
        return {};
    }
    InputAdjustments adjustments = job.adjustments();
    if (!adjustments.error.empty()) {
        return {true, adjustments.error};
    }
    int rows = rowsPerBand(*probe);
    int nextRow = 0;
    BandStages stages{[&]() -> std::shared_ptr<Bitmap> {
                          int count = std::min(rows, reader->pixelsHigh() - nextRow);
                          std::shared_ptr<Bitmap> band = reader->newBand(count);
                          nextRow += count;
                          return reader->read(*band, count) ? band : nullptr;
                      },
                      [&] { return nextRow < reader->pixelsHigh(); },
                      [alpha](const Bitmap& source) { return alphaAdjustedCopy(source, alpha); },
                      [&](const Bitmap& band) { return writer->write(band, band.pixelsHigh()); }};
    auto cannotWrite = [&](const std::string& why) {
        return StreamedResult{true, "cannot write " + job.output.string() + ": " + why};
    };
    if (!recolourInBands(stages, adjustments.list)) {
        if (!reader->error().empty()) {
            return {true, reader->error()};
        }
        return writer->error().empty() ? StreamedResult{true, "the image could not be recoloured"}
                                       : cannotWrite(writer->error());
    }
    if (std::optional<std::string> failed = writer->finish()) {
        return cannotWrite(*failed);
    }
    std::string damage = reader->damage();
    if (!damage.empty() && job.refusesDamage) {
        return {true, damage};
    }
    // Into the file before it takes the output's place; without it rather than none.
    if (metadata) {
        if (auto failed = writeImageMetadata(file->temporaryPath(), *metadata, reader->pixelsWide(),
                                             reader->pixelsHigh())) {
            logMessage(*failed);
        }
    }
    if (std::optional<std::string> failed = file->commit()) {
        return {true, *failed};
    }
    return {true, {}, damage};
}

} // namespace velo
