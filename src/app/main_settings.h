#pragma once
// The main window's state that lives in the settings store: the selected model, the
// recent files and the toolbar check marks.

#include <string>
#include <string_view>
#include <vector>

#include "common/recent_files.h"
#include "common/settings_store.h"

namespace pelvoro {

struct ToolbarChecks {
    bool standard = true;    // "mmStandard"
    bool structInst = true;  // "mmStructInst_AN"
    bool report = true;      // "mmReport"
};

struct MainWindowState {
    std::string checkedModel = "AutoFind";  // key of the checked model entry, empty for none
    int modelFamily = 0;
    RecentFiles recentFiles;
    ToolbarChecks toolbars;
};

// Checks a model entry and sets its model family.
void selectModel(MainWindowState& state, const std::string& key);

// name: "InstrModel", "LastOpFiles" or "TollBar".
void saveSetting(SettingsStore& settings, const MainWindowState& state, std::string_view name);
// name: "InstrModel" or "LastOpFiles". Missing values leave the state as it is.
void loadSetting(const SettingsStore& settings, MainWindowState& state, std::string_view name);

}  // namespace pelvoro
