#pragma once

#include "platform/PropertyValue.h"

#include <optional>
#include <string>

namespace velo {

// The user's stored preferences, by key. A stored value that cannot be read
// counts as no value.
class UserDefaults {
  public:
    virtual ~UserDefaults() = default;
    virtual std::optional<PropertyValue> objectForKey(const std::string& key) const = 0;
    virtual void setObject(const std::string& key, const PropertyValue& value) = 0;
    virtual void removeObjectForKey(const std::string& key) = 0;
    // Why the last change could not be stored, naming the file; empty once
    // it was.
    virtual std::string writeError() const { return {}; }
};

} // namespace velo
