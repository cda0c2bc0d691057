#include "platform/Archiver.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace velo {

namespace {

using json = nlohmann::json;

constexpr std::uint8_t kMagic[3] = {0xd9, 0xd9, 0xf7}; // tag 55799

json toJson(const PropertyValue& value) {
    return std::visit(
        [](const auto& v) -> json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, PropertyValue::Data>) {
                return json::binary(v);
            } else if constexpr (std::is_same_v<T, PropertyValue::Array>) {
                json array = json::array();
                for (const PropertyValue& element : v) {
                    array.push_back(toJson(element));
                }
                return array;
            } else if constexpr (std::is_same_v<T, PropertyValue::Dictionary>) {
                json object = json::object();
                for (const auto& [key, element] : v) {
                    object[key] = toJson(element);
                }
                return object;
            } else {
                return json(v);
            }
        },
        value.storage());
}

// Builds the value tree straight from the CBOR events, refusing what a
// well-formed archive never holds.
class TreeBuilder {
  public:
    using binary_t = json::binary_t;

    explicit TreeBuilder(std::size_t size) : size_(size) {}

    bool null() { return put(nullptr); }
    bool boolean(bool v) { return put(v); }
    bool number_integer(std::int64_t v) { return put(v); }
    bool number_unsigned(std::uint64_t v) {
        if (v > static_cast<std::uint64_t>(INT64_MAX)) {
            return fail("integer out of range");
        }
        return put(static_cast<std::int64_t>(v));
    }
    bool number_float(double v, const std::string&) { return put(v); }
    bool string(std::string& v) { return put(std::move(v)); }
    bool binary(binary_t& v) { return put(PropertyValue::Data(v.begin(), v.end())); }

    bool start_object(std::size_t count) { return open(count, true); }
    bool key(std::string& k) {
        stack_.back().key = std::move(k);
        return true;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t count) { return open(count, false); }
    bool end_array() { return close(); }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) {
        if (error_.empty()) {
            error_ = "malformed archive at byte " + std::to_string(position) + ": " + e.what();
        }
        return false;
    }

    Unarchived result() {
        if (!error_.empty() || !root_) {
            return {std::nullopt, error_.empty() ? "empty archive" : error_};
        }
        return {std::move(root_), {}};
    }

  private:
    struct Frame {
        bool isDictionary;
        PropertyValue::Array array;
        PropertyValue::Dictionary dictionary;
        std::string key;
    };

    bool fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
        return false;
    }

    bool open(std::size_t count, bool isDictionary) {
        if (stack_.size() >= kMaxArchiveDepth) {
            return fail("archive nested deeper than " + std::to_string(kMaxArchiveDepth) +
                        " levels");
        }
        // Every element takes at least one byte: longer claims are lies.
        if (count != static_cast<std::size_t>(-1) && count > size_) {
            return fail("archive claims more elements than it holds");
        }
        stack_.push_back(Frame{isDictionary, {}, {}, {}});
        return true;
    }

    bool close() {
        Frame frame = std::move(stack_.back());
        stack_.pop_back();
        if (frame.isDictionary) {
            return put(std::move(frame.dictionary));
        }
        return put(std::move(frame.array));
    }

    bool put(PropertyValue value) {
        if (stack_.empty()) {
            root_ = std::move(value);
            return true;
        }
        Frame& frame = stack_.back();
        if (!frame.isDictionary) {
            frame.array.push_back(std::move(value));
            return true;
        }
        if (!frame.dictionary.emplace(std::move(frame.key), std::move(value)).second) {
            return fail("archive repeats a key");
        }
        return true;
    }

    std::size_t size_;
    std::vector<Frame> stack_;
    std::optional<PropertyValue> root_;
    std::string error_;
};

