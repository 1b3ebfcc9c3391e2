#pragma once
// The settings store on QSettings. On Windows the values live under
// HKEY_CURRENT_USER\Software\Tamvisto; elsewhere in a small typed text file,
// <config folder>/Software/Tamvisto.conf, whose lines keep each value's type
// ("Language=s:ENGLISH", "LangIndex=i:0", "mmReport=b:true").

#include <QSettings>
#include <memory>

#include "common/settings_store.h"

namespace pelvoro {

class QtSettingsStore : public SettingsStore {
  public:
    // The brand's per-user store.
    QtSettingsStore();
    // A store in an explicit file (tests, portable use).
    explicit QtSettingsStore(const QString& filePath);

    bool available() const override;
    bool keyExists() const override { return existedAtStart_; }
    std::optional<SettingValue> value(const std::string& name) const override;
    void setValue(const std::string& name, const SettingValue& value) override;
    void remove(const std::string& name) override;
    void flush() override;

    QString location() const { return settings_->fileName(); }

  private:
    std::unique_ptr<QSettings> settings_;
    bool existedAtStart_ = false;
};

// The typed text format (registered once).
QSettings::Format typedSettingsFormat();

}  // namespace pelvoro
