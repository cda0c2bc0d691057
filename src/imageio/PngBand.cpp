#include "imageio/PngBand.h"

#include "imageio/DeflateJoin.h"
#include "imageio/PngFilter.h"

#include <libdeflate.h>

#include <memory>

namespace velo {

namespace {

// Level 6: smaller files than zlib's level 6 (Qt's) and as fast as its
// level 3; higher levels cost twice the time and more for a few per cent.
constexpr int kCompressionLevel = 6;

struct CompressorFree {
    void operator()(libdeflate_compressor* compressor) const {
        libdeflate_free_compressor(compressor);
    }
};

// One compressor a thread, kept: allocating one costs more than a small band.
libdeflate_compressor* threadCompressor() {
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
        libdeflate_alloc_compressor(kCompressionLevel));
    return compressor.get();
}

std::vector<std::uint8_t> filtered(const PngBandRows& band) {
    std::size_t count = band.rowBytes ? band.rows.size() / band.rowBytes : 0;
    std::vector<std::uint8_t> out(count * (band.rowBytes + 1));
    PngFilter filter(band.rowBytes, band.bytesPerPixel);
    const std::uint8_t* above = band.previous.empty() ? nullptr : band.previous.data();
    for (std::size_t y = 0; y < count; ++y) {
        const std::uint8_t* row = band.rows.data() + y * band.rowBytes;
        filter.filter(row, above, out.data() + y * (band.rowBytes + 1));
        above = row;
    }
    return out;
}

} // namespace

CompressedPngBand compressPngBand(const PngBandRows& band) {
    CompressedPngBand result;
    result.endsImage = band.endsImage;
    libdeflate_compressor* compressor = threadCompressor();
    if (!compressor) {
        result.error = "not enough memory to compress the PNG";
        return result;
    }
    std::vector<std::uint8_t> bytes = filtered(band);
    result.filteredBytes = bytes.size();
    result.adler = libdeflate_adler32(1, bytes.data(), bytes.size());
    result.deflated.resize(libdeflate_deflate_compress_bound(compressor, bytes.size()));
    std::size_t size = libdeflate_deflate_compress(compressor, bytes.data(), bytes.size(),
                                                   result.deflated.data(), result.deflated.size());
    result.deflated.resize(size);
    if (size == 0 || (!band.endsImage && !makeJoinable(result.deflated))) {
        result.error = "cannot compress the PNG";
    }
    return result;
}

} // namespace velo
