#pragma once

#include "platform/Color.h"
#include "platform/PropertyValue.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velo {

// Archives are CBOR (RFC 8949) that begins with the self-described CBOR tag
// 55799, so a file identifies itself by its first three bytes.

PropertyValue::Data archivedDataWithRootObject(const PropertyValue& root);

struct Unarchived {
    std::optional<PropertyValue> value;
    std::string error;
};

// Strict: wrong structure, truncation, trailing bytes, nesting deeper than
// kMaxArchiveDepth or lengths longer than the data give an error, never an
// exception.
Unarchived unarchiveObjectWithData(std::span<const std::uint8_t> bytes);

inline constexpr int kMaxArchiveDepth = 64;

// A colour on its own: {"space": name, "components": [float32...]}; no colour
// archives as null.
PropertyValue::Data archivedColor(const ColorRef& color);

struct UnarchivedColor {
    bool ok = false;
    ColorRef color; // null with ok for an archived absent colour
    std::string error;
};

UnarchivedColor unarchiveColor(std::span<const std::uint8_t> bytes);

} // namespace velo
