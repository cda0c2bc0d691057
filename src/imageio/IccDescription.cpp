#include "imageio/IccDescription.h"

#include <cstring>
#include <string_view>

namespace velo {

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kTagEntryBytes = 12;

// Big-endian fields of a byte range; every read is checked against its end.
class Fields {
  public:
    explicit Fields(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::optional<std::uint32_t> u32(std::size_t at) const {
        if (!has(at, 4)) {
            return std::nullopt;
        }
        return std::uint32_t{bytes_[at]} << 24 | std::uint32_t{bytes_[at + 1]} << 16 |
               std::uint32_t{bytes_[at + 2]} << 8 | bytes_[at + 3];
    }
    bool bytesAre(std::size_t at, std::string_view expected) const {
        return has(at, expected.size()) &&
               std::memcmp(bytes_.data() + at, expected.data(), expected.size()) == 0;
    }
    std::optional<std::span<const std::uint8_t>> range(std::size_t at, std::size_t count) const {
        if (!has(at, count)) {
            return std::nullopt;
        }
        return bytes_.subspan(at, count);
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3f));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// UTF-16BE up to the first NUL; unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(std::span<const std::uint8_t> text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        std::uint32_t unit = std::uint32_t{text[i]} << 8 | text[i + 1];
        if (unit == 0) {
            break;
        }
        if (unit >= 0xd800 && unit < 0xdc00 && i + 3 < text.size()) {
            std::uint32_t low = std::uint32_t{text[i + 2]} << 8 | text[i + 3];
            if (low >= 0xdc00 && low < 0xe000) {
                appendUtf8(out, 0x10000 + ((unit - 0xd800) << 10) + (low - 0xdc00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, unit >= 0xd800 && unit < 0xe000 ? 0xfffd : unit);
    }
    return out;
}

// textDescriptionType: a counted ASCII string (its NUL included).
std::optional<std::string> textDescription(const Fields& tag) {
    std::optional<std::uint32_t> count = tag.u32(8);
    std::optional<std::span<const std::uint8_t>> text =
        count ? tag.range(12, *count) : std::nullopt;
    if (!text) {
        return std::nullopt;
    }
    std::string out;
    for (std::uint8_t c : *text) {
        if (c == 0) {
            break;
        }
        out += static_cast<char>(c);
    }
    return out;
}

// multiLocalizedUnicodeType: records of language, country, length, offset.
std::optional<std::string> localizedDescription(const Fields& tag) {
    std::optional<std::uint32_t> records = tag.u32(8);
    std::optional<std::uint32_t> recordBytes = tag.u32(12);
    if (!records || !recordBytes || *recordBytes < 12) {
        return std::nullopt;
    }
    std::optional<std::span<const std::uint8_t>> chosen;
    for (std::uint32_t i = 0; i < *records; ++i) {
        std::size_t record = 16 + static_cast<std::size_t>(i) * *recordBytes;
        std::optional<std::uint32_t> length = tag.u32(record + 4);
        std::optional<std::uint32_t> offset = tag.u32(record + 8);
        std::optional<std::span<const std::uint8_t>> text =
            length && offset ? tag.range(*offset, *length) : std::nullopt;
        if (!text) {
            break;
        }
        if (tag.bytesAre(record, "en")) {
            return utf8FromUtf16(*text);
        }
        chosen = chosen ? chosen : text;
    }
    if (!chosen) {
        return std::nullopt;
    }
    return utf8FromUtf16(*chosen);
}

} // namespace

std::optional<std::string> iccProfileDescription(std::span<const std::uint8_t> profile) {
    Fields header(profile);
    std::optional<std::uint32_t> tagCount = header.u32(kHeaderBytes);
    if (!header.bytesAre(36, "acsp") || !tagCount) {
        return std::nullopt;
    }
    for (std::uint32_t i = 0; i < *tagCount; ++i) {
        std::size_t entry = kHeaderBytes + 4 + static_cast<std::size_t>(i) * kTagEntryBytes;
        if (!header.has(entry, kTagEntryBytes)) {
            return std::nullopt;
        }
        if (!header.bytesAre(entry, "desc")) {
            continue;
        }
        std::optional<std::span<const std::uint8_t>> bytes =
            header.range(*header.u32(entry + 4), *header.u32(entry + 8));
        if (!bytes) {
            return std::nullopt;
        }
        Fields tag(*bytes);
        std::optional<std::string> text = tag.bytesAre(0, "desc")   ? textDescription(tag)
                                          : tag.bytesAre(0, "mluc") ? localizedDescription(tag)
                                                                    : std::nullopt;
        if (text && text->empty()) {
            return std::nullopt;
        }
        return text;
    }
    return std::nullopt;
}

} // namespace velo
