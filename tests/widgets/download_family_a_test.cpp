// Instrument > DownLoad in the main window with a text-protocol tester (the simulator on
// a pseudo terminal): the new document window shows the rebuilt structure and its
// results table the results.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "app/widgets/extensions.h"
#include "app/widgets/main_window.h"
#include "common/lang_text.h"
#include "document/widgets/child_form.h"
#include "e2e/sim_harness.h"
#include "files/transfer_folder.h"
#include "instrument/instrument_context.h"
#include "instrument/widgets/instrument_commands.h"
#include "results/widgets/result_table.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

TEST(DownloadInTheWindow, FamilyATesterGivesADocumentWithItsResults) {
    e2e::Simulator sim({"--scenario", e2e::scenarioPath("tq71.sim")});
    ASSERT_FALSE(sim.device().empty());
    MemorySettingsStore store;
    store.writeString("PortDevice1", sim.device());
    store.writeInt("COMPort", 0);
    store.writeInt("BaudRate", 4);
    testing::ScriptedPrompts prompts;
    TfrmMainForm::Services s;
    s.settings = &store;
    s.prompts = &prompts;
    s.printerCount = [] { return 1; };
    TfrmMainForm w(s);
    ASSERT_TRUE(w.start(PELVORO_SOURCE_DATA_DIR));
    installExtensions(w);
    testing::TempDir results;  // the temporary file stays beside the document
    setTransferFolder(results.path());
    w.show();

    // This brand starts on its own model; the tester's model is chosen by its entry.
    ASSERT_NE(w.action("TQ71"), nullptr);
    w.action("TQ71")->trigger();
    ASSERT_NE(w.action("mmInstrDownLoad"), nullptr);
    w.action("mmInstrDownLoad")->trigger();
    QApplication::processEvents();

    EXPECT_TRUE(prompts.shown.empty()) << prompts.texts().front();
    DocumentSubWindow* win = w.activeDocumentWindow();
    ASSERT_NE(win, nullptr);
    TfrmChildForm* form = childFormOf(win->view());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->document().Caption, "DownLoad1");
    EXPECT_EQ(form->document().itemCount(), 16);  // root, 9 nodes, 6 results
    auto* table = form->findChild<ResultTableView*>();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    EXPECT_GE(table->tableModel()->rowCount(), 6);  // the root's results with its sub-items
    ASSERT_NE(instrumentContext(w), nullptr);
    EXPECT_FALSE(instrumentContext(w)->link.isPortOpen());
}

}  // namespace
}  // namespace pelvoro
