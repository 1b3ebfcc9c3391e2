#pragma once
// The main window of a widget test: settings in memory, scripted prompts, one printer and
// no transfer running, started on the source data folder. Tests that write beside the
// data (structure names, temporary files) move the data folder to a temporary one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <filesystem>
#include <memory>
#include <string>

#include "app/widgets/main_window.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "document/widgets/child_form.h"
#include "files/widgets/file_commands_qt.h"
#include "reports/widgets/modal_runner.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro::testing {

class MainWindowFixture : public ::testing::Test {
  protected:
    MainWindowFixture() {
        services.settings = &store;
        services.prompts = &prompts;
        services.printerCount = [] { return 1; };
        services.portOpen = [] { return false; };
        TfrmChildForm::setDefaultCloseQuestion({});
    }

    // Makes the window from `services` and starts it; a failed start fails the test.
    void startWindow(const StartupOptions& options = {}) {
        window = std::make_unique<TfrmMainForm>(services);
        ASSERT_TRUE(window->start(PELVORO_SOURCE_DATA_DIR, options));
    }

    // The data folder becomes the temporary folder `dir`, holding the structure names;
    // documents open at once.
    void useTemporaryDataFolder() {
        appEnvironment().dataDir = dir.path();
        std::filesystem::copy_file(std::string(PELVORO_SOURCE_DATA_DIR) + "/StructureNames.ini",
                                   dir.file("StructureNames.ini"));
        setStartDocumentWait(0);
    }

    // A copy of the demo document in `dir`.
    std::string copyDemo() {
        const std::string demo = dir.file("Demo.TMV");
        std::filesystem::copy_file(std::string(PELVORO_SOURCE_DATA_DIR) + "/Demo.TMV", demo);
        return demo;
    }

    // Document windows close first, every question answered No, as the exit does; then
    // the main window goes and the process-wide hooks are reset.
    void TearDown() override {
        setModalRunner(nullptr);
        if (window) {
            prompts.answers.assign(16, Answer::No);
            window->mdiArea()->closeAllSubWindows();
            settle();
        }
        window.reset();
        TfrmChildForm::setDefaultCloseQuestion({});
        TfrmChildForm::setResultsAreaFactory({});
        TfrmChildForm::setDefaultSelectionHook({});
        setCurrentLanguageFile(nullptr);
    }

    void settle() {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    TfrmChildForm* activeForm() { return childFormOf(window->activeDocumentView()); }

    TfrmMainForm::Services services;
    TempDir dir;
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    std::unique_ptr<TfrmMainForm> window;
};

}  // namespace pelvoro::testing
