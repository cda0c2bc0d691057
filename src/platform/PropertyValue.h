#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace velo {

// The value tree of property lists and archives: dictionaries keyed by
// string, arrays, strings, numbers (integer or real), booleans and data.
// Null stands for an absent object.
class PropertyValue {
  public:
    using Dictionary = std::map<std::string, PropertyValue>;
    using Array = std::vector<PropertyValue>;
    using Data = std::vector<std::uint8_t>;
    using Storage = std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, Data,
                                 Array, Dictionary>;

    PropertyValue() : storage_(nullptr) {}
    PropertyValue(std::nullptr_t) : storage_(nullptr) {}
    PropertyValue(bool v) : storage_(v) {}
    PropertyValue(int v) : storage_(std::int64_t{v}) {}
    PropertyValue(std::int64_t v) : storage_(v) {}
    PropertyValue(double v) : storage_(v) {}
    PropertyValue(const char* v) : storage_(std::string(v)) {}
    PropertyValue(std::string v) : storage_(std::move(v)) {}
    PropertyValue(Data v) : storage_(std::move(v)) {}
    PropertyValue(Array v) : storage_(std::move(v)) {}
    PropertyValue(Dictionary v) : storage_(std::move(v)) {}

    const Storage& storage() const { return storage_; }

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(storage_); }
    const bool* asBool() const { return std::get_if<bool>(&storage_); }
    const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&storage_); }
    const double* asReal() const { return std::get_if<double>(&storage_); }
    const std::string* asString() const { return std::get_if<std::string>(&storage_); }
    const Data* asData() const { return std::get_if<Data>(&storage_); }
    const Array* asArray() const { return std::get_if<Array>(&storage_); }
    const Dictionary* asDictionary() const { return std::get_if<Dictionary>(&storage_); }

    // The value under key of a dictionary, or null when absent or not a dictionary.
    const PropertyValue* find(const std::string& key) const;

    bool operator==(const PropertyValue& other) const { return storage_ == other.storage_; }

  private:
    Storage storage_;
};

} // namespace velo
