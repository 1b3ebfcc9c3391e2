#pragma once
// The start sequence of the program, written once against the host that owns the
// windows (the main window, or a test double).

#include <string>

#include "app/language_list.h"
#include "app/main_settings.h"
#include "common/prompts.h"
#include "common/settings_store.h"

namespace pelvoro {

class StartupHost {
  public:
    virtual ~StartupHost() = default;
    virtual SettingsStore& settings() = 0;
    virtual Prompts& prompts() = 0;
    virtual MainWindowState& mainState() = 0;

    // Printers the platform offers (printing to a PDF file counts where it always exists).
    virtual int printerCount() = 0;
    virtual void setMainCaption(const std::string& caption) = 0;
    virtual void applyBrandProfile() = 0;
    // The start without the brand profile: every command that does something is offered.
    virtual void offerAllCommands() {}
    // The model menu shows the state's checked entry.
    virtual void showCheckedModel() = 0;
    virtual void setDocumentFilters(const std::string& filter) = 0;
    virtual void resetDocumentCounters() = 0;
    virtual void refreshCommandState() = 0;
    virtual void configurePortBuffers() = 0;
    virtual void refreshAddItemCommands() = 0;
    virtual void setInitialDirectories(const std::string& folder) = 0;
    // Fills the text-code table, then translates every caption and hint.
    virtual void translateCaptions() = 0;
    virtual void terminate() = 0;
};

struct StartupOptions {
    // Service staff and users of other testers: no hidden commands, no forced model.
    bool allCommands = false;
};

struct StartupOutcome {
    bool terminated = false;
    StartupLanguage language;
};

// Steps 2 to 15 of the start: identity, settings, language, logo, printer check, brand
// profile, forced model, filters, counters, port buffers, add-item commands, recent
// files and model, initial folders, texts. The language file of the chosen language is
// loaded and made current. With `allCommands` the brand profile is not applied and the
// model is not forced: the stored model (Auto Find when none is stored) is checked.
StartupOutcome runStartup(StartupHost& host, const std::string& dataDir,
                          const StartupOptions& options = {});

}  // namespace pelvoro
