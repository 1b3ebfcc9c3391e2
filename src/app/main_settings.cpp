#include "app/main_settings.h"

#include <algorithm>

#include "instrument/models.h"

namespace pelvoro {

void selectModel(MainWindowState& state, const std::string& key) {
    const InstrumentModel* m = modelByKey(key);
    if (!m) return;
    state.checkedModel = m->key;
    state.modelFamily = m->modelFamily;
}

void saveSetting(SettingsStore& settings, const MainWindowState& state, std::string_view name) {
    if (!settings.available()) return;
    if (name == "InstrModel") {
        // The first checked entry in menu order; with one radio group that is the one.
        const InstrumentModel* m = modelByKey(state.checkedModel);
        if (m) settings.writeString("InstrModel", m->settingsValue);
    } else if (name == "LastOpFiles") {
        const RecentFiles& rf = state.recentFiles;
        int n = rf.size();
        if (n == 0) return;
        for (int i = 1; i <= 4; ++i)
            settings.writeString("File_" + std::to_string(i),
                                 i <= n ? rf.newest(i) : std::string());
    } else if (name == "TollBar") {
        settings.writeBool("mmStandard", state.toolbars.standard);
        settings.writeBool("mmStructInst_AN", state.toolbars.structInst);
        settings.writeBool("mmReport", state.toolbars.report);
    }
    settings.flush();
}

void loadSetting(const SettingsStore& settings, MainWindowState& state, std::string_view name) {
    if (!settings.available()) return;
    if (name == "InstrModel") {
        auto v = settings.readString("InstrModel");
        if (!v) return;
        if (const InstrumentModel* m = modelBySettingsValue(*v)) {
            state.checkedModel = m->key;
            if (std::string(m->key) != kAutoFindKey)
                state.modelFamily = m->modelFamily;
            else
                state.modelFamily = 0;
        } else {
            state.checkedModel = kAutoFindKey;
        }
    } else if (name == "LastOpFiles") {
        for (int i = 4; i >= 1; --i) {
            auto v = settings.readString("File_" + std::to_string(i));
            if (v && !v->empty()) state.recentFiles.append(*v);
        }
    }
}

}  // namespace pelvoro
