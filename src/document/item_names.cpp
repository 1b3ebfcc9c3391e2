#include "document/item_names.h"

#include <algorithm>
#include <climits>

#include "common/ini_file.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "common/text.h"
#include "document/structure_document.h"

namespace pelvoro {

namespace {

const std::string kEmpty;
const std::vector<std::string> kNoNames;

std::string cut(const std::string& s) {
    return s.substr(0, StructureNames::kMaxNameLength);
}

std::string joinLines(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i) out += '\n';
        out += names[i];
    }
    return out;
}

std::vector<std::string> splitNames(const std::string& text) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\n', start);
        std::string name =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!name.empty() && name.back() == '\r') name.pop_back();
        if (!name.empty()) out.push_back(cut(name));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

}  // namespace

const std::vector<int>& namedItemTypes() {
    static const std::vector<int> types = [] {
        std::vector<int> t;
        for (int c = 1; c <= 14; ++c) t.push_back(c);
        for (int c = 31; c <= 42; ++c) t.push_back(c);
        return t;
    }();
    return types;
}

bool hasStructureName(int type) {
    return (type >= 1 && type <= 14) || (type >= 31 && type <= 42);
}

StructureNames::Entry* StructureNames::entry(int type) {
    return hasStructureName(type) ? &entries_[type] : nullptr;
}
const StructureNames::Entry* StructureNames::entry(int type) const {
    return hasStructureName(type) ? &entries_[type] : nullptr;
}

const std::string& StructureNames::defaultName(int type) const {
    const Entry* e = entry(type);
    return e ? e->defaultName : kEmpty;
}

void StructureNames::setDefaultName(int type, const std::string& name) {
    if (Entry* e = entry(type)) e->defaultName = cut(name);
}

const std::vector<std::string>& StructureNames::alternatives(int type) const {
    const Entry* e = entry(type);
    return e ? e->alternatives : kNoNames;
}

void StructureNames::setAlternatives(int type, std::vector<std::string> names) {
    if (Entry* e = entry(type)) {
        for (auto& n : names) n = cut(n);
        e->alternatives = std::move(names);
    }
}

void StructureNames::addAlternative(int type, const std::string& name) {
    if (Entry* e = entry(type)) e->alternatives.insert(e->alternatives.begin(), cut(name));
}

bool StructureNames::isAlternative(int type, const std::string& name) const {
    const auto& list = alternatives(type);
    return std::find(list.begin(), list.end(), name) != list.end();
}

void StructureNames::clear() {
    entries_ = {};
}

void StructureNames::loadOriginals(const IniFile& ini) {
    for (int type : namedItemTypes()) {
        const IniFile::Section* s = ini.section("NAMES_" + std::to_string(type));
        if (!s) continue;
        Entry& e = entries_[type];
        e = {};
        for (const auto& kv : s->entries) {
            if (equalsIgnoreCase(kv.key, "Default"))
                e.defaultName = cut(kv.value);
            else if (!kv.key.empty())
                e.alternatives.push_back(cut(kv.key));
        }
    }
}

void StructureNames::loadFromStore(const SettingsStore& store) {
    if (!store.available()) return;
    for (int type : namedItemTypes()) {
        std::string code = std::to_string(type);
        auto name = store.readString("StructName_" + code);
        if (!name) continue;
        Entry& e = entries_[type];
        e.defaultName = cut(*name);
        e.alternatives = splitNames(store.readString("StructAltNames_" + code).value_or(""));
    }
}

void StructureNames::storeTo(SettingsStore& store) const {
    for (int type : namedItemTypes()) {
        std::string code = std::to_string(type);
        store.writeString("StructName_" + code, entries_[type].defaultName);
        store.writeString("StructAltNames_" + code, joinLines(entries_[type].alternatives));
    }
    store.flush();
}

StructureNames& structureNames() {
    static StructureNames names;
    return names;
}

std::string DefaultName(int type) {
    return structureNames().defaultName(type);
}

