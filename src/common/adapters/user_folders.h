#pragma once
// The folders the file dialogs start in: the one last used for a kind of file, kept in
// the settings store, and the user's documents folder before any was used.

#include <string>

namespace pelvoro {

class SettingsStore;

// The user's documents folder (the home folder when the system names none).
std::string userDocumentsFolder();

// The folder stored under `settingName` while it still exists, else `fallback`.
std::string rememberedFolder(SettingsStore& settings, const char* settingName,
                             const std::string& fallback);
void rememberFolder(SettingsStore& settings, const char* settingName, const std::string& folder);

// Setting names of the remembered folders.
inline constexpr const char* kDocumentFolderSetting = "DocumentFolder";
inline constexpr const char* kExportFolderSetting = "ExportFolder";

}  // namespace pelvoro
