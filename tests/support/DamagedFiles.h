#pragma once

#include "imageio/ImageEncoder.h"
#include "platform/Bitmap.h"

#include <webp/encode.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velo::test {

// Detail in every line, so that each line takes its share of the file.
inline std::shared_ptr<Bitmap> detailedPicture(int wide, int high) {
    auto bitmap = std::make_shared<Bitmap>(wide, high, 3, false, false, kDeviceRGBColorSpace);
    for (int y = 0; y < high; ++y) {
        std::uint8_t* row = bitmap->plane(0) + static_cast<std::size_t>(y) * bitmap->bytesPerRow();
        for (int x = 0; x < wide; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 37 + y * 11);
            row[3 * x + 1] = static_cast<std::uint8_t>(y * 53 + (x ^ y));
            row[3 * x + 2] = static_cast<std::uint8_t>((x * y * 7) >> 2);
        }
    }
    return bitmap;
}

// An uncompressed TIFF of one strip a line with its directory first, as
// cameras and scanners write them, so that a cut leaves the directory.
inline std::vector<std::uint8_t> directoryFirstTiff(const Bitmap& rgb) {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t value, int size) {
        for (int k = 0; k < size; ++k) {
            out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
        }
    };
    std::uint32_t wide = rgb.pixelsWide(), high = rgb.pixelsHigh(), rowBytes = 3 * wide;
    const std::uint32_t entries = 9, directory = 8, bits = directory + 2 + 12 * entries + 4;
    const std::uint32_t offsets = bits + 8, counts = offsets + 4 * high, data = counts + 4 * high;
    out.insert(out.end(), {'I', 'I', 42, 0});
    put(directory, 4);
    put(entries, 2);
    auto entry = [&](std::uint32_t tag, std::uint32_t type, std::uint32_t count,
                     std::uint32_t value) {
        put(tag, 2), put(type, 2), put(count, 4), put(value, 4);
    };
    entry(256, 4, 1, wide);
    entry(257, 4, 1, high);
    entry(258, 3, 3, bits);
    entry(259, 3, 1, 1); // no compression
    entry(262, 3, 1, 2); // RGB
    entry(273, 4, high, offsets);
    entry(277, 3, 1, 3);
    entry(278, 4, 1, 1);
    entry(279, 4, high, counts);
    put(0, 4);
    put(8 | 8 << 16, 4), put(8, 4);
    for (std::uint32_t y = 0; y < high; ++y) {
        put(data + y * rowBytes, 4);
    }
    for (std::uint32_t y = 0; y < high; ++y) {
        put(rowBytes, 4);
    }
    for (std::uint32_t y = 0; y < high; ++y) {
        const std::uint8_t* row = rgb.plane(0) + std::size_t{y} * rgb.bytesPerRow();
        out.insert(out.end(), row, row + rowBytes);
    }
    return out;
}

inline std::vector<std::uint8_t> losslessWebp(const Bitmap& rgb) {
    std::uint8_t* encoded = nullptr;
    std::size_t size = WebPEncodeLosslessRGB(rgb.plane(0), rgb.pixelsWide(), rgb.pixelsHigh(),
                                             rgb.bytesPerRow(), &encoded);
    std::vector<std::uint8_t> out(encoded, encoded + size);
    WebPFree(encoded);
    return out;
}

// The picture as a whole file of the type its extension names: "jpg",
// "png", "gif", "tif" or "webp".
inline std::vector<std::uint8_t> wholeFile(const std::string& extension, int wide, int high) {
    std::shared_ptr<Bitmap> picture = detailedPicture(wide, high);
    if (extension == "tif") {
        return directoryFirstTiff(*picture);
    }
    if (extension == "webp") {
        return losslessWebp(*picture);
    }
    ImageFileType type = extension == "jpg"   ? ImageFileType::JPEG
                         : extension == "gif" ? ImageFileType::GIF
                                              : ImageFileType::PNG;
    PropertyValue::Data data = encodeImage(*picture, type, 0.9f).data.value();
    return {data.begin(), data.end()};
}

inline std::vector<std::uint8_t> firstHalf(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2)};
}

} // namespace velo::test
