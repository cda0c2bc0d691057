#include "imageio/CheckedRowWriter.h"
#include "imageio/RowWriters.h"
#include "imageio/TiffTags.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace velo {

namespace {

// Our LZW TIFF, strip by strip as libtiff fills them: the tags and rows of
// encodeTiff, for meshed layouts, and so the same bytes.

struct SinkFile {
    ByteSink* sink;
    std::uint64_t position = 0;
    std::string error;
};

tmsize_t readProc(thandle_t handle, void* data, tmsize_t size) {
    auto* file = static_cast<SinkFile*>(handle);
    std::size_t n = file->sink->readAt(
        file->position, {static_cast<std::uint8_t*>(data), static_cast<std::size_t>(size)});
    file->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t handle, void* data, tmsize_t size) {
    auto* file = static_cast<SinkFile*>(handle);
    if (!file->sink->writeAt(file->position, {static_cast<const std::uint8_t*>(data),
                                              static_cast<std::size_t>(size)})) {
        return -1;
    }
    file->position += static_cast<std::uint64_t>(size);
    return size;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<SinkFile*>(handle);
    toff_t base = whence == SEEK_CUR ? file->position : whence == SEEK_END ? file->sink->size() : 0;
    file->position = base + offset;
    return file->position;
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t handle) {
    return static_cast<SinkFile*>(handle)->sink->size();
}
int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

// Messages go to the file being written, not to libtiff's global handlers.
int keepError(TIFF*, void* user, const char* module, const char* format, va_list args) {
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    static_cast<SinkFile*>(user)->error = std::string(module ? module : "TIFF") + ": " + message;
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

class TiffRowWriter final : public CheckedRowWriter {
  public:
    TiffRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout, int pixelsHigh)
        : CheckedRowWriter(std::move(sink), layout, pixelsHigh), file_{&this->sink(), 0, {}},
          row_(static_cast<std::size_t>(layout.pixelsWide()) * layout.samplesPerPixel() *
               layout.bytesPerSample()) {}

    bool start(const Bitmap& layout, Size pointSize);

  protected:
    bool writeRows(const Bitmap& band, int rows) override;
    bool finishRows() override;

  private:
    bool failed(const char* fallback) { return fail(file_.error.empty() ? fallback : file_.error); }

    SinkFile file_;
    std::unique_ptr<TIFF, TiffCloser> tiff_;
    std::vector<std::uint8_t> row_;
};

bool TiffRowWriter::start(const Bitmap& layout, Size pointSize) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, &file_);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, &file_);
    tiff_.reset(TIFFClientOpenExt("velo", "w", &file_, readProc, writeProc, seekProc, closeProc,
                                  sizeProc, mapProc, unmapProc, options));
    TIFFOpenOptionsFree(options);
    if (!tiff_) {
        return false;
    }
    writeTiffTags(tiff_.get(),
                  {pixelsWide(), pixelsHigh(), samplesPerPixel(), layout.bitsPerSample(),
                   layout.hasAlpha(), false, pointSize, layout.iccProfile()});
    return true;
}

bool TiffRowWriter::writeRows(const Bitmap& band, int rows) {
    if (band.isPlanar()) {
        return fail("the band does not have the image's layout");
    }
    const std::size_t step = static_cast<std::size_t>(band.bitsPerPixel()) / 8;
    const std::size_t pixelBytes =
        static_cast<std::size_t>(samplesPerPixel()) * band.bytesPerSample();
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* from = band.plane(0) + static_cast<std::size_t>(y) * band.bytesPerRow();
        if (step != pixelBytes) {
            // Pixels carrying padding bits: gather the samples.
            for (int x = 0; x < pixelsWide(); ++x) {
                std::memcpy(&row_[static_cast<std::size_t>(x) * pixelBytes], from + x * step,
                            pixelBytes);
            }
            from = row_.data();
        }
        if (TIFFWriteScanline(tiff_.get(), const_cast<std::uint8_t*>(from),
                              static_cast<std::uint32_t>(rowsWritten() + y), 0) < 0) {
            return failed("cannot encode the TIFF");
        }
    }
    return true;
}

bool TiffRowWriter::finishRows() {
    if (!TIFFWriteDirectory(tiff_.get())) {
        return failed("cannot encode the TIFF");
    }
    tiff_.reset();
    return file_.error.empty() || failed("cannot encode the TIFF");
}

} // namespace

std::unique_ptr<RowWriter> openTiffRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                             int pixelsHigh, Size pointSize) {
    if (layout.isPlanar()) {
        return nullptr;
    }
    auto writer = std::make_unique<TiffRowWriter>(std::move(sink), layout, pixelsHigh);
    if (!writer->start(layout, pointSize)) {
        return nullptr;
    }
    return writer;
}

} // namespace velo
