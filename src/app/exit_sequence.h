#pragma once
// Ending the program: confirm, close every document window (each may ask to save),
// store the model and the recent files.

#include "app/main_settings.h"
#include "common/prompts.h"
#include "common/settings_store.h"

namespace pelvoro {

class ExitHost {
  public:
    virtual ~ExitHost() = default;
    virtual int documentWindowCount() = 0;
    // Asks the active document window to close; false when there is none.
    virtual bool closeActiveDocumentWindow() = 0;
    virtual void processEvents() = 0;
    virtual void terminate() = 0;
};

// Returns true when the program ends.
bool requestExit(ExitHost& host, Prompts& prompts, SettingsStore& settings, MainWindowState& state);

}  // namespace pelvoro
