#pragma once

#include "platform/ColorSpaces.h"
#include "platform/Geometry.h"
#include "platform/IccProfile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velo {

// A pixel buffer of 8-bit or 16-bit samples, 1 to 4 per pixel, meshed
// (interleaved) or planar, rows stored top row first. 16-bit samples are
// native-endian std::uint16_t. With 2 or 4 samples the last one is alpha and
// the colour samples are premultiplied by it.
class Bitmap {
  public:
    static constexpr int kMaxPlanes = 5;

    // bytesPerRow and bitsPerPixel of 0 mean "compute them". Throws
    // std::invalid_argument for a layout this class cannot hold and
    // std::bad_alloc when the pixels cannot be allocated.
    Bitmap(int pixelsWide, int pixelsHigh, int samplesPerPixel, bool hasAlpha, bool isPlanar,
           std::string colorSpaceName, int bytesPerRow = 0, int bitsPerPixel = 0,
           int bitsPerSample = 8);

    // A copy with pixels of its own.
    std::shared_ptr<Bitmap> copy() const;

    int pixelsWide() const { return pixelsWide_; }
    int pixelsHigh() const { return pixelsHigh_; }
    int bitsPerSample() const { return bitsPerSample_; }
    int bytesPerSample() const { return bitsPerSample_ / 8; }
    bool isDeep() const { return bitsPerSample_ == 16; }
    int samplesPerPixel() const { return samplesPerPixel_; }
    bool hasAlpha() const { return hasAlpha_; }
    bool isPlanar() const { return isPlanar_; }
    int bytesPerRow() const { return bytesPerRow_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    int numberOfPlanes() const { return isPlanar_ ? samplesPerPixel_ : 1; }
    const std::string& colorSpaceName() const { return colorSpaceName_; }

    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }

    // The size in points; the pixel size unless the image said otherwise.
    Size size() const { return size_; }
    void setSize(Size size) { size_ = size; }

    // The profile the samples are encoded in, as the file gave it; null for
    // none. Shared by copies, never changed in place.
    const std::shared_ptr<const IccProfile>& iccProfile() const { return iccProfile_; }
    void setIccProfile(std::shared_ptr<const IccProfile> profile) {
        iccProfile_ = std::move(profile);
    }

    std::uint8_t* plane(int index) { return planes_[index].get(); }
    const std::uint8_t* plane(int index) const { return planes_[index].get(); }
    // Row y of a 16-bit plane.
    std::uint16_t* samples16(int planeIndex, int y) {
        return reinterpret_cast<std::uint16_t*>(plane(planeIndex) +
                                                static_cast<std::size_t>(y) * bytesPerRow_);
    }
    const std::uint16_t* samples16(int planeIndex, int y) const {
        return reinterpret_cast<const std::uint16_t*>(plane(planeIndex) +
                                                      static_cast<std::size_t>(y) * bytesPerRow_);
    }
    std::size_t bytesPerPlane() const {
        return static_cast<std::size_t>(bytesPerRow_) * static_cast<std::size_t>(pixelsHigh_);
    }

  private:
    struct Free {
        void operator()(std::uint8_t* p) const;
    };
    using PlaneBuffer = std::unique_ptr<std::uint8_t[], Free>;

    int pixelsWide_;
    int pixelsHigh_;
    int samplesPerPixel_;
    bool hasAlpha_;
    bool isPlanar_;
    std::string colorSpaceName_;
    int bytesPerRow_;
    int bitsPerPixel_;
    int bitsPerSample_;
    bool opaque_ = false;
    Size size_;
    std::shared_ptr<const IccProfile> iccProfile_;
    std::array<PlaneBuffer, kMaxPlanes> planes_;
};

} // namespace velo
