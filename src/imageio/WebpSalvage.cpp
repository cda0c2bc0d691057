#include "imageio/DamagedImages.h"
#include "imageio/DamagedRows.h"
#include "imageio/DecodedBitmaps.h"

#include <webp/decode.h>

#include <memory>

namespace velo {

namespace {

struct IncrementalDelete {
    void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};

} // namespace

// A still image decoded incrementally from what there is, straight into the
// bitmap; libwebp says how many rows that gave.
std::optional<DecodedImage> salvageWebp(std::span<const std::uint8_t> bytes) {
    WebPBitstreamFeatures features{};
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK ||
        features.has_animation || !fitsImageMemoryLimit(features.width, features.height)) {
        return std::nullopt;
    }
    auto bitmap = newDecodedBitmap(features.width, features.height, features.has_alpha ? 4 : 3);
    std::size_t size = std::size_t(bitmap->bytesPerRow()) * features.height;
    std::unique_ptr<WebPIDecoder, IncrementalDelete> decoder(WebPINewRGB(
        features.has_alpha ? MODE_rgbA : MODE_RGB, bitmap->plane(0), size, bitmap->bytesPerRow()));
    if (!decoder) {
        return std::nullopt;
    }
    VP8StatusCode status = WebPIUpdate(decoder.get(), bytes.data(), bytes.size());
    int rows = 0;
    if (status == VP8_STATUS_OK ||
        !WebPIDecGetRGB(decoder.get(), &rows, nullptr, nullptr, nullptr) || rows <= 0) {
        return std::nullopt; // whole, or nothing to show
    }
    fillMissingRows(*bitmap, rows, features.height - rows);
    std::string damage = endsEarlyMessage("WebP", rows, features.height);
    if (status != VP8_STATUS_SUSPENDED) {
        damage.replace(0, damage.find(':'), "the WebP data is damaged");
    }
    return DecodedImage{singleBitmapImage(std::move(bitmap)), {}, std::move(damage)};
}

} // namespace velo
