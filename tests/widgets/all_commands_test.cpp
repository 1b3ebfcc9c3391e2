// The program started with --all-commands, as service staff and users of other testers
// start it: every command is offered, the stored model is kept, and the main flows run
// from the menus against simulated testers of both text and binary protocols.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <filesystem>

#include "app/widgets/extensions.h"
#include "app/widgets/main_window.h"
#include "common/lang_text.h"
#include "document/widgets/child_form.h"
#include "e2e/sim_harness.h"
#include "files/transfer_folder.h"
#include "files/widgets/file_commands_qt.h"
#include "main_window_fixture.h"
#include "reports/widgets/measurement_graph_window.h"
#include "reports/widgets/modal_runner.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;

class AllCommandsTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        setStartDocumentWait(0);
        store.writeInt("COMPort", 0);
        store.writeInt("BaudRate", 4);
        services.portOpen = {};
    }
    void start(bool allCommands, const std::string& device = {}) {
        if (!device.empty()) store.writeString("PortDevice1", device);
        StartupOptions options;
        options.allCommands = allCommands;
        ASSERT_NO_FATAL_FAILURE(startWindow(options));
        installExtensions(*window);
        setTransferFolder(transfer.path());
        window->resize(1280, 900);
        window->show();
    }
    bool offered(const char* name) {
        QAction* a = window->action(name);
        if (!a) a = window->menu(name) ? window->menu(name)->menuAction() : nullptr;
        return a && a->isVisible();
    }
    TfrmChildForm* download(const char* model) {
        window->action(model)->trigger();
        window->action("mmInstrDownLoad")->trigger();
        QApplication::processEvents();
        return childFormOf(window->activeDocumentView());
    }
    static bool simulatorBuilt() { return fs::exists(e2e::binPath("pelvoro-sim")); }

    testing::TempDir transfer;
};

TEST_F(AllCommandsTest, OffersWhatTheBrandHidesAndKeepsTheStoredModel) {
    const char* hiddenByBrand[] = {
        "mmInstrModel", "mmInstrSendStruct",    "tbnSend",         "mmEdit",          "mmStructure",
        "mmFileImport", "mmFilePrintStructure", "mmFileDrawGraph", "mmFileShowTable", "tbnGraph",
        "TQ60",         "tbToolBarInstal",      "tbnNew"};
    store.writeString("InstrModel", "TQ60");
    start(false);
    for (const char* name : hiddenByBrand) {
        if (QToolBar* bar = window->toolbar(name))
            EXPECT_FALSE(bar->isVisible()) << name;
        else
            EXPECT_FALSE(offered(name)) << name;
    }
    EXPECT_EQ(window->mainState().checkedModel, "CV61");
    EXPECT_EQ(store.readString("InstrModel"), "CV61");
    window.reset();

    store.writeString("InstrModel", "TQ60");
    start(true);
    EXPECT_TRUE(window->allCommandsOffered());
    for (const char* name : hiddenByBrand) {
        if (QToolBar* bar = window->toolbar(name))
            EXPECT_TRUE(bar->isVisible() && bar->maximumWidth() > 100) << name;
        else
            EXPECT_TRUE(offered(name)) << name;
    }
    EXPECT_EQ(window->mainState().checkedModel, "TQ60");
    EXPECT_TRUE(window->action("TQ60")->isChecked());
    EXPECT_EQ(store.readString("InstrModel"), "TQ60");
    // Entries that would do nothing stay away.
    for (const char* name : {"mmFileCreatPROrep", "tbnPreviewRep", "mmConfigOptions"})
        EXPECT_FALSE(offered(name)) << name;
    // Choosing another model is kept for the next start.
    window->action("TQ41")->trigger();
    EXPECT_EQ(store.readString("InstrModel"), "TQ41");
}

TEST_F(AllCommandsTest, FamilyATesterDownloadsAndTakesTheStructureBack) {
    if (!simulatorBuilt()) GTEST_SKIP() << "no simulator";
    e2e::Simulator sim({"--scenario", e2e::scenarioPath("tq41.sim")});
    ASSERT_FALSE(sim.device().empty());
    start(true, sim.device());
    TfrmChildForm* form = download("TQ41");
    ASSERT_NE(form, nullptr) << (prompts.shown.empty() ? "" : prompts.texts().front());
    StructureDocument& doc = form->document();
    EXPECT_EQ(doc.Caption, "DownLoad1");
    std::vector<std::string> names;
    for (StructureItem* it : doc.preorder()) names.push_back(it->caption());
    EXPECT_NE(std::find(names.begin(), names.end(), "Board 1"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Fuse 1"), names.end());

    // The downloaded structure goes back to the tester (its old one is deleted first).
    ASSERT_TRUE(offered("mmInstrSendStruct"));
    window->RefreshCommandState();
    ASSERT_TRUE(window->action("tbnSend")->isEnabled());
    prompts.shown.clear();
    prompts.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    window->action("mmInstrSendStruct")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(prompts.showed(LangText("msgSuccesExec_35"))) << sim.log();
    EXPECT_NE(sim.log().find("structure memory cleared"), std::string::npos);
    EXPECT_TRUE(sim.logShows("Fuse 1")) << sim.log();
}

TEST_F(AllCommandsTest, FamilyBTesterDownloadsCurvesThatTheGraphShows) {
    if (!simulatorBuilt()) GTEST_SKIP() << "no simulator";
    e2e::Simulator sim({"--scenario", e2e::scenarioPath("tq60_curves.sim")});
    ASSERT_FALSE(sim.device().empty());
    start(true, sim.device());
    TfrmChildForm* form = download("TQ60");
    ASSERT_NE(form, nullptr) << (prompts.shown.empty() ? "" : prompts.texts().front());
    StructureItem* curve = nullptr;
    for (StructureItem* it : form->document().preorder())
        if (it->data.graph().hasSamples()) {
            curve = it;
            break;
        }
    ASSERT_NE(curve, nullptr);
    form->setCurrentItem(curve);
    QApplication::processEvents();
    window->RefreshCommandState();
    ASSERT_TRUE(offered("tbnGraph"));
    ASSERT_TRUE(window->action("tbnGraph")->isEnabled());
    ASSERT_TRUE(window->action("mmFileShowTable")->isEnabled());

    std::vector<std::string> shown;
    setModalRunner([&](QDialog& d) {
        shown.push_back(d.metaObject()->className());
        if (qobject_cast<TfrmGraph*>(&d)) {
            d.resize(900, 600);
            d.show();
            QApplication::processEvents();
            const std::string folder = std::string(PELVORO_BIN_DIR) + "/../test-output";
            fs::create_directories(folder);
            d.grab().save(QString::fromStdString(folder + "/all_commands_graph.png"));
        }
        return int(QDialog::Accepted);
    });
    window->action("tbnGraph")->trigger();
    window->action("mmFileShowTable")->trigger();
    EXPECT_EQ(shown, (std::vector<std::string>{"pelvoro::TfrmGraph", "pelvoro::TfrmMeasTable"}));
}

}  // namespace
}  // namespace pelvoro
