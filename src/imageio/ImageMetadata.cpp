#include "imageio/ImageMetadata.h"

#include "imageio/ExivSupport.h"
#include "platform/Log.h"

#include <cstdio>
#include <mutex>
#include <set>

namespace velo {

namespace {

// Tags that describe how the source's own pixels are stored, or repeat the
// profile, XMP and IPTC kept apart: the output writes its own.
bool describesSourceEncoding(const Exiv2::Exifdatum& datum) {
    // clang-format off
    static const std::set<std::string> layoutTags = {
        "ImageWidth", "ImageLength", "BitsPerSample", "Compression", "PhotometricInterpretation",
        "FillOrder", "StripOffsets", "SamplesPerPixel", "RowsPerStrip", "StripByteCounts",
        "PlanarConfiguration", "Predictor", "TileWidth", "TileLength", "TileOffsets",
        "TileByteCounts", "ExtraSamples", "SampleFormat", "SubIFDs", "JPEGTables",
        "NewSubfileType", "SubfileType", "ColorMap", "InterColorProfile", "XMLPacket", "IPTCNAA"};
    // clang-format on
    std::string group = datum.groupName();
    if (group == "Image") {
        return layoutTags.count(datum.tagName()) != 0;
    }
    // Further pages and their reductions.
    return group == "Image2" || group == "Image3" || group.rfind("SubImage", 0) == 0;
}

std::shared_ptr<const ImageMetadata> metadataOf(Exiv2::Image& image) {
    auto tags = std::make_shared<ImageMetadata::Tags>();
    for (const Exiv2::Exifdatum& datum : image.exifData()) {
        if (!describesSourceEncoding(datum)) {
            tags->exif.add(datum);
        }
    }
    tags->xmp = image.xmpData();
    tags->iptc = image.iptcData();
    std::shared_ptr<const IccProfile> profile;
    if (image.iccProfileDefined()) {
        const Exiv2::DataBuf* icc = image.iccProfile();
        profile = std::make_shared<const IccProfile>(icc->pData_, icc->pData_ + icc->size_);
    }
    bool hasTags = !tags->exif.empty() || !tags->xmp.empty() || !tags->iptc.empty();
    if (!hasTags && !profile) {
        return nullptr;
    }
    return std::make_shared<const ImageMetadata>(hasTags ? std::move(tags) : nullptr,
                                                 std::move(profile));
}

std::optional<std::string> printed(const Exiv2::ExifData& exif, const char* key) {
    auto datum = exif.findKey(Exiv2::ExifKey(key));
    if (datum == exif.end()) {
        return std::nullopt;
    }
    std::string text = datum->print(&exif);
    text.erase(text.find_last_not_of(std::string(" \t\0", 3)) + 1);
    return text.empty() ? std::nullopt : std::optional(text);
}

// Degrees from three rationals, south and west negative.
std::optional<double> degrees(const Exiv2::ExifData& exif, const char* key, const char* refKey,
                              char negativeRef) {
    auto datum = exif.findKey(Exiv2::ExifKey(key));
    if (datum == exif.end() || datum->count() != 3) {
        return std::nullopt;
    }
    double value = 0;
    double unit = 1;
    for (long i = 0; i < 3; ++i, unit *= 60) {
        Exiv2::Rational part = datum->toRational(i);
        if (part.second == 0) {
            return std::nullopt;
        }
        value += static_cast<double>(part.first) / part.second / unit;
    }
    auto ref = exif.findKey(Exiv2::ExifKey(refKey));
    bool negative = ref != exif.end() && ref->toString().rfind(negativeRef, 0) == 0;
    return negative ? -value : value;
}

std::optional<std::string> gpsPosition(const Exiv2::ExifData& exif) {
    std::optional<double> latitude =
        degrees(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", 'S');
    std::optional<double> longitude =
        degrees(exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", 'W');
    if (!latitude || !longitude) {
        return std::nullopt;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.6f, %.6f", *latitude, *longitude);
    return text;
}

void lockXmp(void* mutex, bool lock) {
    if (lock) {
        static_cast<std::mutex*>(mutex)->lock();
    } else {
        static_cast<std::mutex*>(mutex)->unlock();
    }
}

} // namespace

// Once per process: failures reach the log through the errors Exiv2 throws,
// not its own printing; the XMP toolkit is made safe for several threads.
void setUpExiv2() {
    static std::once_flag once;
    static std::mutex xmpMutex;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmp, &xmpMutex);
    });
}

ImageMetadata::ImageMetadata(std::shared_ptr<const IccProfile> profile)
    : iccProfile_(std::move(profile)) {}

ImageMetadata::ImageMetadata(std::shared_ptr<const Tags> tags,
                             std::shared_ptr<const IccProfile> profile)
    : tags_(std::move(tags)), iccProfile_(std::move(profile)) {}

ImageMetadata::~ImageMetadata() = default;

std::shared_ptr<const ImageMetadata>
ImageMetadata::withIccProfile(std::shared_ptr<const IccProfile> profile) const {
    return std::make_shared<const ImageMetadata>(tags_, std::move(profile));
}

namespace {

// Opens with Exiv2 and reads; null for a format Exiv2 does not know.
template <typename Open> std::shared_ptr<const ImageMetadata> readWith(int imageType, Open open) {
    if (imageType == Exiv2::ImageType::none) {
        return nullptr;
    }
    auto image = open();
    image->readMetadata();
    return metadataOf(*image);
}

void logReadingFailure(const std::exception& e) {
    logMessage(std::string("the image's metadata cannot be read: ") + e.what());
}

} // namespace

std::shared_ptr<const ImageMetadata> ImageMetadata::read(std::span<const std::uint8_t> bytes) {
    setUpExiv2();
    try {
        auto size = static_cast<long>(bytes.size());
        return readWith(Exiv2::ImageFactory::getType(bytes.data(), size),
                        [&] { return Exiv2::ImageFactory::open(bytes.data(), size); });
    } catch (const std::exception& e) {
        logReadingFailure(e);
        return nullptr;
    }
}

std::shared_ptr<const ImageMetadata> ImageMetadata::readFile(const std::filesystem::path& file) {
    setUpExiv2();
    try {
        return readWith(Exiv2::ImageFactory::getType(file.string()),
                        [&] { return Exiv2::ImageFactory::open(file.string(), false); });
    } catch (const std::exception& e) {
        logReadingFailure(e);
        return nullptr;
    }
}

std::vector<ImageMetadata::Field> ImageMetadata::mainExifFields() const {
    std::vector<Field> fields;
    if (!tags_) {
        return fields;
    }
    const Exiv2::ExifData& exif = tags_->exif;
    auto add = [&](const char* name, std::optional<std::string> value) {
        if (value) {
            fields.push_back({name, std::move(*value)});
        }
    };
    add("Make", printed(exif, "Exif.Image.Make"));
    add("Model", printed(exif, "Exif.Image.Model"));
    add("DateTimeOriginal", printed(exif, "Exif.Photo.DateTimeOriginal"));
    add("ExposureTime", printed(exif, "Exif.Photo.ExposureTime"));
    add("FNumber", printed(exif, "Exif.Photo.FNumber"));
    add("ISOSpeedRatings", printed(exif, "Exif.Photo.ISOSpeedRatings"));
    add("FocalLength", printed(exif, "Exif.Photo.FocalLength"));
    add("Orientation", printed(exif, "Exif.Image.Orientation"));
    add("GPSPosition", gpsPosition(exif));
    add("Copyright", printed(exif, "Exif.Image.Copyright"));
    return fields;
}

void attachImageMetadata(Image& image, std::span<const std::uint8_t> bytes) {
    image.metadata = ImageMetadata::read(bytes);
    std::shared_ptr<const IccProfile> profile =
        image.metadata ? image.metadata->iccProfile() : nullptr;
    if (!profile) {
        return;
    }
    for (ImageRep& rep : image.representations) {
        if (rep.bitmap) {
            rep.bitmap->setIccProfile(profile);
        }
    }
    if (image.renderer) {
        image.renderer = [render = std::move(image.renderer), profile](int wide, int high) {
            std::shared_ptr<Bitmap> bitmap = render(wide, high);
            if (bitmap) {
                bitmap->setIccProfile(profile);
            }
            return bitmap;
        };
    }
}

} // namespace velo
