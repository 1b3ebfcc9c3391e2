#pragma once
// The program's identity and the state of this run that every part reads: the data
// folder, the language chosen at start and its files.

#include <string>

#include "common/codepage.h"

namespace pelvoro {

namespace identity {
inline constexpr const char* kBrandTitle = "Tamvisto";
inline constexpr const char* kVersion = "2.1";
inline constexpr const char* kInternalName = "Pelvoro";
inline constexpr const char* kMainIniName = "Tamvisto_Main.ini";
inline constexpr const char* kDefaultHelpFile = "Tamvisto HELP.chm";
inline constexpr const char* kDocumentFilter = "Tamvisto Files (*.TMV)|*.TMV";
inline constexpr const char* kSaveDefaultExtension = "PLV";
inline constexpr const char* kImportFilter = "Files (*.KRD)|*.KRD";
inline constexpr const char* kResultsFolder = "Results";
inline constexpr const char* kDefaultLanguage = "ENGLISH";
inline constexpr const char* kDefaultLanguageFile = "English.ini";
}  // namespace identity

// Set once at start, read-only afterwards.
struct AppEnvironment {
    std::string dataDir;  // folder of the data files (the executable's folder by default)
    std::string language = identity::kDefaultLanguage;
    std::string languageFile = identity::kDefaultLanguageFile;
    std::string helpFile;  // full path
    std::string logoImage;
    CodePage codePage = CodePage::Windows1252;
    // The folder "Results" when it is not the one in the data folder: an installed
    // program keeps it in the user's own data folder.
    std::string resultsFolder;

    std::string mainIniPath() const { return dataPath(identity::kMainIniName); }
    std::string languageFilePath() const { return dataPath(languageFile); }
    std::string resultsDir() const {
        return resultsFolder.empty() ? dataPath(identity::kResultsFolder) : resultsFolder;
    }
    // A name relative to the data folder.
    std::string dataPath(const std::string& name) const;
};

AppEnvironment& appEnvironment();

}  // namespace pelvoro
