#include "imageio/RowCodec.h"

#include "imageio/DecodedBitmaps.h"
#include "imageio/OwnDecoders.h"

#include <cstdio>

namespace velo {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

class DecoderRowReader final : public RowReader {
  public:
    DecoderRowReader(FileHandle file, std::unique_ptr<RowDecoder> decoder)
        : file_(std::move(file)), decoder_(std::move(decoder)) {}

    int pixelsWide() const override { return decoder_->pixelsWide(); }
    int pixelsHigh() const override { return decoder_->pixelsHigh(); }
    Size size() const override { return decoder_->pointSize(); }
    std::shared_ptr<Bitmap> newBand(int rows) const override {
        return newDecodedBitmap(pixelsWide(), rows, decoder_->samplesPerPixel());
    }
    bool read(Bitmap& band, int rows) override;
    const std::string& error() const override { return error_; }
    std::string damage() const override { return decoder_->damage(); }

  private:
    FileHandle file_; // outlives the decoder reading it
    std::unique_ptr<RowDecoder> decoder_;
    std::string error_;
};

bool DecoderRowReader::read(Bitmap& band, int rows) {
    if (band.pixelsWide() != pixelsWide() ||
        band.samplesPerPixel() != decoder_->samplesPerPixel() || band.isPlanar() ||
        band.bitsPerPixel() != 8 * band.samplesPerPixel() || rows > band.pixelsHigh()) {
        error_ = "the band does not have the image's layout";
        return false;
    }
    if (!decoder_->readRows(band, 0, rows)) {
        error_ = decoder_->error();
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<RowReader> openRowReader(const std::filesystem::path& path) {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return nullptr;
    }
    std::unique_ptr<RowDecoder> decoder = openOwnDecoder(path, file.get());
    if (!decoder) {
        return nullptr;
    }
    return std::make_unique<DecoderRowReader>(std::move(file), std::move(decoder));
}

} // namespace velo
