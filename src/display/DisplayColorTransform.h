#pragma once

#include "display/DisplayConverterChoice.h"
#include "platform/IccProfile.h"

#include <QColorTransform>
#include <QImage>
#include <memory>

namespace velo {

// The conversion of the view's display copy (ARGB32 premultiplied) from an
// image's ICC profile to the screen's, so that a photo in Adobe RGB or
// Display P3 shows its colours rather than its numbers read as sRGB. Only
// that copy is converted: picking, the readout, export and LUTs keep the
// file's own values.
class DisplayColorTransform {
  public:
    // The conversion from `source` to `screen` (either null: sRGB), made once
    // per pair of profiles and then shared; null where the values need no
    // conversion (one colour space) or cannot have one (a broken profile, or
    // one that is not RGB).
    static std::shared_ptr<const DisplayColorTransform> between(const IccProfile* source,
                                                                const IccProfile* screen);

    DisplayConverter converter() const { return converter_; }
    // Converts rows [rowBegin, rowEnd) of the display image in place.
    void apply(QImage& display, int rowBegin, int rowEnd) const;

    DisplayColorTransform(QColorTransform qt)
        : converter_(DisplayConverter::Qt), qt_(std::move(qt)) {}
    DisplayColorTransform(std::shared_ptr<void> littleCms)
        : converter_(DisplayConverter::LittleCms), littleCms_(std::move(littleCms)) {}

  private:
    // Rows of a display image, in memory the caller owns.
    struct Rows {
        uchar* first;
        int width, count;
        qsizetype bytesPerLine;
    };
    void applyToBand(Rows rows) const;
    void applyLittleCms(Rows rows) const;

    DisplayConverter converter_;
    QColorTransform qt_;
    std::shared_ptr<void> littleCms_; // a cmsHTRANSFORM
};

} // namespace velo
