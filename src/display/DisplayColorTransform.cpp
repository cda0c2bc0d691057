#include "display/DisplayColorTransform.h"

#include "platform/TaskPool.h"

#include <QColorSpace>
#include <algorithm>
#include <lcms2.h>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace velo {

namespace {

// QImage's ARGB32 is one native-endian word a pixel.
constexpr cmsUInt32Number kDisplayFormat =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TYPE_BGRA_8 : TYPE_ARGB_8;
// Perceptual, as colour managers show photos; matrix profiles (Qt's share)
// have no perceptual table, so there the result is colorimetric either way.
constexpr cmsUInt32Number kIntent = INTENT_PERCEPTUAL;
// Pairs seen by this process are few (an image's profile, one screen); a
// full cache starts again rather than growing with every image opened.
constexpr std::size_t kMostCached = 16;
// A whole screen's worth of pixels takes about 11 ms on one core, most of a
// frame; a band of this many pixels is worth handing to another core.
constexpr qsizetype kBandPixels = 200000;

using Profiles = std::pair<IccProfile, IccProfile>;

QByteArray bytesOf(const IccProfile* profile) {
    return QByteArray(reinterpret_cast<const char*>(profile->data()),
                      static_cast<qsizetype>(profile->size()));
}

QColorSpace qtSpace(const IccProfile* profile) {
    return profile ? QColorSpace::fromIccProfile(bytesOf(profile)) : QColorSpace(QColorSpace::SRgb);
}

std::shared_ptr<void> littleCmsProfile(const IccProfile* profile) {
    cmsHPROFILE opened =
        profile
            ? cmsOpenProfileFromMem(profile->data(), static_cast<cmsUInt32Number>(profile->size()))
            : cmsCreate_sRGBProfile();
    return opened ? std::shared_ptr<void>(opened, cmsCloseProfile) : nullptr;
}

bool isRgb(const std::shared_ptr<void>& profile) {
    return profile && cmsGetColorSpace(profile.get()) == cmsSigRgbData;
}

std::shared_ptr<void> littleCmsTransform(const std::shared_ptr<void>& source,
                                         const std::shared_ptr<void>& screen) {
    cmsHTRANSFORM transform = cmsCreateTransform(source.get(), kDisplayFormat, screen.get(),
                                                 kDisplayFormat, kIntent, cmsFLAGS_COPY_ALPHA);
    return transform ? std::shared_ptr<void>(transform, cmsDeleteTransform) : nullptr;
}

std::shared_ptr<const DisplayColorTransform> make(const IccProfile* source,
                                                  const IccProfile* screen) {
    QColorSpace qtSource = qtSpace(source), qtScreen = qtSpace(screen);
    std::shared_ptr<void> cmsSource = littleCmsProfile(source);
    std::shared_ptr<void> cmsScreen = littleCmsProfile(screen);
    bool sameBytes = (!source && !screen) || (source && screen && *source == *screen);
    bool sameSpace = sameBytes || (qtSource.isValid() && qtSource == qtScreen);
    DisplayConverter converter = chooseDisplayConverter(
        sameSpace, {isRgb(cmsSource), qtSource.isValid(), cmsSource != nullptr},
        {isRgb(cmsScreen), qtScreen.isValid(), cmsScreen != nullptr});
    if (converter == DisplayConverter::Qt) {
        QColorTransform transform = qtSource.transformationToColorSpace(qtScreen);
        // Qt computes its tables on first use; once here, before threads share
        // them. Its pixel must be valid: Qt reads past its tables for a
        // premultiplied colour above its alpha.
        QImage first(1, 1, QImage::Format_ARGB32_Premultiplied);
        first.fill(Qt::black);
        first.applyColorTransform(transform);
        return std::make_shared<DisplayColorTransform>(std::move(transform));
    }
    if (converter == DisplayConverter::LittleCms) {
        if (std::shared_ptr<void> transform = littleCmsTransform(cmsSource, cmsScreen)) {
            return std::make_shared<DisplayColorTransform>(std::move(transform));
        }
    }
    return nullptr;
}

} // namespace

std::shared_ptr<const DisplayColorTransform>
DisplayColorTransform::between(const IccProfile* source, const IccProfile* screen) {
    // An empty profile is none.
    source = source && !source->empty() ? source : nullptr;
    screen = screen && !screen->empty() ? screen : nullptr;
    static std::mutex mutex;
    static std::map<Profiles, std::shared_ptr<const DisplayColorTransform>> cache;
    Profiles key{source ? *source : IccProfile(), screen ? *screen : IccProfile()};
    std::lock_guard lock(mutex);
    if (auto found = cache.find(key); found != cache.end()) {
        return found->second;
    }
    if (cache.size() >= kMostCached) {
        cache.clear();
    }
    return cache[std::move(key)] = make(source, screen);
}

void DisplayColorTransform::apply(QImage& display, int rowBegin, int rowEnd) const {
    rowBegin = std::max(rowBegin, 0);
    rowEnd = std::min(rowEnd, display.height());
    if (rowEnd <= rowBegin) {
        return;
    }
    // Bands on several cores when there are many pixels; the image is
    // detached here, once, and the bands only write their own rows.
    Rows all{display.bits() + rowBegin * display.bytesPerLine(), display.width(), rowEnd - rowBegin,
             display.bytesPerLine()};
    TaskPool& pool = TaskPool::shared();
    qsizetype pixels = static_cast<qsizetype>(all.count) * all.width;
    int bands = static_cast<int>(
        std::clamp<qsizetype>(pixels / kBandPixels, 1, static_cast<qsizetype>(pool.threads())));
    pool.runInBands(all.count, bands, [&](int first, int end) {
        applyToBand(
            Rows{all.first + first * all.bytesPerLine, all.width, end - first, all.bytesPerLine});
    });
}

void DisplayColorTransform::applyToBand(Rows rows) const {
    if (converter_ == DisplayConverter::LittleCms) {
        applyLittleCms(rows);
        return;
    }
    // Qt undoes and redoes the premultiplication.
    QImage image(rows.first, rows.width, rows.count, rows.bytesPerLine,
                 QImage::Format_ARGB32_Premultiplied);
    image.applyColorTransform(qt_);
}

// Opaque rows convert in place. Little CMS converts premultiplied pixels only
// by a path several times slower, so rows with translucent pixels are
// unpremultiplied into a scratch row, converted and premultiplied again.
void DisplayColorTransform::applyLittleCms(Rows rows) const {
    auto width = static_cast<cmsUInt32Number>(rows.width);
    std::vector<QRgb> straight;
    for (int row = 0; row < rows.count; ++row) {
        auto* line = reinterpret_cast<QRgb*>(rows.first + row * rows.bytesPerLine);
        if (std::all_of(line, line + width, [](QRgb p) { return qAlpha(p) == 255; })) {
            cmsDoTransform(littleCms_.get(), line, line, width);
            continue;
        }
        straight.resize(width);
        std::transform(line, line + width, straight.begin(),
                       [](QRgb p) { return qUnpremultiply(p); });
        cmsDoTransform(littleCms_.get(), straight.data(), straight.data(), width);
        std::transform(straight.begin(), straight.end(), line,
                       [](QRgb p) { return qPremultiply(p); });
    }
}

} // namespace velo
