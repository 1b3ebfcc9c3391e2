// Instrument > Send Structure in the window: hidden by this brand, enabled by the rules
// under a profile that shows it, and the whole flow against the simulated tester.

#include "transfer/widgets/send_structure_command.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <filesystem>

#include "app/widgets/main_window.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "document/item_types.h"
#include "document/widgets/child_form.h"
#include "document/widgets/document_commands.h"
#include "e2e/sim_harness.h"
#include "instrument/widgets/instrument_commands.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

// Answers like ScriptedPrompts and looks at the window while the question is open.
class WatchingPrompts : public testing::ScriptedPrompts {
  public:
    Answer askYesNoCancel(const std::string& title, const std::string& text) override {
        if (whileAsked) whileAsked();
        return ScriptedPrompts::askYesNoCancel(title, text);
    }
    std::function<void()> whileAsked;
};

class SendStructureCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TfrmChildForm::setDefaultCloseQuestion({});
        store.writeInt("COMPort", 0);
        store.writeInt("BaudRate", 4);
    }
    void start() {
        TfrmMainForm::Services s;
        s.settings = &store;
        s.prompts = &prompts;
        s.printerCount = [] { return 1; };
        main = std::make_unique<TfrmMainForm>(s);
        ASSERT_TRUE(main->start(PELVORO_SOURCE_DATA_DIR));
        installInstrumentCommands(*main, {});
        installDocumentCommands(*main);
        installSendStructureCommand(*main);
        main->resize(1000, 700);
    }
    void TearDown() override {
        if (main)
            for (auto* w : main->documentWindows()) w->close();
        main.reset();
        TfrmChildForm::setDefaultCloseQuestion({});
        setCurrentLanguageFile(nullptr);
    }
    // A profile that offers Send Structure, as other brands have.
    void showSendCommand() {
        main->action("mmInstrSendStruct")->setVisible(true);
        main->action("tbnSend")->setVisible(true);
    }
    void choose(const char* model) {
        main->action(model)->trigger();
        main->RefreshCommandState();
    }
    bool menuEnabled() { return main->action("mmInstrSendStruct")->isEnabled(); }
    bool buttonEnabled() { return main->action("tbnSend")->isEnabled(); }

    MemorySettingsStore store;
    WatchingPrompts prompts;
    std::unique_ptr<TfrmMainForm> main;
};

TEST_F(SendStructureCommandTest, HiddenByThisBrandAndEnabledByTheRulesOtherwise) {
    start();
    EXPECT_TRUE(main->hasCommandHandler("SendStructure"));
    EXPECT_FALSE(main->action("mmInstrSendStruct")->isVisible());
    EXPECT_FALSE(main->action("tbnSend")->isVisible());

    showSendCommand();
    choose("TQ41");
    EXPECT_FALSE(menuEnabled()) << "no document";
    EXPECT_FALSE(buttonEnabled());
    main->runCommand("NewStructure");
    struct Case {
        const char* model;
        bool menu, button;
    } cases[] = {
        {"TQ41", true, true},   {"TQ75", true, true},      {"TQ72", false, false},
        {"TQ42", false, false}, {"AutoFind", true, false}, {"TQ95M", true, false},
    };
    for (const Case& c : cases) {
        choose(c.model);
        EXPECT_EQ(menuEnabled(), c.menu) << c.model;
        EXPECT_EQ(buttonEnabled(), c.button) << c.model;
    }
}

TEST_F(SendStructureCommandTest, SendsTheActiveDocumentWithTheButtonsDisabledMeanwhile) {
    if (!std::filesystem::exists(e2e::binPath("pelvoro-sim"))) GTEST_SKIP() << "no simulator";
    e2e::Simulator sim({"--scenario", e2e::scenarioPath("tq41.sim")});  // holds a structure
    ASSERT_FALSE(sim.device().empty());
    store.writeString("PortDevice1", sim.device());
    start();
    showSendCommand();
    choose("TQ41");
    main->runCommand("NewStructure");
    TfrmChildForm* form = childFormOf(main->activeDocumentView());
    StructureDocument& doc = form->document();
    // As a user builds it: each item added under the one selected, then selected itself.
    for (int type : {ItemType::Object, ItemType::Block, ItemType::Fuse}) {
        main->runCommand("AddItem", type);
        form->setCurrentItem(doc.preorder().back());
    }
    ASSERT_EQ(doc.itemCount(), 4);
    ASSERT_EQ(doc.preorder()[3]->level(), 3) << "each item went under the one added before";
    doc.setModified(false);
    QMdiSubWindow* window = main->activeDocumentWindow();

    bool sendEnabled = true, downloadEnabled = true, closed = true;
    prompts.whileAsked = [&] {
        sendEnabled = buttonEnabled();
        downloadEnabled = main->action("tbnDownLoad")->isEnabled();
        closed = window->close();  // the document being sent stays open
    };
    prompts.answers = {Answer::Yes};
    main->action("tbnSend")->trigger();

    EXPECT_FALSE(sendEnabled);
    EXPECT_FALSE(downloadEnabled);
    EXPECT_FALSE(closed);
    ASSERT_EQ(main->documentWindows().size(), 1u);
    EXPECT_TRUE(prompts.showed(LangText("msgSuccesExec_35")));
    EXPECT_TRUE(sim.logShows("stored 03|02|FFFF|Fuse 1|05FF00000000")) << sim.log();
    EXPECT_NE(sim.log().find("structure memory cleared"), std::string::npos);
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.preorder()[1]->data.ID, -1);
    EXPECT_TRUE(buttonEnabled()) << "enabled again once the port is closed";
    EXPECT_TRUE(window->close()) << "and the document closes again";
}

}  // namespace
}  // namespace pelvoro
