#pragma once

#include "platform/IccProfile.h"
#include "platform/Image.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velo {

// What an image file says besides its pixels: its colour profile and its
// EXIF, XMP and IPTC. Never changed once made, so it is shared freely.
class ImageMetadata {
  public:
    struct Field {
        std::string name;
        std::string value;
    };
    // The EXIF, XMP and IPTC, in the library's own terms (behind this file).
    struct Tags;

    // What an encoded image carries; null when it carries none of it or its
    // metadata cannot be read (logged unless the format is not one known).
    static std::shared_ptr<const ImageMetadata> read(std::span<const std::uint8_t> bytes);
    // The same from a file, reading only the parts that hold it.
    static std::shared_ptr<const ImageMetadata> readFile(const std::filesystem::path& file);
    // A profile alone (null for none).
    explicit ImageMetadata(std::shared_ptr<const IccProfile> profile);
    ImageMetadata(std::shared_ptr<const Tags> tags, std::shared_ptr<const IccProfile> profile);
    ~ImageMetadata();

    // The same EXIF, XMP and IPTC with another profile.
    std::shared_ptr<const ImageMetadata>
    withIccProfile(std::shared_ptr<const IccProfile> profile) const;

    const std::shared_ptr<const IccProfile>& iccProfile() const { return iccProfile_; }
    const Tags* tags() const { return tags_.get(); }
    bool isEmpty() const { return !tags_ && !iccProfile_; }

    // Make, Model, DateTimeOriginal, ExposureTime, FNumber, ISOSpeedRatings,
    // FocalLength, Orientation, GPSPosition and Copyright: those present, in
    // that order, as readable text.
    std::vector<Field> mainExifFields() const;

  private:
    std::shared_ptr<const Tags> tags_;
    std::shared_ptr<const IccProfile> iccProfile_;
};

// Gives a freshly decoded image what the bytes it came from carry: the
// metadata, and the profile to its bitmaps, rendered ones included.
void attachImageMetadata(Image& image, std::span<const std::uint8_t> bytes);

// Writes metadata into an encoded JPEG, PNG or TIFF whose pixels are upright
// and pixelsWide x pixelsHigh: the profile unchanged, the EXIF, XMP and IPTC
// with the orientation 1, these dimensions and no thumbnail. The file's own
// layout tags stay. Other formats are left as they are. On failure the
// reason, and the image as it was.
std::optional<std::string> writeImageMetadata(std::vector<std::uint8_t>& encoded,
                                              const ImageMetadata& metadata, int pixelsWide,
                                              int pixelsHigh);
std::optional<std::string> writeImageMetadata(const std::filesystem::path& file,
                                              const ImageMetadata& metadata, int pixelsWide,
                                              int pixelsHigh);

} // namespace velo
