#pragma once
// The main window's state that lives in the settings store: the selected model, the
// recent files and the toolbar check marks.

#include <string>
#include <string_view>
#include <vector>

#include "common/settings_store.h"

namespace pelvoro {

class RecentFiles {
  public:
    // Oldest first, newest last.
    const std::vector<std::string>& entries() const { return entries_; }
    int size() const { return int(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // i = 1 is the newest.
    const std::string& newest(int i) const { return entries_[entries_.size() - i]; }
    void append(const std::string& path) { entries_.push_back(path); }
    // Moves a path to the newest place (appending it when it is not listed).
    void touch(const std::string& path);
    void clear() { entries_.clear(); }

  private:
    std::vector<std::string> entries_;
};

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
