#include "imageio/TiffCodec.h"

#include "imageio/ImageMemoryLimit.h"
#include "imageio/TiffMemory.h"
#include "imageio/TiffTags.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace velo {

namespace {

std::shared_ptr<const IccProfile> readIccProfile(TIFF* tiff) {
    std::uint32_t count = 0;
    const std::uint8_t* data = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &count, &data) || !data || count == 0) {
        return nullptr;
    }
    return std::make_shared<const IccProfile>(data, data + count);
}

// The bytes of one row of one plane, without padding.
std::size_t rowBytes(const Bitmap& bitmap) {
    return static_cast<std::size_t>(bitmap.pixelsWide()) * bitmap.bytesPerSample() *
           (bitmap.isPlanar() ? 1 : bitmap.samplesPerPixel());
}

bool writeRows(TIFF* tiff, const Bitmap& bitmap) {
    std::vector<std::uint8_t> row(rowBytes(bitmap));
    for (int plane = 0; plane < bitmap.numberOfPlanes(); ++plane) {
        for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
            const std::uint8_t* from =
                bitmap.plane(plane) + static_cast<std::size_t>(y) * bitmap.bytesPerRow();
            const std::size_t pixelBytes =
                static_cast<std::size_t>(bitmap.samplesPerPixel()) * bitmap.bytesPerSample();
            const std::size_t step = static_cast<std::size_t>(bitmap.bitsPerPixel()) / 8;
            if (!bitmap.isPlanar() && step != pixelBytes) {
                // Pixels carrying padding bits: gather the samples.
                for (int x = 0; x < bitmap.pixelsWide(); ++x) {
                    std::memcpy(&row[x * pixelBytes], from + x * step, pixelBytes);
                }
            } else {
                std::memcpy(row.data(), from, row.size());
            }
            if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y),
                                  static_cast<std::uint16_t>(plane)) < 0) {
                return false;
            }
        }
    }
    return true;
}

DecodedBitmap decodeTiffPages(std::span<const std::uint8_t> bytes);

} // namespace

EncodedData encodeTiff(const Bitmap& bitmap) {
    MemoryFile file;
    file.writing = true;
    TiffHandle tiff(openMemory(file, "w"));
    if (!tiff) {
        return {std::nullopt, tiffError("cannot start a TIFF")};
    }
    writeTiffTags(tiff.get(), {bitmap.pixelsWide(), bitmap.pixelsHigh(), bitmap.samplesPerPixel(),
                               bitmap.bitsPerSample(), bitmap.hasAlpha(), bitmap.isPlanar(),
                               bitmap.size(), bitmap.iccProfile()});
    if (!writeRows(tiff.get(), bitmap) || !TIFFWriteDirectory(tiff.get())) {
        return {std::nullopt, tiffError("cannot encode the TIFF")};
    }
    tiff.reset();
    return {std::move(file.bytes), {}};
}

DecodedBitmap decodeTiff(std::span<const std::uint8_t> bytes) {
    try {
        return decodeTiffPages(bytes);
    } catch (const std::bad_alloc&) {
        return {nullptr, "not enough memory to decode the TIFF"};
    } catch (const std::exception& e) {
        return {nullptr, std::string("the TIFF cannot be decoded: ") + e.what()};
    }
}

namespace {

DecodedBitmap decodeTiffPages(std::span<const std::uint8_t> bytes) {
    MemoryFile file;
    file.input = bytes;
    TiffHandle tiff(openMemory(file, "rm"));
    if (!tiff) {
        return {nullptr, tiffError("not a TIFF")};
    }
    std::uint32_t wide = 0, high = 0;
    std::uint16_t bits = 0, samples = 0, planar = PLANARCONFIG_CONTIG, extraCount = 0;
    std::uint16_t* extra = nullptr;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &wide);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &high);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
    // Grey, grey+alpha, RGB or RGBA: 2 and 4 samples exactly when alpha is there.
    bool hasAlpha = extraCount == 1 && (samples == 2 || samples == 4);
    bool alphaMatches = hasAlpha == (samples == 2 || samples == 4) && extraCount <= 1;
    if ((bits != 8 && bits != 16) || samples < 1 || samples > 4 || !alphaMatches ||
        wide > INT32_MAX || high > INT32_MAX) {
        return {nullptr, "unsupported TIFF layout"};
    }
    if (static_cast<std::uint64_t>(wide) * high * samples * (bits / 8) > imageMemoryLimit()) {
        return {nullptr, "image of " + std::to_string(wide) + "x" + std::to_string(high) +
                             " pixels is too large to open"};
    }
    bool isPlanar = planar == PLANARCONFIG_SEPARATE && samples > 1;
    auto bitmap = std::make_shared<Bitmap>(
        static_cast<int>(wide), static_cast<int>(high), samples, hasAlpha, isPlanar,
        samples <= 2 ? kCalibratedWhiteColorSpace : kDeviceRGBColorSpace, 0, 0, bits);
    if (static_cast<std::size_t>(TIFFScanlineSize(tiff.get())) != rowBytes(*bitmap)) {
        return {nullptr, "unsupported TIFF layout"};
    }
    for (int plane = 0; plane < bitmap->numberOfPlanes(); ++plane) {
        for (std::uint32_t y = 0; y < high; ++y) {
            std::uint8_t* row =
                bitmap->plane(plane) + static_cast<std::size_t>(y) * bitmap->bytesPerRow();
            if (TIFFReadScanline(tiff.get(), row, y, static_cast<std::uint16_t>(plane)) < 0) {
                return {nullptr, tiffError("the TIFF data is damaged")};
            }
        }
    }
    float xResolution = 0, yResolution = 0;
    if (TIFFGetField(tiff.get(), TIFFTAG_XRESOLUTION, &xResolution) &&
        TIFFGetField(tiff.get(), TIFFTAG_YRESOLUTION, &yResolution) && xResolution > 0 &&
        yResolution > 0) {
        bitmap->setSize({wide * 72.0 / xResolution, high * 72.0 / yResolution});
    }
    bitmap->setIccProfile(readIccProfile(tiff.get()));
    return {bitmap, {}};
}

} // namespace

} // namespace velo
