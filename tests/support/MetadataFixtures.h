#pragma once

// Images carrying metadata, made here, and what a file carries read back:
// with Qt and Exiv2 themselves, never through Velo's own code.
#include <QBuffer>
#include <QColorSpace>
#include <QImage>

#include <exiv2/exiv2.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace velo::test {

// What cameraPhoto writes.
inline const std::string kCameraMake = "Velo Optics";
inline const std::string kCameraModel = "Test Body 1";
inline const std::string kTakenAt = "2024:05:17 10:30:00";
inline const std::string kCity = "Berlin";

inline std::vector<std::uint8_t> jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return {bytes.begin(), bytes.end()};
}

inline QImage gradientImage(int wide, int high) {
    QImage image(wide, high, QImage::Format_RGB888);
    for (int y = 0; y < high; ++y) {
        for (int x = 0; x < wide; ++x) {
            image.setPixelColor(x, y, QColor(x * 255 / wide, y * 255 / high, 128));
        }
    }
    return image;
}

inline std::vector<std::uint8_t> contentsOf(Exiv2::BasicIo& io) {
    io.open();
    Exiv2::DataBuf bytes = io.read(static_cast<long>(io.size()));
    io.close();
    return {bytes.pData_, bytes.pData_ + bytes.size_};
}

// A camera's JPEG: wide x high pixels stored sideways (orientation 6), with
// camera fields, a GPS position, its dimensions and a thumbnail in EXIF, the
// orientation again in XMP, a city in IPTC, and a Display P3 profile.
inline std::vector<std::uint8_t> cameraPhoto(int wide, int high) {
    std::vector<std::uint8_t> jpeg = jpegOf(gradientImage(wide, high));
    auto photo = Exiv2::ImageFactory::open(jpeg.data(), static_cast<long>(jpeg.size()));
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = kCameraMake;
    exif["Exif.Image.Model"] = kCameraModel;
    exif["Exif.Photo.DateTimeOriginal"] = kTakenAt;
    exif["Exif.Image.Orientation"] = std::uint16_t{6};
    exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(wide);
    exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(high);
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 125);
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = "52/1 30/1 0/1";
    exif["Exif.GPSInfo.GPSLongitudeRef"] = "W";
    exif["Exif.GPSInfo.GPSLongitude"] = "13/1 24/1 36/1";
    std::vector<std::uint8_t> thumbnail = jpegOf(gradientImage(16, 12));
    Exiv2::ExifThumb(exif).setJpegThumbnail(thumbnail.data(), static_cast<long>(thumbnail.size()),
                                            Exiv2::URational(72, 1), Exiv2::URational(72, 1), 2);
    photo->setExifData(exif);
    Exiv2::XmpData xmp;
    xmp["Xmp.tiff.Orientation"] = "6";
    photo->setXmpData(xmp);
    Exiv2::IptcData iptc;
    iptc["Iptc.Application2.City"] = kCity;
    photo->setIptcData(iptc);
    QByteArray p3 = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    Exiv2::DataBuf profile(reinterpret_cast<const Exiv2::byte*>(p3.constData()),
                           static_cast<long>(p3.size()));
    photo->setIccProfile(profile);
    photo->writeMetadata();
    return contentsOf(photo->io());
}

// Everything Exiv2 reads in a file.
inline Exiv2::Image::AutoPtr metadataOfFile(const std::filesystem::path& file) {
    auto image = Exiv2::ImageFactory::open(file.string());
    image->readMetadata();
    return image;
}

inline std::string exifText(Exiv2::Image& image, const char* key) {
    auto datum = image.exifData().findKey(Exiv2::ExifKey(key));
    return datum == image.exifData().end() ? std::string("(none)") : datum->toString();
}

// The ICC profile a file carries; empty for none.
inline std::vector<std::uint8_t> iccProfileOfFile(const std::filesystem::path& file) {
    auto image = metadataOfFile(file);
    const Exiv2::DataBuf* profile = image->iccProfile();
    return {profile->pData_, profile->pData_ + profile->size_};
}

// The sample images that carry a profile.
inline std::vector<std::filesystem::path> samplesWithProfiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> samples;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".md" && !iccProfileOfFile(entry.path()).empty()) {
            samples.push_back(entry.path());
        }
    }
    return samples;
}

} // namespace velo::test
