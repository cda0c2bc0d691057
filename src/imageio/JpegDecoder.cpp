#include "imageio/JpegDecoder.h"

#include "imageio/DamagedRows.h"
#include "imageio/DecodedBitmaps.h"
#include "imageio/JpegErrors.h"
#include "imageio/PixelDensity.h"

#include <jerror.h>

#include <algorithm>

namespace velo {

namespace {

// libjpeg's errors, and what its warnings said of damaged data.
struct DecoderErrors : JpegErrors {
    bool damaged = false;
    bool endedEarly = false;
    JDIMENSION linesBeforeTheEnd = 0;
    char firstWarning[JMSG_LENGTH_MAX] = {};
};

// Warnings about damaged data are not failures, as in Qt's reader; the
// first of them is kept to tell the user.
extern "C" void noteWarning(j_common_ptr info, int level) {
    auto* errors = static_cast<DecoderErrors*>(info->err);
    if (level >= 0 || errors->damaged) {
        return;
    }
    errors->damaged = true;
    errors->endedEarly = errors->msg_code == JWRN_JPEG_EOF;
    errors->linesBeforeTheEnd = reinterpret_cast<j_decompress_ptr>(info)->output_scanline;
    errors->format_message(info, errors->firstWarning);
}

// Qt's resolution for the density the header states.
int dotsPerMeter(int unit, int density) {
    if (unit == 1) {
        return static_cast<int>(100. * density / 2.54);
    }
    return unit == 2 ? static_cast<int>(100. * density) : 0;
}

class JpegDecoder final : public RowDecoder {
  public:
    JpegDecoder() {
        info_.err = jumpingJpegErrors(errors_);
        errors_.emit_message = noteWarning;
        jpeg_create_decompress(&info_);
    }
    ~JpegDecoder() override { jpeg_destroy_decompress(&info_); }

    // Reads the header and starts decompressing; false for a layout or an
    // orientation left to Qt, or a failure.
    bool start(EncodedSource source);

    int pixelsWide() const override { return static_cast<int>(info_.output_width); }
    int pixelsHigh() const override { return static_cast<int>(info_.output_height); }
    int samplesPerPixel() const override { return info_.output_components; }
    Size pointSize() const override;
    bool readRows(Bitmap& bitmap, int firstRow, int rows) override;
    const std::string& error() const override { return error_; }
    std::string damage() const override;

  private:
    bool readHeader(EncodedSource source);
    bool decompress(Bitmap& bitmap, int firstRow, int rows);

    jpeg_decompress_struct info_{};
    DecoderErrors errors_;
    std::string error_;
};

// No object with a destructor lives between a setjmp and its longjmp.
bool JpegDecoder::readHeader(EncodedSource source) {
    if (setjmp(errors_.jump)) {
        return false;
    }
    if (source.file) {
        jpeg_stdio_src(&info_, source.file);
    } else {
        jpeg_mem_src(&info_, source.bytes.data(), static_cast<unsigned long>(source.bytes.size()));
    }
    jpeg_read_header(&info_, TRUE);
    bool exact = info_.out_color_space == JCS_GRAYSCALE || info_.out_color_space == JCS_RGB;
    if (!exact || !fitsImageMemoryLimit(info_.image_width, info_.image_height)) {
        return false;
    }
    jpeg_start_decompress(&info_);
    return true;
}

bool JpegDecoder::start(EncodedSource source) {
    return readHeader(source);
}

Size JpegDecoder::pointSize() const {
    return pointSizeFor(pixelsWide(), pixelsHigh(),
                        dotsPerMeter(info_.density_unit, info_.X_density),
                        dotsPerMeter(info_.density_unit, info_.Y_density));
}

bool JpegDecoder::decompress(Bitmap& bitmap, int firstRow, int rows) {
    if (setjmp(errors_.jump)) {
        return false;
    }
    int done = 0;
    while (done < rows) {
        JSAMPROW pointers[16];
        int batch = std::min(rows - done, 16);
        for (int i = 0; i < batch; ++i) {
            pointers[i] = bitmap.plane(0) +
                          static_cast<std::size_t>(firstRow + done + i) * bitmap.bytesPerRow();
        }
        JDIMENSION read = jpeg_read_scanlines(&info_, pointers, static_cast<JDIMENSION>(batch));
        if (read == 0) {
            return false;
        }
        done += static_cast<int>(read);
    }
    // Qt's reader fails on what ends the data badly; so does this.
    if (info_.output_scanline == info_.output_height) {
        jpeg_finish_decompress(&info_);
    }
    return true;
}

bool JpegDecoder::readRows(Bitmap& bitmap, int firstRow, int rows) {
    if (rows < 0 || static_cast<long long>(info_.output_scanline) + rows > info_.output_height) {
        error_ = "reading past the end of the JPEG";
        return false;
    }
    if (!decompress(bitmap, firstRow, rows)) {
        error_ = std::string("the JPEG data cannot be decoded: ") + errors_.message;
        return false;
    }
    return true;
}

std::string JpegDecoder::damage() const {
    if (!errors_.damaged) {
        return {};
    }
    if (!errors_.endedEarly) {
        return std::string("the JPEG data is damaged (") + errors_.firstWarning + ")";
    }
    // A progressive file is read whole before its first line comes out.
    if (info_.progressive_mode) {
        return "the JPEG data ends early: detail is missing from the whole image";
    }
    return endsEarlyMessage("JPEG", errors_.linesBeforeTheEnd, info_.output_height);
}

} // namespace

bool looksLikeJpeg(std::span<const std::uint8_t> start) {
    return start.size() >= 2 && start[0] == 0xff && start[1] == 0xd8;
}

std::unique_ptr<RowDecoder> openJpegDecoder(EncodedSource source) {
    auto decoder = std::make_unique<JpegDecoder>();
    if (!decoder->start(source)) {
        return nullptr;
    }
    return decoder;
}

} // namespace velo
