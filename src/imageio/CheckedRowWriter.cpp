#include "imageio/CheckedRowWriter.h"

namespace velo {

CheckedRowWriter::CheckedRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                   int pixelsHigh)
    : sink_(std::move(sink)), pixelsWide_(layout.pixelsWide()), pixelsHigh_(pixelsHigh),
      samples_(layout.samplesPerPixel()), bitsPerSample_(layout.bitsPerSample()),
      hasAlpha_(layout.hasAlpha()) {}

// A file that could not be written says why in the system's words.
bool CheckedRowWriter::fail(std::string why) {
    if (error_.empty()) {
        std::string system = sink_->failure();
        error_ = system.empty() ? std::move(why) : system;
    }
    return false;
}

bool CheckedRowWriter::write(const Bitmap& band, int rows) {
    if (!error_.empty() || finished_) {
        return fail("the file is already ended");
    }
    if (band.pixelsWide() != pixelsWide_ || band.samplesPerPixel() != samples_ ||
        band.bitsPerSample() != bitsPerSample_ || band.hasAlpha() != hasAlpha_ || rows < 0 ||
        rows > band.pixelsHigh()) {
        return fail("the band does not have the image's layout");
    }
    if (rows > pixelsHigh_ - rowsWritten_) {
        return fail("more rows than the image has");
    }
    try {
        if (!writeRows(band, rows)) {
            return false;
        }
    } catch (const std::bad_alloc&) {
        return fail("not enough memory to encode the image");
    }
    rowsWritten_ += rows;
    return true;
}

std::optional<std::string> CheckedRowWriter::finish() {
    if (error_.empty() && !finished_ && rowsWritten_ != pixelsHigh_) {
        fail("only " + std::to_string(rowsWritten_) + " of " + std::to_string(pixelsHigh_) +
             " rows were written");
    }
    if (error_.empty() && !finished_) {
        try {
            finishRows();
        } catch (const std::bad_alloc&) {
            fail("not enough memory to encode the image");
        }
    }
    finished_ = true;
    if (std::optional<std::string> closing = sink_->close()) {
        fail(*closing);
    }
    return error_.empty() ? std::nullopt : std::optional(error_);
}

} // namespace velo
