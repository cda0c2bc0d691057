#pragma once

#include <string>

namespace velo {

// The core's user-visible text for an English key (action names, messages,
// menu titles the document decides). Velo ships in English only, so this is
// the key itself. The ui's own texts go through Qt's tr() instead.
inline std::string localizedString(const std::string& key) {
    return key;
}

} // namespace velo
