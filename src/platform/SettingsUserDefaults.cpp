#include "platform/SettingsUserDefaults.h"

#include "platform/Archiver.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

namespace velo {

SettingsUserDefaults::SettingsUserDefaults(std::optional<std::filesystem::path> folder) {
    if (folder) {
        QString file = QString::fromStdString((*folder / "Velo.conf").string());
        settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
    } else {
        settings_ =
            std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Velo", "Velo");
    }
}

SettingsUserDefaults::~SettingsUserDefaults() = default;

std::optional<PropertyValue> SettingsUserDefaults::objectForKey(const std::string& key) const {
    QVariant stored = settings_->value(QString::fromStdString(key));
    if (stored.typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    QByteArray bytes = stored.toByteArray();
    Unarchived value =
        unarchiveObjectWithData({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())});
    return value.value;
}

void SettingsUserDefaults::setObject(const std::string& key, const PropertyValue& value) {
    PropertyValue::Data bytes = archivedDataWithRootObject(value);
    settings_->setValue(QString::fromStdString(key),
                        QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
    settings_->sync();
}

void SettingsUserDefaults::removeObjectForKey(const std::string& key) {
    settings_->remove(QString::fromStdString(key));
    settings_->sync();
}

} // namespace velo
