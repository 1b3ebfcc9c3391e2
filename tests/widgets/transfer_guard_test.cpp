// The main window while a download waits on its tester (the simulator on a pseudo
// terminal, at 1200 baud): whatever the user clicks meanwhile, the download goes on and
// ends with the whole memory, the port is not touched by a second command, no document
// window is opened or closed under it, the program does not end, and a modal dialog that
// holds up the waits for seconds does not make them time out.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <map>

#include "app/widgets/extensions.h"
#include "app/widgets/main_window.h"
#include "document/widgets/child_form.h"
#include "e2e/sim_harness.h"
#include "files/transfer_folder.h"
#include "instrument/instrument_context.h"
#include "instrument/widgets/instrument_commands.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

class TransferGuard : public ::testing::Test {
  protected:
    void start(const std::string& scenario) {
        sim = std::make_unique<e2e::Simulator>(
            std::vector<std::string>{"--scenario", e2e::scenarioPath(scenario), "--baud", "1200"});
        ASSERT_FALSE(sim->device().empty());
        store.writeString("PortDevice1", sim->device());
        store.writeInt("COMPort", 0);
        store.writeInt("BaudRate", 2);  // 1200 baud
        TfrmMainForm::Services s;
        s.settings = &store;
        s.prompts = &prompts;
        s.printerCount = [] { return 1; };
        w = std::make_unique<TfrmMainForm>(s);
        ASSERT_TRUE(w->start(PELVORO_SOURCE_DATA_DIR));
        installExtensions(*w);
        setTransferFolder(results.path());
        w->show();
    }
    // A modal dialog open for `seconds` from `at` seconds on: the waits of the link stand
    // still meanwhile, as they do behind any dialog the user opens.
    void modalAt(int atMs, int forMs) {
        QTimer::singleShot(atMs, w.get(), [this, forMs] {
            QDialog dialog(w.get());
            QTimer::singleShot(forMs, &dialog, &QDialog::accept);
            dialog.exec();
            ++modalsShown;
        });
    }
    int documentResults(TfrmChildForm& form) {
        int n = 0;
        for (StructureItem* item : form.document().preorder()) n += item->isResult();
        return n;
    }

    std::unique_ptr<e2e::Simulator> sim;
    MemorySettingsStore store;
    testing::ScriptedPrompts prompts;
    testing::TempDir results;
    std::unique_ptr<TfrmMainForm> w;
    int modalsShown = 0;
};

TEST_F(TransferGuard, CommandsTriggeredWhileADownloadWaitsAreRefused) {
    start("tq71.sim");
    w->action("TQ71")->trigger();

    const char* const refused[] = {"mmFileOpen",  "tbnOpen",          "mmFileImport",
                                   "mmStructNew", "tbnNew",           "mmInstrDownLoad",
                                   "tbnDownLoad", "mmInstrInstrData", "mmConfigPort",
                                   "mmFileExit",  "tbnExit",          "mmFileClose"};
    std::map<std::string, bool> enabledBefore;
    w->RefreshCommandState();
    for (const char* name : refused) enabledBefore[name] = w->action(name)->isEnabled();
    std::vector<std::string> enabledDuring;
    int windowsDuring = -1;
    bool downloadWindowSeen = false;
    // Once the download's window is there (it is filled while the results come).
    bool clicked = false;
    QTimer clicks;
    clicks.setInterval(100);
    QObject::connect(&clicks, &QTimer::timeout, w.get(), [&] {
        if (clicked || w->documentWindows().empty()) return;
        clicked = true;
        w->RefreshCommandState();
        for (const char* name : refused)
            if (w->action(name)->isEnabled()) enabledDuring.push_back(name);
        // Keys and buttons that were not disabled in time: the commands refuse.
        for (const char* command : {"FileOpen", "Import", "NewStructure", "DownLoadNewINSTR",
                                    "InstrumentData", "PortSettings", "FileClose", "OpenRecent"})
            w->runCommand(command, 1);
        w->requestExit();
        w->close();
        // The download's window cannot be closed while it is filled.
        for (DocumentSubWindow* win : w->documentWindows()) {
            downloadWindowSeen = downloadWindowSeen || win->windowTitle() == "DownLoad1";
            win->close();
        }
        windowsDuring = int(w->documentWindows().size());
        modalAt(200, 2500);  // in the middle of the results
    });
    clicks.start();
    modalAt(1500, 3000);  // while it connects and reads the instrument data
    w->action("mmInstrDownLoad")->trigger();
    QApplication::processEvents();

    ASSERT_TRUE(clicked);
    EXPECT_TRUE(enabledDuring.empty()) << enabledDuring.front();
    EXPECT_TRUE(downloadWindowSeen) << "the download window existed when it was closed";
    EXPECT_EQ(windowsDuring, 1);
    EXPECT_EQ(modalsShown, 2);
    EXPECT_TRUE(prompts.shown.empty()) << prompts.texts().front();
    EXPECT_TRUE(prompts.fileRequests.empty()) << "no file dialog during the download";
    EXPECT_GE(prompts.beeps, 10);
    EXPECT_FALSE(w->isTerminated());
    ASSERT_EQ(w->documentWindows().size(), 1u);
    TfrmChildForm* form = childFormOf(w->documentWindows().front()->view());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->document().Caption, "DownLoad1");
    EXPECT_EQ(documentResults(*form), 6) << "the whole memory";
    EXPECT_FALSE(instrumentContext(*w)->link.isPortOpen());
    EXPECT_EQ(sim->log().find("connection ended"), sim->log().rfind("connection ended"))
        << "one connection only";
    // Afterwards everything is as usable as before, and the window closes (without
    // saving).
    w->RefreshCommandState();
    for (const char* name : refused) {
        if (std::string(name) == "mmFileClose") continue;  // there was no document before
        EXPECT_EQ(w->action(name)->isEnabled(), enabledBefore[name]) << name;
    }
    EXPECT_TRUE(w->action("mmFileClose")->isEnabled());
    EXPECT_TRUE(w->action("mmInstrDownLoad")->isEnabled());
    EXPECT_TRUE(w->action("mmFileExit")->isEnabled());
    prompts.answers.push_back(Answer::No);
    w->documentWindows().front()->close();
    QApplication::processEvents();
    EXPECT_TRUE(w->documentWindows().empty());
}

TEST_F(TransferGuard, ModalDialogsDoNotMakeTheWaitsOfASingleLetterTesterTimeOut) {
    start("cv61.sim");
    w->action("CV61")->trigger();
    modalAt(1000, 3000);
    modalAt(5500, 3000);
    modalAt(9000, 2000);
    w->action("mmInstrDownLoad")->trigger();
    QApplication::processEvents();

    EXPECT_GE(modalsShown, 2);
    EXPECT_TRUE(prompts.shown.empty()) << prompts.texts().front();
    ASSERT_EQ(w->documentWindows().size(), 1u);
    TfrmChildForm* form = childFormOf(w->documentWindows().front()->view());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(documentResults(*form), 3);
}

}  // namespace
}  // namespace pelvoro
