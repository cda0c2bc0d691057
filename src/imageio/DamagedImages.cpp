#include "imageio/DamagedImages.h"

#include <cstring>

namespace velo {

std::optional<DecodedImage> salvageDamagedImage(std::span<const std::uint8_t> bytes) {
    auto startsWith = [&](const char* magic, std::size_t at = 0) {
        std::size_t n = std::strlen(magic);
        return bytes.size() >= at + n && std::memcmp(bytes.data() + at, magic, n) == 0;
    };
    if (startsWith("\x89PNG\r\n\x1a\n")) {
        return salvagePng(bytes);
    }
    if (startsWith("II*") || startsWith("MM")) {
        return salvageTiff(bytes);
    }
    if (startsWith("RIFF") && startsWith("WEBP", 8)) {
        return salvageWebp(bytes);
    }
    return std::nullopt;
}

std::string silentDamage(std::span<const std::uint8_t> bytes) {
    std::string damage = gifDamage(bytes);
    return damage.empty() ? tiffPagesDamage(bytes) : damage;
}

} // namespace velo
