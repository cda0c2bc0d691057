#include "ui/ToolbarItems.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace velo::toolbar {

namespace {

struct Item {
    const char* identifier;
    const char* label;
    const char* paletteLabel;
};

// In the order the customisation offers them; the texts are translated
// where they are asked for.
constexpr std::array kItems{
    Item{kToggleDrawer, QT_TRANSLATE_NOOP("ToolbarItems", "Color adjustments"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Color adjustments")},
    Item{kToggleImage, QT_TRANSLATE_NOOP("ToolbarItems", "Show original"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Toggle Show Original/adjusted image")},
    Item{kZoom, QT_TRANSLATE_NOOP("ToolbarItems", "set zoom"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Set zoom")},
    Item{kBgColor, QT_TRANSLATE_NOOP("ToolbarItems", "bg color"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Background color")},
    Item{kInfluence, QT_TRANSLATE_NOOP("ToolbarItems", "Influence"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Show influence")},
    Item{kSplit, QT_TRANSLATE_NOOP("ToolbarItems", "Split"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Split original and result")},
    Item{kShowColors, QT_TRANSLATE_NOOP("ToolbarItems", "Colors"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Colors")},
    Item{kCustomize, QT_TRANSLATE_NOOP("ToolbarItems", "Customize"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Customize")},
    Item{kPrint, QT_TRANSLATE_NOOP("ToolbarItems", "Print"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Print")},
    Item{kSeparator, QT_TRANSLATE_NOOP("ToolbarItems", "Separator"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Separator")},
    Item{kSpace, QT_TRANSLATE_NOOP("ToolbarItems", "Space"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Space")},
    Item{kFlexibleSpace, QT_TRANSLATE_NOOP("ToolbarItems", "Flexible Space"),
         QT_TRANSLATE_NOOP("ToolbarItems", "Flexible Space")},
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
    return item ? QCoreApplication::translate("ToolbarItems", item->label).toStdString() : "";
}

std::string paletteLabel(const std::string& identifier) {
    const Item* item = find(identifier);
    return item ? QCoreApplication::translate("ToolbarItems", item->paletteLabel).toStdString()
                : "";
}

} // namespace velo::toolbar
