#include "app/exit_sequence.h"

#include "common/lang_text.h"

namespace pelvoro {

bool requestExit(ExitHost& host, Prompts& prompts, SettingsStore& settings,
                 MainWindowState& state) {
    if (prompts.askYesNo(LangText("mbcConfirmation_20"), LangText("msgTerminate_35")) !=
        Answer::Yes)
        return false;
    int rounds = host.documentWindowCount();
    for (int i = 0; i < rounds; ++i) {
        int before = host.documentWindowCount();
        if (!host.closeActiveDocumentWindow()) break;
        host.processEvents();
        if (host.documentWindowCount() >= before) return false;  // the user kept it open
    }
    if (host.documentWindowCount() != 0) return false;
    saveSetting(settings, state, "InstrModel");
    saveSetting(settings, state, "LastOpFiles");
    state.recentFiles.clear();
    host.processEvents();
    host.terminate();
    return true;
}

}  // namespace pelvoro
