#include "app/widgets/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "common/lang_text.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::ScriptedPrompts;

// A document window content that may refuse to close (its save question cancelled).
class FakeDocument : public QWidget {
  public:
    bool refuse = false;

  protected:
    void closeEvent(QCloseEvent* e) override {
        if (refuse)
            e->ignore();
        else
            e->accept();
    }
};

class MainWindowTest : public ::testing::Test {
  protected:
    std::unique_ptr<TfrmMainForm> make(int printers = 1) {
        TfrmMainForm::Services s;
        s.settings = &store;
        s.prompts = &prompts;
        s.printerCount = [printers] { return printers; };
        s.portOpen = [this] { return portOpen; };
        return std::make_unique<TfrmMainForm>(s);
    }
    std::unique_ptr<TfrmMainForm> started() {
        auto w = make();
        EXPECT_TRUE(w->start(PELVORO_SOURCE_DATA_DIR));
        return w;
    }
    static QStringList visibleEntries(QMenu* menu) {
        QStringList names;
        for (QAction* a : menu->actions())
            if (a->isVisible() && !a->isSeparator()) names << a->objectName();
        return names;
    }
    void TearDown() override { setCurrentLanguageFile(nullptr); }

    MemorySettingsStore store;
    ScriptedPrompts prompts;
    bool portOpen = false;
};

