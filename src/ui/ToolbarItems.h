#pragma once

#include <string>
#include <vector>

// The document window's toolbar items by identifier: which exist, which a new
// toolbar shows, and what they are called. The configuration is stored as a
// list of these identifiers.
namespace velo::toolbar {

// The application's own items.
inline constexpr const char* kToggleDrawer = "toggleDrawer";
inline constexpr const char* kToggleImage = "toggleImage";
inline constexpr const char* kInfluence = "influence";
inline constexpr const char* kSplit = "split";
inline constexpr const char* kZoom = "zoom";
inline constexpr const char* kBgColor = "bgColor";

// The common items every toolbar offers.
inline constexpr const char* kShowColors = "showColors";
inline constexpr const char* kCustomize = "customize";
inline constexpr const char* kPrint = "print";
inline constexpr const char* kSeparator = "separator";
inline constexpr const char* kSpace = "space";
inline constexpr const char* kFlexibleSpace = "flexibleSpace";

const std::vector<std::string>& defaultItemIdentifiers();
const std::vector<std::string>& allowedItemIdentifiers();

// Separators and spaces may appear any number of times; every other item once.
bool isRepeatable(const std::string& identifier);

// The list without unknown identifiers and without repeats of the items that
// appear once, so that a damaged configuration still gives a usable toolbar.
std::vector<std::string> sanitizedItemIdentifiers(const std::vector<std::string>& identifiers);

// The allowed items that can still be added to a toolbar showing these.
std::vector<std::string> availableItemIdentifiers(const std::vector<std::string>& identifiers);

// The text under the item in the toolbar, and its name where items are
// chosen, in the window's language; empty for an unknown identifier.
std::string label(const std::string& identifier);
std::string paletteLabel(const std::string& identifier);

} // namespace velo::toolbar
