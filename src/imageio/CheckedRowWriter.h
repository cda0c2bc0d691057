#pragma once

#include "imageio/RowCodec.h"

namespace velo {

// What every row writer checks: bands of the layout it was opened with, no
// more rows than the image has, all of them before the end; and how it
// fails: once, keeping the first reason.
class CheckedRowWriter : public RowWriter {
  public:
    CheckedRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout, int pixelsHigh);

    bool write(const Bitmap& band, int rows) final;
    std::optional<std::string> finish() final;
    const std::string& error() const final { return error_; }

  protected:
    // The band's first rows, already checked; false after fail().
    virtual bool writeRows(const Bitmap& band, int rows) = 0;
    // Whatever follows the last row.
    virtual bool finishRows() = 0;

    bool fail(std::string why);
    ByteSink& sink() { return *sink_; }
    int pixelsWide() const { return pixelsWide_; }
    int pixelsHigh() const { return pixelsHigh_; }
    int samplesPerPixel() const { return samples_; }
    int bitsPerSample() const { return bitsPerSample_; }
    int rowsWritten() const { return rowsWritten_; }

  private:
    std::shared_ptr<ByteSink> sink_;
    int pixelsWide_;
    int pixelsHigh_;
    int samples_;
    int bitsPerSample_;
    bool hasAlpha_;
    int rowsWritten_ = 0;
    bool finished_ = false;
    std::string error_;
};

} // namespace velo
