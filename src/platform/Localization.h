#pragma once

#include <string>

// Marks a key where it is written, so lupdate finds it: lupdate is told to
// read this as QT_TRANSLATE_NOOP, which the core cannot include. The context
// is always "Velo", the one localizedString looks in. It is the key itself.
#define VELO_TRANSLATE_NOOP(context, key) key

namespace velo {

// The core's user-visible text for an English key (action names, messages,
// menu titles the document decides) in the language of the translators the
// application installed: the key itself when there are none, as on the
// command line. Keys with placeholders ("%@") are translated whole, then filled.
// The ui's own texts go through Qt's tr() instead.
std::string localizedString(const std::string& key);

// The pattern with its "%@" placeholders replaced by the arguments in order.
std::string format(const std::string& pattern, const std::string& first,
                   const std::string& second = {});

} // namespace velo
