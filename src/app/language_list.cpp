#include "app/language_list.h"

#include <filesystem>

#include "common/identity.h"
#include "common/lang_text.h"

namespace pelvoro {

namespace {
std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    return (std::filesystem::path(dir) / name).string();
}
}  // namespace

StartupLanguage chooseStartupLanguage(SettingsStore& settings, const IniFile& mainIni,
                                      const std::string& dataDir) {
    StartupLanguage r;
    auto stored = settings.available() ? settings.readString("Language") : std::nullopt;
    if (stored) {
        r.language = *stored;
        r.languageFile = mainIni.value(r.language, "file", identity::kDefaultLanguageFile);
        r.helpFile = joinPath(dataDir, mainIni.value(r.language, "helpfile", ""));
    } else {
        r.language = identity::kDefaultLanguage;
        if (settings.available()) {
            settings.writeString("Language", identity::kDefaultLanguage);
            settings.writeInt("LangIndex", 0);
            r.wroteDefaults = true;
        }
        r.languageFile =
            mainIni.value(identity::kDefaultLanguage, "file", identity::kDefaultLanguageFile);
        r.helpFile = joinPath(dataDir, identity::kDefaultHelpFile);
    }
    r.codepage = mainIni.value(r.language, "codepage", "");
    return r;
}

LanguageList buildLanguageList(const IniFile& mainIni, const std::string& dataDir,
                               const std::string& currentLanguage) {
    LanguageList list;
    if (!mainIni.hasSection(currentLanguage)) {
        list.currentLanguageMissing = true;
        LanguageEntry e;
        e.section = identity::kDefaultLanguage;
        e.file = identity::kDefaultLanguageFile;
        e.dispname = LangText("rgLangEn_15");
        list.entries.push_back(e);
        return list;
    }
    const auto& sections = mainIni.sections();
    for (size_t i = 1; i < sections.size(); ++i) {
        const std::string& name = sections[i].name;
        LanguageEntry e;
        e.section = name;
        e.file = mainIni.value(name, "file", "");
        e.dispname = mainIni.value(name, "dispname", "");
        e.helpfile = mainIni.value(name, "helpfile", "");
        e.codepage = mainIni.value(name, "codepage", "");
        std::error_code ec;
        if (e.file.empty() || !std::filesystem::is_regular_file(joinPath(dataDir, e.file), ec))
            continue;
        list.entries.push_back(e);
    }
    return list;
}

int preselectedLanguageIndex(const SettingsStore& settings) {
    if (!settings.available()) return 0;
    return settings.readInt("LangIndex").value_or(0);
}

bool applyLanguageChoice(SettingsStore& settings, const LanguageList& list, int index,
                         Prompts& prompts) {
    if (index < 0 || index >= int(list.entries.size())) return false;
    auto stored = settings.readInt("LangIndex");
    if (stored && *stored == index) return false;
    settings.writeInt("LangIndex", index);
    settings.writeString("Language", list.entries[index].section);
    settings.flush();
    prompts.information(LangText("msgChangeLanguage_70"));
    return true;
}

}  // namespace pelvoro
