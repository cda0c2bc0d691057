#pragma once

#include "platform/UserDefaults.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QSettings;

namespace velo {

// User defaults kept with QSettings: organisation and application "Velo",
// in the user's configuration folder, or in a folder of the caller's choice
// (tests). Values are stored as archives.
class SettingsUserDefaults : public UserDefaults {
  public:
    explicit SettingsUserDefaults(std::optional<std::filesystem::path> folder = std::nullopt);
    ~SettingsUserDefaults() override;

    std::optional<PropertyValue> objectForKey(const std::string& key) const override;
    void setObject(const std::string& key, const PropertyValue& value) override;
    void removeObjectForKey(const std::string& key) override;
    std::string writeError() const override { return writeError_; }

  private:
    void store();

    std::unique_ptr<QSettings> settings_;
    std::string writeError_;
};

} // namespace velo
