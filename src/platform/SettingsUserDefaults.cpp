#include "platform/SettingsUserDefaults.h"

#include "platform/Archiver.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velo {

namespace {

// QSettings says only that it failed; the folder's file system says why.
std::string whyFolderRefusesWrites(const std::filesystem::path& file) {
    struct statvfs system {};
    if (::statvfs(file.parent_path().c_str(), &system) != 0) {
        return std::strerror(errno);
    }
    if (system.f_flag & ST_RDONLY) {
        return std::strerror(EROFS);
    }
    if (system.f_bavail == 0 || system.f_favail == 0) {
        return std::strerror(ENOSPC);
    }
    return ::access(file.parent_path().c_str(), W_OK) != 0 ? std::strerror(errno)
                                                           : "the file could not be replaced";
}

} // namespace

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
    store();
}

void SettingsUserDefaults::removeObjectForKey(const std::string& key) {
    settings_->remove(QString::fromStdString(key));
    store();
}

void SettingsUserDefaults::store() {
    settings_->sync();
    writeError_.clear();
    if (settings_->status() == QSettings::AccessError) {
        std::filesystem::path file = settings_->fileName().toStdString();
        writeError_ = "cannot write " + file.string() + ": " + whyFolderRefusesWrites(file);
    }
}

} // namespace velo
