#include "imageio/MeshedTiff.h"

#include "imageio/ImageMemoryLimit.h"
#include "imageio/TiffMemory.h"

#include <cstring>

namespace velo {

namespace {

struct PageLayout {
    std::uint32_t wide = 0;
    std::uint32_t high = 0;
    std::uint16_t bits = 0;
    std::uint16_t samples = 0;
    std::uint16_t planar = PLANARCONFIG_CONTIG;

    std::size_t sampleBytes() const { return bits / 8u; }
    bool needsMeshing() const {
        return planar == PLANARCONFIG_SEPARATE && samples > 1 && bits > 8 && bits % 8 == 0;
    }
};

PageLayout layoutOf(TIFF* tiff) {
    PageLayout page;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &page.wide);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &page.high);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &page.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &page.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &page.planar);
    return page;
}

bool anyPageNeedsMeshing(TIFF* tiff) {
    do {
        if (layoutOf(tiff).needsMeshing()) {
            return true;
        }
    } while (TIFFReadDirectory(tiff));
    return false;
}

template <typename T> void copyTag(TIFF* from, TIFF* to, ttag_t tag) {
    T value{};
    if (TIFFGetField(from, tag, &value)) {
        TIFFSetField(to, tag, value);
    }
}

void copyTags(TIFF* from, TIFF* to, const PageLayout& page) {
    TIFFSetField(to, TIFFTAG_IMAGEWIDTH, page.wide);
    TIFFSetField(to, TIFFTAG_IMAGELENGTH, page.high);
    TIFFSetField(to, TIFFTAG_BITSPERSAMPLE, page.bits);
    TIFFSetField(to, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(to, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(to, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(to, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(to, 0));
    copyTag<std::uint16_t>(from, to, TIFFTAG_PHOTOMETRIC);
    copyTag<std::uint16_t>(from, to, TIFFTAG_SAMPLEFORMAT);
    copyTag<std::uint16_t>(from, to, TIFFTAG_ORIENTATION);
    copyTag<std::uint16_t>(from, to, TIFFTAG_RESOLUTIONUNIT);
    copyTag<float>(from, to, TIFFTAG_XRESOLUTION);
    copyTag<float>(from, to, TIFFTAG_YRESOLUTION);
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    if (TIFFGetField(from, TIFFTAG_EXTRASAMPLES, &extraCount, &extra)) {
        TIFFSetField(to, TIFFTAG_EXTRASAMPLES, extraCount, extra);
    }
    std::uint32_t profileBytes = 0;
    void* profile = nullptr;
    if (TIFFGetField(from, TIFFTAG_ICCPROFILE, &profileBytes, &profile)) {
        TIFFSetField(to, TIFFTAG_ICCPROFILE, profileBytes, profile);
    }
}

// Reads each plane's row and interleaves the samples; false when the data is
// damaged or a plane's row is not the size its layout says.
bool copyRows(TIFF* from, TIFF* to, const PageLayout& page) {
    if (!page.needsMeshing()) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(from)));
        for (std::uint32_t y = 0; y < page.high; ++y) {
            if (TIFFReadScanline(from, row.data(), y, 0) < 0 ||
                TIFFWriteScanline(to, row.data(), y, 0) < 0) {
                return false;
            }
        }
        return true;
    }
    std::size_t sampleBytes = page.sampleBytes();
    std::size_t planeRow = static_cast<std::size_t>(page.wide) * sampleBytes;
    if (static_cast<std::size_t>(TIFFScanlineSize(from)) != planeRow) {
        return false;
    }
    // Plane by plane: compressed strips decode only forwards.
    std::size_t meshedRow = planeRow * page.samples;
    std::vector<std::uint8_t> plane(planeRow);
    std::vector<std::uint8_t> meshed(meshedRow * page.high);
    for (std::uint16_t s = 0; s < page.samples; ++s) {
        for (std::uint32_t y = 0; y < page.high; ++y) {
            if (TIFFReadScanline(from, plane.data(), y, s) < 0) {
                return false;
            }
            std::uint8_t* to = meshed.data() + y * meshedRow + s * sampleBytes;
            for (std::uint32_t x = 0; x < page.wide; ++x) {
                std::memcpy(to + x * page.samples * sampleBytes, plane.data() + x * sampleBytes,
                            sampleBytes);
            }
        }
    }
    for (std::uint32_t y = 0; y < page.high; ++y) {
        if (TIFFWriteScanline(to, meshed.data() + y * meshedRow, y, 0) < 0) {
            return false;
        }
    }
    return true;
}

bool fitsInMemory(const PageLayout& page) {
    return static_cast<std::uint64_t>(page.wide) * page.high * page.samples * page.sampleBytes() <=
           imageMemoryLimit();
}

} // namespace

std::optional<std::vector<std::uint8_t>> meshedDeepTiff(std::span<const std::uint8_t> bytes) {
    MemoryFile input;
    input.input = bytes;
    TiffHandle from(openMemory(input, "rm"));
    if (!from || !anyPageNeedsMeshing(from.get()) || !TIFFSetDirectory(from.get(), 0)) {
        return std::nullopt;
    }
    MemoryFile output;
    output.writing = true;
    TiffHandle to(openMemory(output, "w"));
    if (!to) {
        return std::nullopt;
    }
    do {
        PageLayout page = layoutOf(from.get());
        if (!fitsInMemory(page)) {
            // Left to Qt, which refuses it as too large before reading a row.
            return std::nullopt;
        }
        copyTags(from.get(), to.get(), page);
        if (!copyRows(from.get(), to.get(), page) || !TIFFWriteDirectory(to.get())) {
            break; // the pages read so far, as Qt gives the pages before a damaged one
        }
    } while (TIFFReadDirectory(from.get()));
    to.reset();
    return std::move(output.bytes);
}

} // namespace velo
