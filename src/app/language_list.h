#pragma once
// The language list file and the choice of language: at start (which language this
// run speaks) and in the Language dialog (which one the next run will speak).

#include <string>
#include <vector>

#include "common/ini_file.h"
#include "common/prompts.h"
#include "common/settings_store.h"

namespace pelvoro {

struct LanguageEntry {
    std::string section;   // "ENGLISH", kept in "Language"
    std::string file;      // language file, relative to the data folder
    std::string dispname;  // shown in the dialog
    std::string helpfile;
    std::string codepage;  // optional: the code page of the language file
};

struct StartupLanguage {
    std::string language;
    std::string languageFile;
    std::string helpFile;  // full path
    std::string codepage;
    bool wroteDefaults = false;
};

// Decides the language of this run from "Language"; on a first run (or without a
// store) falls back to ENGLISH and writes "Language" = "ENGLISH", "LangIndex" = 0.
StartupLanguage chooseStartupLanguage(SettingsStore& settings, const IniFile& mainIni,
                                      const std::string& dataDir);

struct LanguageList {
    std::vector<LanguageEntry> entries;
    // The current language had no section: the dialog offers only ENGLISH.
    bool currentLanguageMissing = false;
};

// The sections after the first whose language file exists, in file order.
LanguageList buildLanguageList(const IniFile& mainIni, const std::string& dataDir,
                               const std::string& currentLanguage);

// Index to preselect: "LangIndex", or 0.
int preselectedLanguageIndex(const SettingsStore& settings);

// OK in the Language dialog: stores the choice and tells the user it takes effect at
// the next start. Choosing the stored language does nothing. Returns true when stored.
bool applyLanguageChoice(SettingsStore& settings, const LanguageList& list, int index,
                         Prompts& prompts);

}  // namespace pelvoro
