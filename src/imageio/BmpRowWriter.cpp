#include "imageio/CheckedRowWriter.h"
#include "imageio/PixelDensity.h"
#include "imageio/RowWriters.h"
#include "imageio/StraightRows.h"

namespace velo {

namespace {

// Written as Qt's writer writes BMPs: grey as 8 bits through a table of 256
// greys, everything else as 24-bit BGR with alpha undone and dropped; rows
// bottom-up, each padded to four bytes. The header comes first, each band's
// rows then go where they belong.

constexpr std::uint32_t kHeaderBytes = 14 + 40;

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

class BmpRowWriter final : public CheckedRowWriter {
  public:
    BmpRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout, int pixelsHigh)
        : CheckedRowWriter(std::move(sink), layout, pixelsHigh),
          rows_(layout.pixelsWide(), layout.samplesPerPixel()), grey_(rows_.channels() == 1),
          rowBytes_(((static_cast<std::size_t>(layout.pixelsWide()) * (grey_ ? 8 : 24) + 31) / 32) *
                    4),
          row_(rowBytes_, 0) {}

    bool start(Size pointSize);

  protected:
    bool writeRows(const Bitmap& band, int rows) override;
    bool finishRows() override { return true; }

  private:
    std::uint32_t colours() const { return grey_ ? 256 : 0; }
    std::uint64_t pixelOffset() const { return kHeaderBytes + 4 * colours(); }

    StraightRows rows_;
    bool grey_;
    std::size_t rowBytes_;
    std::vector<std::uint8_t> row_;
};

bool BmpRowWriter::start(Size pointSize) {
    DotsPerMeter dots = dotsPerMeterFor(pixelsWide(), pixelsHigh(), pointSize);
    auto imageBytes = static_cast<std::uint32_t>(rowBytes_ * pixelsHigh());
    std::vector<std::uint8_t> header = {'B', 'M'};
    putLittleEndian(header, static_cast<std::uint32_t>(pixelOffset()) + imageBytes, 4);
    putLittleEndian(header, 0, 4);
    putLittleEndian(header, static_cast<std::uint32_t>(pixelOffset()), 4);
    putLittleEndian(header, 40, 4);
    putLittleEndian(header, static_cast<std::uint32_t>(pixelsWide()), 4);
    putLittleEndian(header, static_cast<std::uint32_t>(pixelsHigh()), 4);
    putLittleEndian(header, 1, 2);
    putLittleEndian(header, grey_ ? 8 : 24, 2);
    putLittleEndian(header, 0, 4);
    putLittleEndian(header, imageBytes, 4);
    putLittleEndian(header, static_cast<std::uint32_t>(dots.x ? dots.x : 2834), 4);
    putLittleEndian(header, static_cast<std::uint32_t>(dots.y ? dots.y : 2834), 4);
    putLittleEndian(header, colours(), 4);
    putLittleEndian(header, colours(), 4);
    for (std::uint32_t i = 0; i < colours(); ++i) {
        header.insert(header.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                                     static_cast<std::uint8_t>(i), 0});
    }
    return sink().append(header);
}

bool BmpRowWriter::writeRows(const Bitmap& band, int rows) {
    int channels = rows_.channels();
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* row = rows_.row(band, y);
        for (int x = 0; x < pixelsWide(); ++x) {
            if (grey_) {
                row_[x] = row[x];
            } else {
                row_[3 * x] = row[channels * x + 2];
                row_[3 * x + 1] = row[channels * x + 1];
                row_[3 * x + 2] = row[channels * x];
            }
        }
        int fromBottom = pixelsHigh() - 1 - (rowsWritten() + y);
        if (!sink().writeAt(pixelOffset() + static_cast<std::uint64_t>(fromBottom) * rowBytes_,
                            row_)) {
            return fail("cannot write the BMP");
        }
    }
    return true;
}

} // namespace

std::unique_ptr<RowWriter> openBmpRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                            int pixelsHigh, Size pointSize) {
    auto writer = std::make_unique<BmpRowWriter>(std::move(sink), layout, pixelsHigh);
    if (!writer->start(pointSize)) {
        return nullptr;
    }
    return writer;
}

} // namespace velo
