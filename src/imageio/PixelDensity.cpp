#include "imageio/PixelDensity.h"

#include <QImage>

#include <cmath>

namespace velo {

// Qt's default depends on the kind of application (100 dpi without a GUI, the
// screen's otherwise), so it is asked, not assumed.
int qtDefaultDotsPerMeter() {
    return QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
}

namespace {

double points(int pixels, int dotsPerMeter) {
    if (dotsPerMeter <= 0 || dotsPerMeter == qtDefaultDotsPerMeter()) {
        return static_cast<double>(pixels);
    }
    // Files store whole dots per inch; dots per metre lose a little.
    double dpi = dotsPerMeter * 0.0254;
    if (std::abs(dpi - std::round(dpi)) < 0.05) {
        dpi = std::round(dpi);
    }
    return pixels * 72.0 / dpi;
}

// A QImage keeps its resolution when asked to take none.
int dotsPerMeter(int pixels, double points) {
    int dots = static_cast<int>(std::lround(72.0 / 0.0254 * pixels / points));
    return dots != 0 ? dots : qtDefaultDotsPerMeter();
}

} // namespace

Size pointSizeFor(int pixelsWide, int pixelsHigh, int dotsPerMeterX, int dotsPerMeterY) {
    return {points(pixelsWide, dotsPerMeterX), points(pixelsHigh, dotsPerMeterY)};
}

DotsPerMeter dotsPerMeterFor(int pixelsWide, int pixelsHigh, Size pointSize) {
    if (pointSize.width > 0 && pointSize.height > 0) {
        return {dotsPerMeter(pixelsWide, pointSize.width),
                dotsPerMeter(pixelsHigh, pointSize.height)};
    }
    return {qtDefaultDotsPerMeter(), qtDefaultDotsPerMeter()};
}

} // namespace velo
