#include "ui/ToolbarItems.h"

#include <algorithm>
#include <array>

namespace velo::toolbar {

namespace {

struct Item {
    const char* identifier;
    const char* label;
    const char* paletteLabel;
};

// In the order the customisation offers them.
constexpr std::array kItems{
    Item{kToggleDrawer, "Color adjustments", "Color adjustments"},
    Item{kToggleImage, "Show original", "Toggle Show Original/adjusted image"},
    Item{kZoom, "set zoom", "Set zoom"},
    Item{kBgColor, "bg color", "Background color"},
    Item{kInfluence, "Influence", "Show influence"},
    Item{kShowColors, "Colors", "Colors"},
    Item{kCustomize, "Customize", "Customize"},
    Item{kPrint, "Print", "Print"},
    Item{kSeparator, "Separator", "Separator"},
    Item{kSpace, "Space", "Space"},
    Item{kFlexibleSpace, "Flexible Space", "Flexible Space"},
};

const Item* find(const std::string& identifier) {
    auto it = std::find_if(kItems.begin(), kItems.end(), [&identifier](const Item& item) {
        return identifier == item.identifier;
    });
    return it == kItems.end() ? nullptr : &*it;
}

bool contains(const std::vector<std::string>& identifiers, const std::string& identifier) {
    return std::find(identifiers.begin(), identifiers.end(), identifier) != identifiers.end();
}

} // namespace

const std::vector<std::string>& defaultItemIdentifiers() {
    static const std::vector<std::string> identifiers{kToggleDrawer, kShowColors, kToggleImage,
                                                      kFlexibleSpace, kCustomize};
    return identifiers;
}

const std::vector<std::string>& allowedItemIdentifiers() {
    static const std::vector<std::string> identifiers = [] {
        std::vector<std::string> all;
        for (const Item& item : kItems) {
            all.emplace_back(item.identifier);
        }
        return all;
    }();
    return identifiers;
}

bool isRepeatable(const std::string& identifier) {
    return identifier == kSeparator || identifier == kSpace || identifier == kFlexibleSpace;
}

std::vector<std::string> sanitizedItemIdentifiers(const std::vector<std::string>& identifiers) {
    std::vector<std::string> sane;
    for (const std::string& identifier : identifiers) {
        bool usable = find(identifier) && (isRepeatable(identifier) || !contains(sane, identifier));
        if (usable) {
            sane.push_back(identifier);
        }
    }
    return sane;
}

std::vector<std::string> availableItemIdentifiers(const std::vector<std::string>& identifiers) {
    std::vector<std::string> available;
    for (const std::string& identifier : allowedItemIdentifiers()) {
        if (isRepeatable(identifier) || !contains(identifiers, identifier)) {
            available.push_back(identifier);
        }
    }
    return available;
}

std::string label(const std::string& identifier) {
    const Item* item = find(identifier);
    return item ? item->label : "";
}

std::string paletteLabel(const std::string& identifier) {
    const Item* item = find(identifier);
    return item ? item->paletteLabel : "";
}

} // namespace velo::toolbar
