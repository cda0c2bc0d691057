#pragma once

#include "platform/IccProfile.h"

#include <QImage>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <lcms2.h>
#include <memory>

namespace velo::test {

// An Adobe RGB (1998)-compatible profile from Debian's icc-profiles-free;
// empty when the package is not installed.
inline IccProfile wideGamutProfile() {
    std::ifstream file(VELO_WIDE_GAMUT_PROFILE, std::ios::binary);
    return IccProfile(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline IccProfile savedProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    IccProfile bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

inline cmsHPROFILE openProfile(const IccProfile* profile) {
    return profile ? cmsOpenProfileFromMem(profile->data(), profile->size())
                   : cmsCreate_sRGBProfile();
}

// A display profile of the same colours as `matrix` built of a lookup table
// alone, as calibration software writes them: one Qt 6.4 cannot read.
inline IccProfile lookupTableProfile(const IccProfile& matrix) {
    cmsHPROFILE source = openProfile(&matrix);
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab = cmsCreateTransform(source, TYPE_RGB_16, lab, TYPE_Lab_16,
                                             INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE);
    cmsStage* table = cmsStageAllocCLut16bit(nullptr, 17, 3, 3, nullptr);
    cmsStageSampleCLut16bit(
        table,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void* transform) -> cmsInt32Number {
            cmsDoTransform(transform, in, out, 1);
            return TRUE;
        },
        toLab, 0);
    // The curves around the table are what the ICC's lutAtoB type asks for.
    cmsToneCurve* identity = cmsBuildGamma(nullptr, 1.0);
    cmsToneCurve* curves[3] = {identity, identity, identity};
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 3, 3);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, curves));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, curves));
    cmsFreeToneCurve(identity);
    cmsHPROFILE built = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(built, 4.3);
    cmsSetDeviceClass(built, cmsSigDisplayClass);
    cmsSetColorSpace(built, cmsSigRgbData);
    cmsSetPCS(built, cmsSigLabData);
    cmsWriteTag(built, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(built, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(source);
    return savedProfile(built);
}

// Little CMS's perceptual conversion of straight 8-bit RGB values from one
// profile to another (null: sRGB). Precise: in 16 bits without its shortcuts,
// what a matrix profile's view is held to. Otherwise its own 8-bit transform,
// whose tables for profiles of lookup tables are coarser than a level.
class ReferenceConversion {
  public:
    enum Precision { Precise, EightBit };
    ReferenceConversion(const IccProfile* from, const IccProfile* to, Precision precision = Precise)
        : precise_(precision == Precise) {
        cmsHPROFILE source = openProfile(from), target = openProfile(to);
        cmsUInt32Number format = precise_ ? TYPE_RGB_16 : TYPE_RGB_8;
        transform_.reset(cmsCreateTransform(source, format, target, format, INTENT_PERCEPTUAL,
                                            precise_ ? cmsFLAGS_NOOPTIMIZE : 0));
        cmsCloseProfile(source);
        cmsCloseProfile(target);
    }
    QRgb operator()(QRgb straight) const {
        int channels[3] = {qRed(straight), qGreen(straight), qBlue(straight)};
        cmsUInt16Number wide[3];
        std::uint8_t narrow[3];
        for (int k = 0; k < 3; ++k) {
            wide[k] = static_cast<cmsUInt16Number>(channels[k] * 257);
            narrow[k] = static_cast<std::uint8_t>(channels[k]);
        }
        if (precise_) {
            cmsDoTransform(transform_.get(), wide, wide, 1);
            for (int k = 0; k < 3; ++k) {
                channels[k] = (wide[k] + 128) / 257;
            }
        } else {
            cmsDoTransform(transform_.get(), narrow, narrow, 1);
            std::copy_n(narrow, 3, channels);
        }
        return qRgba(channels[0], channels[1], channels[2], qAlpha(straight));
    }

  private:
    bool precise_;
    std::unique_ptr<void, decltype(&cmsDeleteTransform)> transform_{nullptr, cmsDeleteTransform};
};

// The largest difference of any channel of two images of one size.
inline int largestDifference(const QImage& a, const QImage& b) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return most;
}

} // namespace velo::test
