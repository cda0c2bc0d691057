#include "ui/ToolbarConfiguration.h"

#include "ui/ToolbarItems.h"

#include <QSettings>
#include <QStringList>

namespace velo {

namespace {

const char* const kItemsKey = "toolbar/VeloDocument/items";

} // namespace

// The default set until the user chose one; a toolbar the user emptied stays
// empty, and only a list of nothing this version knows falls back.
std::vector<std::string> loadToolbarItemIdentifiers(QSettings& settings) {
    if (!settings.contains(kItemsKey)) {
        return toolbar::defaultItemIdentifiers();
    }
    std::vector<std::string> stored;
    for (const QString& identifier : settings.value(kItemsKey).toStringList()) {
        stored.push_back(identifier.toStdString());
    }
    std::vector<std::string> items = toolbar::sanitizedItemIdentifiers(stored);
    return items.empty() && !stored.empty() ? toolbar::defaultItemIdentifiers() : items;
}

void saveToolbarItemIdentifiers(QSettings& settings, const std::vector<std::string>& identifiers) {
    QStringList items;
    for (const std::string& identifier : toolbar::sanitizedItemIdentifiers(identifiers)) {
        items << QString::fromStdString(identifier);
    }
    settings.setValue(kItemsKey, items);
}

} // namespace velo
