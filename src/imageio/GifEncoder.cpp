#include "imageio/GifEncoder.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <algorithm>
#include <memory>

namespace velo {

namespace {

struct LiqAttrFree {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct LiqImageFree {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct LiqResultFree {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

std::string gifError(int status) {
    const char* message = GifErrorString(status);
    return message ? message : "unknown error";
}

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<PropertyValue::Data*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct Quantized {
    std::vector<std::uint8_t> indices;
    std::vector<GifColorType> palette;
    int transparentIndex = -1;
};

// Sample k of pixel x in buffer row y, whatever the layout.
std::uint8_t sampleAt(const Bitmap& bitmap, int x, int y, int k) {
    std::size_t row = static_cast<std::size_t>(y) * bitmap.bytesPerRow();
    if (bitmap.isPlanar()) {
        return bitmap.plane(k)[row + x];
    }
    return bitmap.plane(0)[row + static_cast<std::size_t>(x) * (bitmap.bitsPerPixel() / 8) + k];
}

// The bitmap's pixels as meshed straight (not premultiplied) RGBA bytes.
std::vector<std::uint8_t> straightRGBA(const Bitmap& bitmap) {
    int samples = bitmap.samplesPerPixel();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(bitmap.pixelsWide()) *
                                  bitmap.pixelsHigh() * 4);
    std::size_t i = 0;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        for (int x = 0; x < bitmap.pixelsWide(); ++x, i += 4) {
            std::uint8_t alpha = bitmap.hasAlpha() ? sampleAt(bitmap, x, y, samples - 1) : 255;
            for (int c = 0; c < 3; ++c) {
                int value = sampleAt(bitmap, x, y, samples <= 2 ? 0 : c);
                if (alpha != 0 && alpha != 255) {
                    value = std::min(255, (value * 255 + alpha / 2) / alpha);
                }
                out[i + c] = static_cast<std::uint8_t>(alpha == 0 ? 0 : value);
            }
            out[i + 3] = alpha;
        }
    }
    return out;
}

// GIF keeps one bit of alpha: below half is transparent, the rest opaque.
void binarizeAlpha(std::vector<std::uint8_t>& rgba) {
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i + 3] < 128) {
            rgba[i] = rgba[i + 1] = rgba[i + 2] = rgba[i + 3] = 0;
        } else {
            rgba[i + 3] = 255;
        }
    }
}

bool quantize(const Bitmap& bitmap, Quantized& out, std::string& error) {
    std::vector<std::uint8_t> rgba = straightRGBA(bitmap);
    binarizeAlpha(rgba);
    std::unique_ptr<liq_attr, LiqAttrFree> attr(liq_attr_create());
    liq_set_max_colors(attr.get(), 256);
    std::unique_ptr<liq_image, LiqImageFree> image(liq_image_create_rgba(
        attr.get(), rgba.data(), bitmap.pixelsWide(), bitmap.pixelsHigh(), 0));
    liq_result* raw = nullptr;
    if (!image || liq_image_quantize(image.get(), attr.get(), &raw) != LIQ_OK) {
        error = "cannot reduce the image to 256 colours";
        return false;
    }
    std::unique_ptr<liq_result, LiqResultFree> result(raw);
    liq_set_dithering_level(result.get(), 1.0f);
    out.indices.resize(rgba.size() / 4);
    if (liq_write_remapped_image(result.get(), image.get(), out.indices.data(),
                                 out.indices.size()) != LIQ_OK) {
        error = "cannot map the image to its palette";
        return false;
    }
    const liq_palette* palette = liq_get_palette(result.get());
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        out.palette.push_back({c.r, c.g, c.b});
        if (c.a < 128 && out.transparentIndex < 0) {
            out.transparentIndex = static_cast<int>(i);
        }
    }
    if (out.transparentIndex >= 0) {
        for (std::size_t i = 0; i < out.indices.size(); ++i) {
            if (rgba[4 * i + 3] == 0) {
                out.indices[i] = static_cast<std::uint8_t>(out.transparentIndex);
            }
        }
    }
    // GIF palettes have a power-of-two size.
    while (out.palette.size() < 2 || (out.palette.size() & (out.palette.size() - 1)) != 0) {
        out.palette.push_back({0, 0, 0});
    }
    return true;
}

bool writeGif(GifFileType* gif, const Quantized& q, int wide, int high) {
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(q.palette.size()), q.palette.data());
    if (!map) {
        return false;
    }
    bool ok = EGifPutScreenDesc(gif, wide, high, 8, 0, map) == GIF_OK;
    if (ok && q.transparentIndex >= 0) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = q.transparentIndex;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, wide, high, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < high; ++y) {
        auto* line =
            const_cast<GifPixelType*>(q.indices.data() + static_cast<std::size_t>(y) * wide);
        ok = EGifPutLine(gif, line, wide) == GIF_OK;
    }
    GifFreeMapObject(map);
    return ok;
}

} // namespace

EncodedData encodeGif(const Bitmap& bitmap) {
    if (bitmap.pixelsWide() < 1 || bitmap.pixelsHigh() < 1 || bitmap.pixelsWide() > 65535 ||
        bitmap.pixelsHigh() > 65535) {
        return {std::nullopt, "GIF images are 1 to 65535 pixels wide and high"};
    }
    Quantized quantized;
    std::string error;
    if (!quantize(bitmap, quantized, error)) {
        return {std::nullopt, error};
    }
    PropertyValue::Data bytes;
    int status = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToBuffer, &status);
    if (!gif) {
        return {std::nullopt, gifError(status)};
    }
    EGifSetGifVersion(gif, true);
    bool ok = writeGif(gif, quantized, bitmap.pixelsWide(), bitmap.pixelsHigh());
    int closeStatus = 0;
    if (EGifCloseFile(gif, &closeStatus) != GIF_OK || !ok) {
        return {std::nullopt, "cannot encode the GIF: " + gifError(closeStatus)};
    }
    return {std::move(bytes), {}};
}

} // namespace velo
