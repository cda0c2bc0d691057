#include "imageio/DamagedImages.h"
#include "imageio/DamagedRows.h"
#include "imageio/DecodedBitmaps.h"
#include "imageio/PngDecoder.h"

#include <spng.h>

#include <memory>
#include <vector>

namespace velo {

namespace {

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

bool hasAlpha(spng_ctx* context, const spng_ihdr& header) {
    spng_trns trns{};
    return header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ||
           header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
           spng_get_trns(context, &trns) == 0;
}

std::uint32_t bigEndian(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// The bytes with a chunk cut short shortened to what there is of it, so that
// the decoder reads its data before meeting the end (checksums are not held
// against the data, so the copied four bytes of checksum can be anything).
std::vector<std::uint8_t> withLastChunkShortened(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    std::size_t at = 8;
    while (at + 12 <= copy.size()) {
        std::size_t length = bigEndian(&copy[at]);
        if (length <= copy.size() - at - 12) {
            at += 12 + length;
            continue;
        }
        std::uint32_t shorter = static_cast<std::uint32_t>(copy.size() - at - 12);
        for (int k = 0; k < 4; ++k) {
            copy[at + k] = static_cast<std::uint8_t>(shorter >> (24 - 8 * k));
        }
        break;
    }
    return copy;
}

} // namespace

// Any PNG as 8-bit RGB or RGBA, interlaced ones too, row by row until the
// damage; checksums are not held against the data.
std::optional<DecodedImage> salvagePng(std::span<const std::uint8_t> original) {
    std::vector<std::uint8_t> bytes = withLastChunkShortened(original);
    std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(0));
    spng_ihdr header{};
    if (!context || spng_set_crc_action(context.get(), SPNG_CRC_USE, SPNG_CRC_USE) != 0 ||
        spng_set_png_buffer(context.get(), bytes.data(), bytes.size()) != 0 ||
        spng_get_ihdr(context.get(), &header) != 0 ||
        !fitsImageMemoryLimit(header.width, header.height)) {
        return std::nullopt;
    }
    bool alpha = hasAlpha(context.get(), header);
    int format = alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
    int flags = SPNG_DECODE_PROGRESSIVE | SPNG_DECODE_TRNS;
    if (spng_decode_image(context.get(), nullptr, 0, format, flags) != 0) {
        return std::nullopt;
    }
    int wide = static_cast<int>(header.width), high = static_cast<int>(header.height);
    auto bitmap = newDecodedBitmap(wide, high, alpha ? 4 : 3);
    fillMissingRows(*bitmap, 0, high);
    std::size_t rowBytes = static_cast<std::size_t>(wide) * bitmap->samplesPerPixel();
    bool interlaced = header.interlace_method != SPNG_INTERLACE_NONE;
    int code = 0;
    long long rows = 0;
    for (;; ++rows) {
        spng_row_info row{};
        if (spng_get_row_info(context.get(), &row) != 0) {
            break;
        }
        std::uint8_t* to = bitmap->plane(0) + std::size_t{row.row_num} * bitmap->bytesPerRow();
        code = spng_decode_row(context.get(), to, rowBytes);
        if (code != 0) {
            rows += code == SPNG_EOI;
            break;
        }
    }
    if (code == SPNG_EOI || rows == 0) {
        return std::nullopt; // whole, or nothing to show
    }
    for (int y = 0; alpha && y < high; ++y) {
        premultiplyLikeQt(bitmap->plane(0) + std::size_t(y) * bitmap->bytesPerRow(), wide, 4);
    }
    std::string damage = interlaced
                             ? "the PNG data ends early: detail is missing from the whole image"
                             : pngDamage(code, rows, high);
    return DecodedImage{singleBitmapImage(std::move(bitmap)), {}, std::move(damage)};
}

} // namespace velo
