#pragma once
// The per-user settings store: flat named values of three types (string, integer,
// boolean) under one key named after the brand title.

#include <map>
#include <optional>
#include <string>
#include <variant>

namespace pelvoro {

using SettingValue = std::variant<std::string, int, bool>;

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // False when the key could not be opened (readers then skip every value).
    virtual bool available() const = 0;
    // True when the key already existed before this run wrote anything.
    virtual bool keyExists() const = 0;

    virtual std::optional<SettingValue> value(const std::string& name) const = 0;
    virtual void setValue(const std::string& name, const SettingValue& value) = 0;
    virtual void remove(const std::string& name) = 0;
    // Makes what was written durable (the QSettings backend syncs to disk).
    virtual void flush() {}

    // Typed reads: a missing value, or one stored with another type, is absent.
    std::optional<std::string> readString(const std::string& name) const;
    std::optional<int> readInt(const std::string& name) const;
    std::optional<bool> readBool(const std::string& name) const;
    bool contains(const std::string& name) const { return value(name).has_value(); }

    void writeString(const std::string& name, const std::string& v) { setValue(name, v); }
    void writeInt(const std::string& name, int v) { setValue(name, v); }
    void writeBool(const std::string& name, bool v) { setValue(name, v); }
};

// In-memory store: used by tests and by the command-line program when asked not to
// touch the user's settings.
class MemorySettingsStore : public SettingsStore {
  public:
    bool available() const override { return available_; }
    bool keyExists() const override { return !values_.empty(); }
    std::optional<SettingValue> value(const std::string& name) const override;
    void setValue(const std::string& name, const SettingValue& value) override;
    void remove(const std::string& name) override { values_.erase(name); }

    void setAvailable(bool a) { available_ = a; }
    const std::map<std::string, SettingValue>& values() const { return values_; }
    int writeCount() const { return writes_; }

  private:
    std::map<std::string, SettingValue> values_;
    bool available_ = true;
    int writes_ = 0;
};

}  // namespace pelvoro