// Walks the CBOR items without recursion and refuses, before any decoder
// sees them, what our archives never hold: indefinite lengths (whose nested
// chunks would make a recursive decoder overflow its stack), tags inside,
// reserved or undefined simple values, nesting deeper than the limit, and
// lengths or counts longer than the data.
std::optional<std::string> checkStructure(std::span<const std::uint8_t> bytes) {
    std::size_t position = 0;
    auto argument = [&](std::uint8_t info, std::uint64_t& value) {
        if (info < 24) {
            value = info;
            return true;
        }
        if (info > 27) {
            return false;
        }
        std::size_t size = std::size_t{1} << (info - 24);
        if (bytes.size() - position < size) {
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value = value << 8 | bytes[position++];
        }
        return true;
    };
    std::vector<std::uint64_t> pending{1};
    while (!pending.empty()) {
        if (pending.back() == 0) {
            pending.pop_back();
            continue;
        }
        --pending.back();
        if (position >= bytes.size()) {
            return "the archive is truncated";
        }
        std::uint8_t initial = bytes[position++];
        std::uint8_t major = initial >> 5, info = initial & 31;
        std::uint64_t value = 0;
        if (major == 7) {
            bool simple = info == 20 || info == 21 || info == 22;
            bool number = info >= 25 && info <= 27 && argument(info, value);
            if (!simple && !number) {
                return "the archive holds a value Velo does not write";
            }
            continue;
        }
        if (major == 6 || !argument(info, value)) {
            return "the archive holds a tag or an indefinite length";
        }
        std::size_t remaining = bytes.size() - position;
        if ((major == 2 || major == 3) && value > remaining) {
            return "the archive claims more bytes than it holds";
        }
        if (major == 2 || major == 3) {
            position += static_cast<std::size_t>(value);
        } else if (major == 4 || major == 5) {
            if (value > remaining) {
                return "the archive claims more elements than it holds";
            }
            if (pending.size() - 1 >= kMaxArchiveDepth) {
                return "archive nested deeper than " + std::to_string(kMaxArchiveDepth) + " levels";
            }
            pending.push_back(major == 5 ? 2 * value : value);
        }
    }
    if (position != bytes.size()) {
        return "the archive has bytes after its end";
    }
    return std::nullopt;
}

bool readComponents(const PropertyValue::Array& array, std::vector<float>& out) {
    for (const PropertyValue& element : array) {
        const double* real = element.asReal();
        const std::int64_t* integer = element.asInteger();
        if (!real && !integer) {
            return false;
        }
        double v = real ? *real : static_cast<double>(*integer);
        // Components are finite single-precision values.
        if (!(std::abs(v) <= std::numeric_limits<float>::max()) ||
            static_cast<double>(static_cast<float>(v)) != v) {
            return false;
        }
        out.push_back(static_cast<float>(v));
    }
    return true;
}

UnarchivedColor colorFromValue(const PropertyValue& value) {
    if (value.isNull()) {
        return {true, nullptr, {}};
    }
    const PropertyValue* space = value.find("space");
    const PropertyValue* components = value.find("components");
    if (!value.asDictionary() || value.asDictionary()->size() != 2 || !space ||
        !space->asString() || !components || !components->asArray()) {
        return {false, nullptr, "not a colour archive"};
    }
    std::vector<float> values;
    if (!readComponents(*components->asArray(), values)) {
        return {false, nullptr, "colour components are not finite numbers"};
    }
    int expected = Color::componentCountOf(*space->asString());
    if ((expected >= 0 && static_cast<int>(values.size()) != expected) || values.size() > 32) {
        return {false, nullptr, "wrong number of colour components"};
    }
    return {true, Color::colorWithColorSpace(*space->asString(), std::move(values)), {}};
}

} // namespace

PropertyValue::Data archivedDataWithRootObject(const PropertyValue& root) {
    PropertyValue::Data bytes(std::begin(kMagic), std::end(kMagic));
    json::to_cbor(toJson(root), bytes);
    return bytes;
}

Unarchived unarchiveObjectWithData(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < sizeof kMagic ||
        !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
        return {std::nullopt, "not a Velo archive (the CBOR tag 55799 is missing)"};
    }
    auto body = bytes.subspan(sizeof kMagic);
    if (auto problem = checkStructure(body)) {
        return {std::nullopt, "malformed archive: " + *problem};
    }
    TreeBuilder builder(body.size());
    try {
        json::sax_parse(body.begin(), body.end(), &builder, json::input_format_t::cbor, true);
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "not enough memory to read the archive"};
    } catch (const std::exception& e) {
        return {std::nullopt, std::string("malformed archive: ") + e.what()};
    }
    return builder.result();
}

PropertyValue::Data archivedColor(const ColorRef& color) {
    if (!color) {
        return archivedDataWithRootObject(nullptr);
    }
    PropertyValue::Array components;
    for (float f : color->components()) {
        components.emplace_back(static_cast<double>(f));
    }
    return archivedDataWithRootObject(PropertyValue::Dictionary{
        {"space", color->colorSpaceName()}, {"components", std::move(components)}});
}

UnarchivedColor unarchiveColor(std::span<const std::uint8_t> bytes) {
    Unarchived archive = unarchiveObjectWithData(bytes);
    if (!archive.value) {
        return {false, nullptr, archive.error};
    }
    return colorFromValue(*archive.value);
}

} // namespace velo
