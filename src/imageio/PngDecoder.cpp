#include "imageio/PngDecoder.h"

#include "imageio/DamagedRows.h"
#include "imageio/DecodedBitmaps.h"
#include "imageio/PixelDensity.h"

#include <spng.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace velo {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

// What spng gives for a header, and how many samples the bitmap keeps.
struct Output {
    int format;
    int samples;
    bool transparency;
};

bool hasTransparency(spng_ctx* context, spng_trns& trns) {
    return spng_get_trns(context, &trns) == 0;
}

// A palette's alpha counts where Qt's colour table takes it: in its entries.
std::optional<Output> paletteOutput(spng_ctx* context, const spng_ihdr& header) {
    spng_plte palette{};
    spng_trns trns{};
    if (header.bit_depth == 1 || spng_get_plte(context, &palette) != 0) {
        return std::nullopt;
    }
    if (!hasTransparency(context, trns)) {
        return Output{SPNG_FMT_RGB8, 3, false};
    }
    if (trns.n_type3_entries > palette.n_entries) {
        return std::nullopt;
    }
    bool alpha = std::any_of(trns.type3_alpha, trns.type3_alpha + trns.n_type3_entries,
                             [](std::uint8_t a) { return a != 255; });
    return alpha ? Output{SPNG_FMT_RGBA8, 4, true} : Output{SPNG_FMT_RGB8, 3, false};
}

std::optional<Output> outputFor(spng_ctx* context, const spng_ihdr& header) {
    if (header.interlace_method != SPNG_INTERLACE_NONE) {
        return std::nullopt;
    }
    if (header.color_type == SPNG_COLOR_TYPE_INDEXED) {
        return paletteOutput(context, header);
    }
    spng_trns trns{};
    bool transparency = hasTransparency(context, trns);
    if (header.bit_depth != 8) {
        return std::nullopt;
    }
    // 8-bit samples without a transparency chunk are decoded as stored.
    switch (header.color_type) {
    case SPNG_COLOR_TYPE_GRAYSCALE:
        // Qt reads grey with a transparent value through a colour table.
        if (transparency) {
            return trns.gray < 256 ? std::optional(Output{SPNG_FMT_RGBA8, 4, true}) : std::nullopt;
        }
        return Output{SPNG_FMT_PNG, 1, false};
    case SPNG_COLOR_TYPE_TRUECOLOR:
        return transparency ? Output{SPNG_FMT_RGBA8, 4, true} : Output{SPNG_FMT_PNG, 3, false};
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
        return Output{SPNG_FMT_PNG, 2, false};
    case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
        return Output{SPNG_FMT_PNG, 4, false};
    default:
        return std::nullopt;
    }
}

class PngDecoder final : public RowDecoder {
  public:
    PngDecoder() : context_(spng_ctx_new(0)) {}
    ~PngDecoder() override { spng_ctx_free(context_); }

    bool start(EncodedSource source);

    int pixelsWide() const override { return static_cast<int>(header_.width); }
    int pixelsHigh() const override { return static_cast<int>(header_.height); }
    int samplesPerPixel() const override { return output_.samples; }
    Size pointSize() const override;
    bool readRows(Bitmap& bitmap, int firstRow, int rows) override;
    const std::string& error() const override { return error_; }
    std::string damage() const override { return damage_; }

  private:
    void noteDamage(int code);

    spng_ctx* context_;
    spng_ihdr header_{};
    Output output_{};
    int rowsRead_ = 0;
    std::string error_;
    std::string damage_;
};

bool PngDecoder::start(EncodedSource source) {
    if (!context_) {
        return false;
    }
    // libpng, under Qt's reader, drops ancillary chunks with a wrong checksum.
    spng_set_crc_action(context_, SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    int set = source.file ? spng_set_png_file(context_, source.file)
                          : spng_set_png_buffer(context_, source.bytes.data(), source.bytes.size());
    if (set != 0 || spng_get_ihdr(context_, &header_) != 0 || header_.width > INT32_MAX ||
        header_.height > INT32_MAX || !fitsImageMemoryLimit(header_.width, header_.height)) {
        return false;
    }
    std::optional<Output> output = outputFor(context_, header_);
    if (!output) {
        return false;
    }
    output_ = *output;
    int flags = SPNG_DECODE_PROGRESSIVE | (output_.transparency ? SPNG_DECODE_TRNS : 0);
    return spng_decode_image(context_, nullptr, 0, output_.format, flags) == 0;
}

// Qt's reader takes a resolution in dots per metre only.
Size PngDecoder::pointSize() const {
    spng_phys phys{};
    bool stated = spng_get_phys(context_, &phys) == 0 && phys.unit_specifier == 1;
    return pointSizeFor(pixelsWide(), pixelsHigh(), stated ? static_cast<int>(phys.ppu_x) : 0,
                        stated ? static_cast<int>(phys.ppu_y) : 0);
}

// Rows up to the damage are kept; the decoder cannot go on past it.
void PngDecoder::noteDamage(int code) {
    damage_ = pngDamage(code, rowsRead_, pixelsHigh());
}

bool PngDecoder::readRows(Bitmap& bitmap, int firstRow, int rows) {
    if (rows < 0 || rowsRead_ + rows > pixelsHigh()) {
        error_ = "reading past the end of the PNG";
        return false;
    }
    std::size_t rowBytes = static_cast<std::size_t>(pixelsWide()) * output_.samples;
    int end = firstRow + rows;
    for (int y = firstRow; y < end; ++y) {
        if (damage_.empty()) {
            std::uint8_t* row =
                bitmap.plane(0) + static_cast<std::size_t>(y) * bitmap.bytesPerRow();
            int code = spng_decode_row(context_, row, rowBytes);
            if (code == 0 || (rowsRead_ + 1 == pixelsHigh() && code == SPNG_EOI)) {
                ++rowsRead_;
                if (output_.samples == 2 || output_.samples == 4) {
                    premultiplyLikeQt(row, pixelsWide(), output_.samples);
                }
                continue;
            }
            noteDamage(code);
        }
        fillMissingRows(bitmap, y, end - y);
        rowsRead_ += end - y;
        break;
    }
    return true;
}

} // namespace

std::string pngDamage(int code, long long lines, long long high) {
    std::string message = endsEarlyMessage("PNG", lines, high);
    bool endedEarly = code == SPNG_IO_EOF || code == SPNG_IO_ERROR || code == SPNG_EOF ||
                      code == SPNG_EIO || code == SPNG_EIDAT_TOO_SHORT;
    if (!endedEarly) {
        message.replace(0, message.find(':'),
                        std::string("the PNG data is damaged (") + spng_strerror(code) + ")");
    }
    return message;
}

bool looksLikePng(std::span<const std::uint8_t> start) {
    return start.size() >= 8 && std::memcmp(start.data(), kSignature, 8) == 0;
}

std::unique_ptr<RowDecoder> openPngDecoder(EncodedSource source) {
    auto decoder = std::make_unique<PngDecoder>();
    if (!decoder->start(source)) {
        return nullptr;
    }
    return decoder;
}

} // namespace velo
