#include "imageio/CheckedRowWriter.h"
#include "imageio/PixelDensity.h"
#include "imageio/PngBand.h"
#include "imageio/RowWriters.h"
#include "imageio/StraightRows.h"
#include "platform/TaskPool.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>

namespace velo {

namespace {

// Bands of about a megabyte, compressed on all cores. Their rows depend on the
// width alone, so any bands the caller writes give the same file.
constexpr std::size_t kBandBytes = 1 << 20;

// Grey, RGB or RGBA as Qt writes them (grey with alpha as RGBA), 8 or 16 bits.
std::uint8_t colourType(int channels) {
    return channels == 1 ? 0 : channels == 3 ? 2 : 6;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

class PngRowWriter final : public CheckedRowWriter {
  public:
    PngRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout, int pixelsHigh)
        : CheckedRowWriter(std::move(sink), layout, pixelsHigh),
          rows_(layout.pixelsWide(), layout.samplesPerPixel(), layout.bitsPerSample()),
          sampleBytes_(layout.bytesPerSample()),
          rowBytes_(static_cast<std::size_t>(layout.pixelsWide()) * rows_.channels() *
                    sampleBytes_),
          rowsPerBand_(static_cast<int>(std::max<std::size_t>(1, kBandBytes / rowBytes_))),
          inFlight_(2 * TaskPool::shared().threads()) {}

    bool start(Size pointSize);

  protected:
    bool writeRows(const Bitmap& band, int rows) override;
    bool finishRows() override;

  private:
    bool writeChunk(const char type[4], std::initializer_list<std::span<const std::uint8_t>> parts);
    void submitBand(bool endsImage);
    bool writeOldestBand();

    void appendRow(const std::uint8_t* row);

    StraightRows rows_;
    int sampleBytes_;
    std::size_t rowBytes_;
    int rowsPerBand_;
    std::size_t inFlight_;
    std::vector<std::uint8_t> band_;
    std::vector<std::uint8_t> previous_;
    std::deque<std::future<CompressedPngBand>> pending_;
    std::uint32_t adler_ = 1;
    bool wroteData_ = false;
};

bool PngRowWriter::writeChunk(const char type[4],
                              std::initializer_list<std::span<const std::uint8_t>> parts) {
    std::size_t length = 0;
    for (auto part : parts) {
        length += part.size();
    }
    std::vector<std::uint8_t> head;
    putBigEndian(head, static_cast<std::uint32_t>(length));
    head.insert(head.end(), type, type + 4);
    std::uint32_t crc = libdeflate_crc32(0, type, 4);
    bool written = sink().append(head);
    for (auto part : parts) {
        // libdeflate starts afresh for a null buffer, which an empty part may have.
        if (!part.empty()) {
            crc = libdeflate_crc32(crc, part.data(), part.size());
            written = written && sink().append(part);
        }
    }
    std::vector<std::uint8_t> tail;
    putBigEndian(tail, crc);
    return (written && sink().append(tail)) || fail("cannot write the PNG");
}

// Signature, header and resolution, as Qt writes them (no gamma, no text).
bool PngRowWriter::start(Size pointSize) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!sink().append(signature)) {
        return false;
    }
    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(pixelsWide()));
    putBigEndian(header, static_cast<std::uint32_t>(pixelsHigh()));
    header.insert(header.end(), {static_cast<std::uint8_t>(8 * sampleBytes_),
                                 colourType(rows_.channels()), 0, 0, 0});
    DotsPerMeter dots = dotsPerMeterFor(pixelsWide(), pixelsHigh(), pointSize);
    std::vector<std::uint8_t> resolution;
    putBigEndian(resolution, static_cast<std::uint32_t>(dots.x));
    putBigEndian(resolution, static_cast<std::uint32_t>(dots.y));
    resolution.push_back(1);
    return writeChunk("IHDR", {header}) &&
           (dots.x <= 0 && dots.y <= 0 ? true : writeChunk("pHYs", {resolution}));
}

void PngRowWriter::submitBand(bool endsImage) {
    auto rows = std::make_shared<PngBandRows>();
    rows->rows = std::move(band_);
    rows->previous = previous_;
    rows->rowBytes = rowBytes_;
    rows->bytesPerPixel = rows_.channels() * sampleBytes_;
    rows->endsImage = endsImage;
    previous_.assign(rows->rows.end() - static_cast<std::ptrdiff_t>(rowBytes_), rows->rows.end());
    band_.clear();
    auto task = std::make_shared<std::packaged_task<CompressedPngBand()>>(
        [rows] { return compressPngBand(*rows); });
    pending_.push_back(task->get_future());
    TaskPool::shared().post([task] { (*task)(); });
}

// The zlib header opens the first band's data and the checksum closes the
// last's; every band is an IDAT chunk of its own.
bool PngRowWriter::writeOldestBand() {
    CompressedPngBand band = pending_.front().get();
    pending_.pop_front();
    if (!band.error.empty()) {
        return fail(band.error);
    }
    adler_ = static_cast<std::uint32_t>(
        adler32_combine(adler_, band.adler, static_cast<z_off_t>(band.filteredBytes)));
    static const std::uint8_t zlibHeader[2] = {0x78, 0x9c};
    std::span<const std::uint8_t> opening =
        wroteData_ ? std::span<const std::uint8_t>() : zlibHeader;
    std::vector<std::uint8_t> closing;
    if (band.endsImage) {
        putBigEndian(closing, adler_);
    }
    wroteData_ = true;
    return writeChunk("IDAT", {opening, band.deflated, closing});
}

// PNG keeps 16-bit samples most significant byte first.
void PngRowWriter::appendRow(const std::uint8_t* row) {
    std::size_t start = band_.size();
    band_.insert(band_.end(), row, row + rowBytes_);
    if (sampleBytes_ == 2) {
        for (std::size_t i = start; i < band_.size(); i += 2) {
            std::uint16_t sample;
            std::memcpy(&sample, &band_[i], 2);
            band_[i] = static_cast<std::uint8_t>(sample >> 8);
            band_[i + 1] = static_cast<std::uint8_t>(sample);
        }
    }
}

bool PngRowWriter::writeRows(const Bitmap& band, int rows) {
    for (int y = 0; y < rows; ++y) {
        appendRow(rows_.row(band, y));
        int written = rowsWritten() + y + 1;
        bool endsImage = written == pixelsHigh();
        if (band_.size() == rowBytes_ * rowsPerBand_ || endsImage) {
            submitBand(endsImage);
        }
        while (pending_.size() > inFlight_) {
            if (!writeOldestBand()) {
                return false;
            }
        }
    }
    return true;
}

bool PngRowWriter::finishRows() {
    while (!pending_.empty()) {
        if (!writeOldestBand()) {
            return false;
        }
    }
    return writeChunk("IEND", {});
}

} // namespace

std::unique_ptr<RowWriter> openPngRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                            int pixelsHigh, Size pointSize) {
    auto writer = std::make_unique<PngRowWriter>(std::move(sink), layout, pixelsHigh);
    if (!writer->start(pointSize)) {
        return nullptr;
    }
    return writer;
}

} // namespace velo
