#include "common/settings_store.h"

namespace pelvoro {

std::optional<std::string> SettingsStore::readString(const std::string& name) const {
    auto v = value(name);
    if (!v || !std::holds_alternative<std::string>(*v)) return std::nullopt;
    return std::get<std::string>(*v);
}

std::optional<int> SettingsStore::readInt(const std::string& name) const {
    auto v = value(name);
    if (!v || !std::holds_alternative<int>(*v)) return std::nullopt;
    return std::get<int>(*v);
}

std::optional<bool> SettingsStore::readBool(const std::string& name) const {
    auto v = value(name);
    if (!v || !std::holds_alternative<bool>(*v)) return std::nullopt;
    return std::get<bool>(*v);
}

std::optional<SettingValue> MemorySettingsStore::value(const std::string& name) const {
    if (!available_) return std::nullopt;
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemorySettingsStore::setValue(const std::string& name, const SettingValue& value) {
    if (!available_) return;
    values_[name] = value;
    ++writes_;
}

}  // namespace pelvoro
