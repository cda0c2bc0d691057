// Writing a source's metadata into an encoded output.
#include "imageio/ExivSupport.h"
#include "imageio/ImageMetadata.h"

#include <algorithm>
#include <stdexcept>

namespace velo {

namespace {

bool carriesMetadata(int imageType) {
    return imageType == Exiv2::ImageType::jpeg || imageType == Exiv2::ImageType::png ||
           imageType == Exiv2::ImageType::tiff;
}

template <typename Value>
void setWherePresent(Exiv2::ExifData& exif, const char* key, Value value) {
    auto datum = exif.findKey(Exiv2::ExifKey(key));
    if (datum != exif.end()) {
        *datum = value;
    }
}

void setWherePresent(Exiv2::XmpData& xmp, const char* key, long value) {
    auto datum = xmp.findKey(Exiv2::XmpKey(key));
    if (datum != xmp.end()) {
        datum->setValue(std::to_string(value));
    }
}

// The output's own tags (a TIFF's layout and resolution) win over the
// source's; the pixels are already turned and may be another size.
Exiv2::ExifData mergedExif(const Exiv2::ExifData& own, const Exiv2::ExifData& source, int wide,
                           int high) {
    Exiv2::ExifData exif = own;
    for (const Exiv2::Exifdatum& datum : source) {
        if (exif.findKey(Exiv2::ExifKey(datum.key())) == exif.end()) {
            exif.add(datum);
        }
    }
    setWherePresent(exif, "Exif.Image.Orientation", std::uint16_t{1});
    setWherePresent(exif, "Exif.Photo.PixelXDimension", static_cast<std::uint32_t>(wide));
    setWherePresent(exif, "Exif.Photo.PixelYDimension", static_cast<std::uint32_t>(high));
    // It would show the old colours.
    Exiv2::ExifThumb(exif).erase();
    return exif;
}

Exiv2::XmpData updatedXmp(Exiv2::XmpData xmp, int wide, int high) {
    setWherePresent(xmp, "Xmp.tiff.Orientation", 1);
    setWherePresent(xmp, "Xmp.tiff.ImageWidth", wide);
    setWherePresent(xmp, "Xmp.tiff.ImageLength", high);
    setWherePresent(xmp, "Xmp.exif.PixelXDimension", wide);
    setWherePresent(xmp, "Xmp.exif.PixelYDimension", high);
    return xmp;
}

bool holdsProfile(Exiv2::Image& image, const IccProfile& profile) {
    const Exiv2::DataBuf* held = image.iccProfile();
    return image.iccProfileDefined() && static_cast<std::size_t>(held->size_) == profile.size() &&
           std::equal(profile.begin(), profile.end(), held->pData_);
}

// Whether it had anything to write. Throws Exiv2's errors.
bool writeInto(Exiv2::Image& image, const ImageMetadata& metadata, int wide, int high) {
    image.readMetadata();
    const std::shared_ptr<const IccProfile>& profile = metadata.iccProfile();
    if (!metadata.tags() && (!profile || holdsProfile(image, *profile))) {
        return false; // a TIFF whose encoder wrote the profile
    }
    if (const ImageMetadata::Tags* tags = metadata.tags()) {
        image.setExifData(mergedExif(image.exifData(), tags->exif, wide, high));
        image.setXmpData(updatedXmp(tags->xmp, wide, high));
        image.setIptcData(tags->iptc);
    }
    if (profile) {
        Exiv2::DataBuf icc(profile->data(), static_cast<long>(profile->size()));
        image.setIccProfile(icc, false);
    }
    image.writeMetadata();
    return true;
}

std::vector<std::uint8_t> contentsOf(Exiv2::BasicIo& io) {
    if (io.open() != 0) {
        throw std::runtime_error("the written image cannot be read back");
    }
    Exiv2::DataBuf bytes = io.read(static_cast<long>(io.size()));
    io.close();
    return {bytes.pData_, bytes.pData_ + bytes.size_};
}

std::string writingFailure(const std::exception& e) {
    return std::string("the image's metadata cannot be written: ") + e.what();
}

} // namespace

std::optional<std::string> writeImageMetadata(std::vector<std::uint8_t>& encoded,
                                              const ImageMetadata& metadata, int pixelsWide,
                                              int pixelsHigh) {
    setUpExiv2();
    try {
        auto size = static_cast<long>(encoded.size());
        if (!carriesMetadata(Exiv2::ImageFactory::getType(encoded.data(), size))) {
            return std::nullopt;
        }
        auto image = Exiv2::ImageFactory::open(encoded.data(), size);
        if (writeInto(*image, metadata, pixelsWide, pixelsHigh)) {
            encoded = contentsOf(image->io());
        }
        return std::nullopt;
    } catch (const std::exception& e) {
        return writingFailure(e);
    }
}

std::optional<std::string> writeImageMetadata(const std::filesystem::path& file,
                                              const ImageMetadata& metadata, int pixelsWide,
                                              int pixelsHigh) {
    setUpExiv2();
    try {
        if (!carriesMetadata(Exiv2::ImageFactory::getType(file.string()))) {
            return std::nullopt;
        }
        auto image = Exiv2::ImageFactory::open(file.string(), false);
        writeInto(*image, metadata, pixelsWide, pixelsHigh);
        return std::nullopt;
    } catch (const std::exception& e) {
        return writingFailure(e);
    }
}

} // namespace velo