std::string NewItemName(const std::string& base, const StructureItem& parent) {
    long long m = 0;
    for (const auto& child : parent.children()) {
        const std::string& caption = child->caption();
        if (!startsWith(caption, base)) continue;
        std::string rest = caption.substr(base.size());
        if (rest.empty()) continue;
        // A rest that is no number counts as 0.
        m = std::max<long long>(m, parseInt(rest).value_or(0));
    }
    return base + std::to_string(m + 1);
}

std::string NewItemName(int type, const StructureItem& parent) {
    return NewItemName(DefaultName(type), parent);
}

bool NameChosen(StructureNames& names, int type, const std::string& name) {
    if (!names.isAlternative(type, name) || names.defaultName(type) == name) return false;
    names.setDefaultName(type, name);
    return true;
}

bool NameChosen(const StructureItem& item, const std::string& name) {
    return NameChosen(structureNames(), item.type(), name);
}

const std::array<ParameterInfo, kParameterCount>& parameterInfos() {
    static const std::array<ParameterInfo, kParameterCount> infos{{
        {"PHASE", &TItemTexts::Phase},
        {"CROSS_SECTION", &TItemTexts::CrossSection},
        {"WIRING_TYPE", &TItemTexts::Wiring},
        {"INSULATION_TYPE", &TItemTexts::Insulation},
        {"CIRCUIT_BREAKER", &TItemTexts::CircuitBreaker},
        {"TRIPING_TIME", &TItemTexts::TrippingTime},
        {"RCD_TYPE", &TItemTexts::RcdType},
        {"NOM_CURRENT", &TItemTexts::NominalCurrent},
        {"DIFF_CURRENT", &TItemTexts::DiffCurrent},
    }};
    return infos;
}

namespace {
// An index outside the list means the last parameter.
std::string TItemTexts::*parameterMember(int index) {
    if (index < 0 || index >= kParameterCount) index = kParameterCount - 1;
    return parameterInfos()[std::size_t(index)].field;
}
}  // namespace

std::string& parameterField(TStructItemData& d, int index) {
    return d.editTexts().*parameterMember(index);
}

const std::string& parameterField(const TStructItemData& d, int index) {
    return d.texts().*parameterMember(index);
}

ParameterLists LoadParameterLists(const IniFile& ini) {
    ParameterLists lists;
    for (int i = 0; i < kParameterCount; ++i) {
        const IniFile::Section* s = ini.section(parameterInfos()[i].section);
        if (!s) continue;
        for (const auto& kv : s->entries)
            if (!kv.key.empty()) lists[i].push_back(kv.key);
    }
    return lists;
}

ParameterLists LoadParameterLists(const std::string& structureNamesPath) {
    return LoadParameterLists(IniFile::load(structureNamesPath));
}

void loadOriginalInstallationNames(InstallationNames& names) {
    for (int i = 1; i <= 19; ++i) {
        names.connection[i - 1] = LangText("Connect_" + std::to_string(i));
        names.location[i - 1] = LangText("Location_" + std::to_string(i));
    }
}

void loadInstallationNamesFromStore(InstallationNames& names, const SettingsStore& store) {
    if (!store.available()) return;
    for (int i = 0; i < InstallationNames::kConnections; ++i)
        if (auto v = store.readString("Connect_" + std::to_string(i))) names.connection[i] = *v;
    for (int i = 0; i < InstallationNames::kLocations; ++i)
        if (auto v = store.readString("Location_" + std::to_string(i))) names.location[i] = *v;
}

InstallationNames initialInstallationNames(const SettingsStore& store) {
    InstallationNames names;
    if (store.available() && store.contains("Connect_1"))
        loadInstallationNamesFromStore(names, store);
    else
        loadOriginalInstallationNames(names);
    return names;
}

void storeInstallationNames(const InstallationNames& names, SettingsStore& store) {
    for (int i = 0; i < InstallationNames::kConnections; ++i)
        store.writeString("Connect_" + std::to_string(i), names.connection[i]);
    for (int i = 0; i < InstallationNames::kLocations; ++i)
        store.writeString("Location_" + std::to_string(i), names.location[i]);
    store.flush();
}

}  // namespace pelvoro
