#include "imageio/DamagedImages.h"
#include "imageio/DamagedRows.h"
#include "imageio/DecodedBitmaps.h"
#include "imageio/TiffMemory.h"

#include <algorithm>
#include <vector>

namespace velo {

namespace {

struct Layout {
    std::uint32_t wide = 0, high = 0, bandRows = 0;
    int samples = 3;
};

std::optional<Layout> layoutOf(TIFF* tiff) {
    Layout layout;
    std::uint16_t photometric = 0, samples = 1, extraCount = 0;
    std::uint16_t* extra = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.wide) ||
        !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.high) ||
        !fitsImageMemoryLimit(layout.wide, layout.high)) {
        return std::nullopt;
    }
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
    bool grey = (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) &&
                samples - extraCount == 1;
    bool alpha = extraCount > 0;
    layout.samples = (grey ? 1 : 3) + (alpha ? 1 : 0);
    if (TIFFIsTiled(tiff)) {
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &layout.bandRows);
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &layout.bandRows);
    }
    layout.bandRows = std::clamp<std::uint32_t>(layout.bandRows, 1, layout.high);
    return layout;
}

// libtiff's packed pixels (premultiplied when there is alpha) into the
// bitmap's samples.
void copyBand(const std::vector<std::uint32_t>& raster, const Layout& layout, Bitmap& bitmap,
              std::uint32_t firstRow, std::uint32_t rows) {
    for (std::uint32_t y = 0; y < rows; ++y) {
        std::uint8_t* to = bitmap.plane(0) + std::size_t{firstRow + y} * bitmap.bytesPerRow();
        const std::uint32_t* from = raster.data() + std::size_t{y} * layout.wide;
        for (std::uint32_t x = 0; x < layout.wide; ++x, to += layout.samples) {
            std::uint32_t pixel = from[x];
            std::uint8_t rgba[4] = {static_cast<std::uint8_t>(TIFFGetR(pixel)),
                                    static_cast<std::uint8_t>(TIFFGetG(pixel)),
                                    static_cast<std::uint8_t>(TIFFGetB(pixel)),
                                    static_cast<std::uint8_t>(TIFFGetA(pixel))};
            bool grey = layout.samples <= 2;
            to[0] = rgba[0];
            if (!grey) {
                to[1] = rgba[1];
                to[2] = rgba[2];
            }
            if (layout.samples % 2 == 0) {
                to[layout.samples - 1] = rgba[3];
            }
        }
    }
}

bool isClassicTiff(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 8 && (bytes[0] == 'I' || bytes[0] == 'M') && bytes[2] + bytes[3] == 42;
}

// An unsigned number of the file's byte order; bytes must hold it.
std::uint32_t numberAt(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    bool little = bytes[0] == 'I';
    std::uint32_t value = 0;
    for (int k = 0; k < size; ++k) {
        value |= std::uint32_t{bytes[at + k]} << (8 * (little ? k : size - 1 - k));
    }
    return value;
}

// Most writers put the first directory after the image data.
bool directoryIsMissing(std::span<const std::uint8_t> bytes) {
    return isClassicTiff(bytes) && numberAt(bytes, 4, 4) >= bytes.size();
}

struct RgbaEnd {
    void operator()(TIFFRGBAImage* image) const { TIFFRGBAImageEnd(image); }
};

} // namespace

// The first page, a strip or a row of tiles at a time, until one cannot be read.
std::optional<DecodedImage> salvageTiff(std::span<const std::uint8_t> bytes) {
    if (directoryIsMissing(bytes)) {
        return DecodedImage{std::nullopt, "the TIFF data ends early, before the directory that "
                                          "describes its image"};
    }
    MemoryFile file;
    file.input = bytes;
    TiffHandle tiff(openMemory(file, "rm"));
    char message[1024] = {};
    std::optional<Layout> layout;
    if (!tiff || !TIFFRGBAImageOK(tiff.get(), message) || !(layout = layoutOf(tiff.get()))) {
        return std::nullopt;
    }
    TIFFRGBAImage image{};
    if (!TIFFRGBAImageBegin(&image, tiff.get(), 1, message)) {
        return std::nullopt;
    }
    std::unique_ptr<TIFFRGBAImage, RgbaEnd> ending(&image);
    image.req_orientation = ORIENTATION_TOPLEFT;
    auto bitmap = newDecodedBitmap(static_cast<int>(layout->wide), static_cast<int>(layout->high),
                                   layout->samples);
    std::vector<std::uint32_t> raster(std::size_t{layout->wide} * layout->bandRows);
    std::uint32_t read = 0;
    while (read < layout->high) {
        std::uint32_t rows = std::min(layout->bandRows, layout->high - read);
        image.row_offset = static_cast<int>(read);
        if (!TIFFRGBAImageGet(&image, raster.data(), layout->wide, rows)) {
            break;
        }
        copyBand(raster, *layout, *bitmap, read, rows);
        read += rows;
    }
    if (read == 0 || read == layout->high) {
        return std::nullopt; // nothing to show, or whole
    }
    fillMissingRows(*bitmap, static_cast<int>(read), static_cast<int>(layout->high - read));
    std::string damage = endsEarlyMessage("TIFF", read, layout->high);
    std::string reason = tiffError("");
    if (!reason.empty() && reason.find("Read error") == std::string::npos) {
        damage.replace(0, damage.find(':'), "the TIFF data is damaged (" + reason + ")");
    }
    return DecodedImage{singleBitmapImage(std::move(bitmap)), {}, std::move(damage)};
}

// Follows the chain of directories, one a page, until it ends or leaves the data.
std::string tiffPagesDamage(std::span<const std::uint8_t> bytes) {
    if (!isClassicTiff(bytes)) {
        return {};
    }
    constexpr int kMaxPages = 4096;
    std::uint64_t at = numberAt(bytes, 4, 4);
    for (int pages = 0; at != 0 && pages < kMaxPages; ++pages) {
        if (at + 2 > bytes.size() || at + 2 + 12 * numberAt(bytes, at, 2) + 4 > bytes.size()) {
            std::string read = pages == 1 ? "page" : std::to_string(pages) + " pages";
            return "the TIFF data ends early: only the first " + read + " could be read";
        }
        at = numberAt(bytes, at + 2 + 12 * numberAt(bytes, at, 2), 4);
    }
    return {};
}

} // namespace velo
