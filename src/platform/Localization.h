#pragma once

#include <string>

namespace velo {

// The user-visible text for an English key. Velo ships in English only, so
// this is the key itself; every such text goes through here.
inline std::string localizedString(const std::string& key) {
    return key;
}

} // namespace velo