TEST_F(MainWindowTest, BrandProfileLeavesExactlyItsMenusAndToolbars) {
    auto w = started();
    EXPECT_EQ(w->windowTitle(), "Tamvisto");
    QStringList menus;
    for (QAction* a : w->menuBar()->actions())
        if (a->isVisible()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Instrument", "&Config", "&Window", "&Help"}));

    EXPECT_EQ(visibleEntries(w->menu("mmFile")),
              (QStringList{"mmFileOpen", "mmFileClose", "mmFileSave", "mmFileSaveAs",
                           "mmFileHeadSetUp", "mmFilePreview", "mmFileExport", "mmFileExit"}));
    EXPECT_EQ(visibleEntries(w->menu("mmInstrument")),
              (QStringList{"mmInstrDownLoad", "mmInstrInstrData"}));
    EXPECT_EQ(visibleEntries(w->menu("mmConfig")),
              (QStringList{"mmConfigPort", "mmConfigLanguage"}));
    EXPECT_EQ(visibleEntries(w->menu("mmHelp")), (QStringList{"mmHelpContents", "mmHelpAbout"}));

    QStringList bars;
    for (const char* name :
         {"tbToolBarBasic", "tbToolBarInstal", "tbToolBarGen", "tbToolBar_AN", "tbToolBarRep"})
        if (!w->toolbar(name)->isHidden()) bars << name;
    EXPECT_EQ(bars, (QStringList{"tbToolBarBasic", "tbToolBarRep"}));
    QStringList buttons;
    for (QAction* a : w->toolbar("tbToolBarBasic")->actions())
        if (a->isVisible()) buttons << a->objectName();
    EXPECT_EQ(buttons,
              (QStringList{"tbnOpen", "tbnSave", "tbnExit", "tbnDownLoad", "tbnMoveUpDn"}));
    QStringList report;
    for (QAction* a : w->toolbar("tbToolBarRep")->actions())
        if (a->isVisible()) report << a->objectName();
    EXPECT_EQ(report, (QStringList{"tbnViewLightRep"}));
}

TEST_F(MainWindowTest, CaptionsAndHintsComeFromTheLanguageFile) {
    auto w = started();
    EXPECT_EQ(w->action("mmFileOpen")->text(), "&Open...");
    EXPECT_EQ(w->action("tbnOpen")->toolTip(), "Open a document");
    EXPECT_EQ(w->action("AutoFind")->text(), "&Auto Find");
    EXPECT_EQ(w->action("CV61")->text(), "CV 61");  // model captions are not translated
}

TEST_F(MainWindowTest, StoredGermanSpeaksGermanAtTheNextStart) {
    store.writeString("Language", "DEUTSCH");
    auto w = started();
    EXPECT_EQ(w->menu("mmFile")->menuAction()->text(), "&Datei");
    EXPECT_EQ(w->action("mmFileOpen")->text(), QString::fromUtf8("Ö&ffnen..."));
}

TEST_F(MainWindowTest, FirstStartWritesTheDefaultsAndForcesTheModel) {
    store.writeString("InstrModel", "TQ41");
    store.writeString("Language", "ENGLISH");
    auto w = started();
    EXPECT_EQ(store.readString("InstrModel"), "CV61");
    EXPECT_TRUE(w->action("CV61")->isChecked());
    EXPECT_FALSE(w->action("AutoFind")->isChecked());
}

TEST_F(MainWindowTest, NoPrinterEndsTheStart) {
    auto w = make(0);
    EXPECT_FALSE(w->start(PELVORO_SOURCE_DATA_DIR));
    EXPECT_TRUE(prompts.showed("No printer installed. Application will be terminated!"));
    EXPECT_TRUE(w->isTerminated());
}

TEST_F(MainWindowTest, MissingLanguageFileEndsTheStart) {
    store.writeString("Language", "KLINGON");  // no section: its file defaults to English.ini
    auto ok = started();
    EXPECT_FALSE(prompts.showed("Language Error !"));
    EXPECT_TRUE(prompts.showed(LangText("msgLangError_30")));
}

TEST_F(MainWindowTest, WithoutDocumentsTheDocumentCommandsAreDisabled) {
    auto w = started();
    w->setCommandHandler("FileSave", [](int) {});
    w->setCommandHandler("FileClose", [](int) {});
    w->setCommandHandler("DownLoadNewINSTR", [](int) {});
    w->updateMenuEnabling();
    EXPECT_FALSE(w->action("mmFileClose")->isEnabled());
    EXPECT_FALSE(w->action("mmFileSave")->isEnabled());
    EXPECT_FALSE(w->action("tbnSave")->isEnabled());
    EXPECT_FALSE(w->action("mmWinCascade")->isEnabled());
    EXPECT_FALSE(w->action("mmEditCopy")->isEnabled());
    EXPECT_TRUE(w->action("tbnDownLoad")->isEnabled());
    portOpen = true;
    w->RefreshCommandState();
    EXPECT_FALSE(w->action("tbnDownLoad")->isEnabled());
}

TEST_F(MainWindowTest, CommandsWithoutAHandlerStayDisabled) {
    auto w = started();
    EXPECT_FALSE(w->action("mmFileOpen")->isEnabled());
    int runs = 0;
    w->setCommandHandler("FileOpen", [&](int) { ++runs; });
    EXPECT_TRUE(w->action("mmFileOpen")->isEnabled());
    w->action("tbnOpen")->trigger();
    w->action("mmFileOpen")->trigger();
    EXPECT_EQ(runs, 2);
}

TEST_F(MainWindowTest, RecentFilesInTheFileMenu) {
    auto w = started();
    w->rebuildRecentFileEntries();
    EXPECT_FALSE(w->action("sepFileRecent")->isVisible());
    EXPECT_FALSE(w->action("mmFile_1")->isVisible());
    for (const char* f : {"/data/a.TMV", "/data/b.TMV", "/data/Results/abc.TMV"})
        w->mainState().recentFiles.append(f);
    w->rebuildRecentFileEntries();
    EXPECT_TRUE(w->action("sepFileRecent")->isVisible());
    EXPECT_EQ(w->action("mmFile_1")->text(), "1: .../Results/abc.TMV");
    EXPECT_EQ(w->action("mmFile_3")->text(), "3: /data/a.TMV");
    EXPECT_FALSE(w->action("mmFile_4")->isVisible());
}

TEST_F(MainWindowTest, WindowMenuListsAtMostTwelveDocuments) {
    auto w = started();
    for (int i = 0; i < 13; ++i)
        w->createDocumentWindow(new FakeDocument, "/x/doc" + std::to_string(i) + ".TMV");
    EXPECT_EQ(w->openDocumentCount(), 13);
    w->rebuildWindowList();
    int shown = 0, checked = 0;
    for (int i = 1; i <= 13; ++i) {
        QAction* a = w->action(QString("File_%1").arg(i));
        shown += a->isVisible();
        checked += a->isChecked();
    }
    EXPECT_EQ(shown, 12);
    EXPECT_LE(checked, 1);
}

TEST_F(MainWindowTest, DocumentWindowCaptionsAndPlacement) {
    auto w = started();
    auto* first = w->createDocumentWindow(new FakeDocument, "/x/y/First.TMV");
    auto* second = w->createDocumentWindow(new FakeDocument, "/x/y/In.KRD", "#Import1#");
    EXPECT_EQ(first->windowTitle(), "First.TMV");
    EXPECT_EQ(second->windowTitle(), "#Import1#     (In.KRD)");
    EXPECT_EQ(first->tag(), 1);
    EXPECT_EQ(second->tag(), 2);
    EXPECT_EQ(first->pos(), QPoint(0, 0));
    EXPECT_GT(second->pos().x(), 0);
}

TEST_F(MainWindowTest, ExitAnsweredNoKeepsTheProgram) {
    auto w = started();
    w->createDocumentWindow(new FakeDocument, "/x/a.TMV");
    prompts.answers = {Answer::No};
    EXPECT_FALSE(w->requestExit());
    EXPECT_FALSE(w->isTerminated());
    EXPECT_EQ(w->openDocumentCount(), 1);
}

TEST_F(MainWindowTest, ExitStopsAtADocumentThatStaysOpen) {
    auto w = started();
    w->mainState().recentFiles.append("/x/recent.TMV");
    auto* keep = new FakeDocument;
    keep->refuse = true;
    w->createDocumentWindow(new FakeDocument, "/x/a.TMV");
    w->createDocumentWindow(keep, "/x/b.TMV");
    w->createDocumentWindow(new FakeDocument, "/x/c.TMV");
    int writesBefore = store.writeCount();
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(w->requestExit());
    EXPECT_FALSE(w->isTerminated());
    EXPECT_GE(w->openDocumentCount(), 1);
    EXPECT_EQ(store.writeCount(), writesBefore);  // nothing stored

    keep->refuse = false;
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(w->requestExit());
    EXPECT_TRUE(w->isTerminated());
    EXPECT_EQ(store.readString("File_1"), "/x/recent.TMV");
}

TEST_F(MainWindowTest, DestroyingTheWindowWithOpenDocumentsIsSafe) {
    auto w = started();
    w->createDocumentWindow(new FakeDocument, "/x/a.TMV");
    w->createDocumentWindow(new FakeDocument, "/x/b.TMV");
    w.reset();  // must not touch menus or actions that are already gone
    SUCCEED();
}

TEST_F(MainWindowTest, ChoosingAModelStoresIt) {
    auto w = started();
    w->action("TQ41")->trigger();
    EXPECT_EQ(store.readString("InstrModel"), "TQ41");
    EXPECT_EQ(w->mainState().modelFamily, 2);
    EXPECT_TRUE(w->action("TQ41")->isChecked());
    EXPECT_FALSE(w->action("CV61")->isChecked());
}

TEST_F(MainWindowTest, ToolbarChecksAreStored) {
    auto w = started();
    w->action("mmConTolReport")->setChecked(false);
    EXPECT_EQ(store.readBool("mmReport"), false);
    EXPECT_EQ(store.readBool("mmStandard"), true);
    EXPECT_TRUE(w->toolbar("tbToolBarRep")->isHidden());
}

}  // namespace
}  // namespace pelvoro
