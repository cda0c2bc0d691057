#include "imageio/CheckedRowWriter.h"
#include "imageio/JpegErrors.h"
#include "imageio/PixelDensity.h"
#include "imageio/RowWriters.h"
#include "imageio/StraightRows.h"

#include <QtGlobal>

#include <cmath>

namespace velo {

namespace {

// Written as Qt's writer writes JPEGs, byte for byte: libjpeg's defaults
// (baseline, 4:2:0 chroma, standard Huffman tables, accurate integer DCT), the
// density in whichever unit states it closer, alpha undone and dropped.
// Optimised Huffman tables would hold every coefficient of the image until
// the end, which a writer of rows must not.

constexpr std::size_t kBufferBytes = 1 << 16;

struct SinkDestination : jpeg_destination_mgr {
    ByteSink* sink = nullptr;
    JOCTET buffer[kBufferBytes];
    bool failed = false;
};

extern "C" void startDestination(j_compress_ptr info) {
    auto* destination = static_cast<SinkDestination*>(info->dest);
    destination->next_output_byte = destination->buffer;
    destination->free_in_buffer = kBufferBytes;
}

extern "C" boolean emptyDestination(j_compress_ptr info) {
    auto* destination = static_cast<SinkDestination*>(info->dest);
    if (!destination->sink->append({destination->buffer, kBufferBytes})) {
        destination->failed = true;
    }
    startDestination(info);
    return TRUE;
}

extern "C" void endDestination(j_compress_ptr info) {
    auto* destination = static_cast<SinkDestination*>(info->dest);
    if (!destination->sink->append(
            {destination->buffer, kBufferBytes - destination->free_in_buffer})) {
        destination->failed = true;
    }
}

// Qt's choice between dots per inch and per centimetre.
void setDensity(jpeg_compress_struct& info, DotsPerMeter dots) {
    auto off = [](double v) { return std::abs(v - qRound(v)); };
    double inch = off(dots.x * 2.54 / 100.) + off(dots.y * 2.54 / 100.);
    double cm = (off(dots.x / 100.) + off(dots.y / 100.)) * 2.54;
    if (inch < cm) {
        info.density_unit = 1;
        info.X_density = static_cast<UINT16>(qRound(dots.x * 2.54 / 100.));
        info.Y_density = static_cast<UINT16>(qRound(dots.y * 2.54 / 100.));
    } else {
        info.density_unit = 2;
        info.X_density = static_cast<UINT16>((dots.x + 50) / 100);
        info.Y_density = static_cast<UINT16>((dots.y + 50) / 100);
    }
}

int qtQuality(float quality) {
    long percent = std::lround(quality * 100);
    return percent < 0 ? 75 : static_cast<int>(std::min(percent, 100L));
}

class JpegRowWriter final : public CheckedRowWriter {
  public:
    JpegRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout, int pixelsHigh)
        : CheckedRowWriter(std::move(sink), layout, pixelsHigh),
          rows_(layout.pixelsWide(), layout.samplesPerPixel()),
          packed_(static_cast<std::size_t>(layout.pixelsWide()) * 3) {
        info_.err = jumpingJpegErrors(errors_);
        jpeg_create_compress(&info_);
        destination_.sink = &this->sink();
        destination_.init_destination = startDestination;
        destination_.empty_output_buffer = emptyDestination;
        destination_.term_destination = endDestination;
        info_.dest = &destination_;
    }
    ~JpegRowWriter() override { jpeg_destroy_compress(&info_); }

    bool start(Size pointSize, float quality);

  protected:
    bool writeRows(const Bitmap& band, int rows) override;
    bool finishRows() override;

  private:
    bool compressRow(const JSAMPLE* row);
    bool finishCompressing();
    bool failed();
    const JSAMPLE* encoderRow(const Bitmap& band, int y);

    jpeg_compress_struct info_{};
    JpegErrors errors_;
    SinkDestination destination_;
    StraightRows rows_;
    std::vector<JSAMPLE> packed_;
};

// No object with a destructor lives between a setjmp and its longjmp.
bool JpegRowWriter::start(Size pointSize, float quality) {
    if (setjmp(errors_.jump)) {
        return failed();
    }
    bool grey = rows_.channels() == 1;
    info_.image_width = static_cast<JDIMENSION>(pixelsWide());
    info_.image_height = static_cast<JDIMENSION>(pixelsHigh());
    info_.input_components = grey ? 1 : 3;
    info_.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info_);
    setDensity(info_, dotsPerMeterFor(pixelsWide(), pixelsHigh(), pointSize));
    jpeg_set_quality(&info_, qtQuality(quality), TRUE);
    jpeg_start_compress(&info_, TRUE);
    return true;
}

bool JpegRowWriter::failed() {
    return fail(std::string("cannot encode the JPEG: ") + errors_.message);
}

bool JpegRowWriter::compressRow(const JSAMPLE* row) {
    if (setjmp(errors_.jump)) {
        return failed();
    }
    JSAMPROW pointer = const_cast<JSAMPROW>(row);
    jpeg_write_scanlines(&info_, &pointer, 1);
    return !destination_.failed || fail("cannot write the JPEG");
}

// RGB from RGBA: the colour, alpha undone, without the alpha.
const JSAMPLE* JpegRowWriter::encoderRow(const Bitmap& band, int y) {
    const std::uint8_t* row = rows_.row(band, y);
    if (rows_.channels() != 4) {
        return row;
    }
    for (int x = 0; x < pixelsWide(); ++x) {
        packed_[3 * x] = row[4 * x];
        packed_[3 * x + 1] = row[4 * x + 1];
        packed_[3 * x + 2] = row[4 * x + 2];
    }
    return packed_.data();
}

bool JpegRowWriter::writeRows(const Bitmap& band, int rows) {
    for (int y = 0; y < rows; ++y) {
        if (!compressRow(encoderRow(band, y))) {
            return false;
        }
    }
    return true;
}

bool JpegRowWriter::finishCompressing() {
    if (setjmp(errors_.jump)) {
        return failed();
    }
    jpeg_finish_compress(&info_);
    return !destination_.failed || fail("cannot write the JPEG");
}

bool JpegRowWriter::finishRows() {
    return finishCompressing();
}

} // namespace

std::unique_ptr<RowWriter> openJpegRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                             int pixelsHigh, Size pointSize, float quality) {
    auto writer = std::make_unique<JpegRowWriter>(std::move(sink), layout, pixelsHigh);
    if (!writer->start(pointSize, quality)) {
        return nullptr;
    }
    return writer;
}

} // namespace velo
