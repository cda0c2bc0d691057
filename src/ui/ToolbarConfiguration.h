#pragma once

#include <string>
#include <vector>

class QSettings;

namespace velo {

// The document toolbar's items, in order, as the user last arranged them:
// the default set when nothing usable is stored.
std::vector<std::string> loadToolbarItemIdentifiers(QSettings& settings);
void saveToolbarItemIdentifiers(QSettings& settings, const std::vector<std::string>& identifiers);

} // namespace velo
