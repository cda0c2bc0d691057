#include "platform/PropertyValue.h"

namespace velo {

const PropertyValue* PropertyValue::find(const std::string& key) const {
    const Dictionary* dictionary = asDictionary();
    if (!dictionary) {
        return nullptr;
    }
    auto it = dictionary->find(key);
    return it == dictionary->end() ? nullptr : &it->second;
}

} // namespace velo
