// The program as a user first meets it: the started main window with every subsystem's
// commands, the demo document opened through File > Open.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QRadioButton>
#include <QSplitter>
#include <QTreeView>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>

#include "app/widgets/extensions.h"
#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/widgets/child_form.h"
#include "files/file_commands.h"
#include "files/widgets/file_commands_qt.h"
#include "main_window_fixture.h"
#include "results/result_rows.h"
#include "results/widgets/result_table.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;

class FirstLookTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        services.portOpen = {};
        ASSERT_NO_FATAL_FAILURE(startWindow());
        useTemporaryDataFolder();
        installExtensions(*window);
        window->resize(1280, 900);
        window->show();
        demo = copyDemo();
    }
    TfrmChildForm* openThroughMenu(const std::string& path) {
        prompts.fileChoices.push_back(path);
        window->runCommand("FileOpen");
        settle();
        return activeForm();
    }
    static StructureItem* findItem(StructureDocument& doc, const std::string& name) {
        for (StructureItem* it : doc.preorder())
            if (it->caption() == name) return it;
        return nullptr;
    }
    static ResultTableView* table(TfrmChildForm* f) {
        return qobject_cast<ResultTableView*>(f->resultsArea());
    }
    // Every cell of the table as the user reads it, row by row.
    static std::vector<std::string> tableText(TfrmChildForm* f) {
        std::vector<std::string> out;
        QAbstractItemModel* m = table(f)->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out.push_back(
                fromQt(m->index(r, 0).data().toString() + "|" + m->index(r, 1).data().toString()));
        return out;
    }
    static std::string outputFolder() {
        std::string folder = std::string(PELVORO_BIN_DIR) + "/../test-output";
        fs::create_directories(folder);
        return folder;
    }

    std::string demo;
};

TEST_F(FirstLookTest, OpenShowsTheResultsTableBesideTheTree) {
    // The empty frame's watermark covers the whole area, so its text is drawn centred.
    settle();
    QWidget* watermark = window->findChild<QWidget*>("pnlBackground");
    ASSERT_NE(watermark, nullptr);
    EXPECT_EQ(watermark->geometry(), window->mdiArea()->viewport()->rect());
    TfrmChildForm* f = openThroughMenu(demo);
    ASSERT_NE(f, nullptr);
    StructureItem* machine = findItem(f->document(), "Machine 1");
    ASSERT_NE(machine, nullptr);
    f->setCurrentItem(machine);
    settle();
    ResultTableView* t = table(f);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(f->resultTableShown());
    EXPECT_TRUE(t->isVisible());
    EXPECT_TRUE(f->settingsPanel()->isVisible());
    // The table stands right of the tree, under the detail-level choice, and has room.
    const QPoint tableAt = t->mapTo(f, QPoint(0, 0));
    const QPoint treeAt = f->tree()->mapTo(f, QPoint(0, 0));
    EXPECT_GT(tableAt.x(), treeAt.x() + f->tree()->width() - 1);
    EXPECT_GT(t->width(), f->width() / 4);
    auto* full = f->findChild<QRadioButton*>("rbShowFML0");
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->isVisible());
    EXPECT_LT(full->mapTo(f, QPoint(0, 0)).y(), tableAt.y());
    // Machine 1: one heading and one result row for each of its five results.
    const std::vector<std::string> rows = tableText(f);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_NE(rows[0].find("Machines / Machine 1"), std::string::npos) << rows[0];
    EXPECT_NE(rows[1].find("1.52mA"), std::string::npos) << rows[1];

    // Show properties (also from its toolbar toggle) never hides the table again.
    window->runCommand("ShowProperties");
    settle();
    EXPECT_TRUE(t->isVisible());

    // New structure shows the same layout.
    window->runCommand("NewStructure");
    settle();
    TfrmChildForm* fresh = activeForm();
    ASSERT_NE(fresh, f);
    EXPECT_TRUE(fresh->resultTableShown());
    EXPECT_TRUE(fresh->settingsPanel()->isVisible());
    fresh->subWindow()->close();
    settle();

    window->mdiArea()->setActiveSubWindow(f->subWindow());
    settle();
    const std::string picture = outputFolder() + "/first_look_demo.png";
    EXPECT_TRUE(window->grab().save(QString::fromStdString(picture)));
}

TEST_F(FirstLookTest, TiledWindowsGiveTheResultsTheRoom) {
    TfrmChildForm* first = openThroughMenu(demo);
    ASSERT_NE(first, nullptr);
    fs::copy_file(demo, dir.file("Second.TMV"));
    TfrmChildForm* second = openThroughMenu(dir.file("Second.TMV"));
    ASSERT_NE(second, nullptr);
    window->action("mmWinVertic")->trigger();
    settle();
    for (TfrmChildForm* f : {first, second}) {
        f->setCurrentItem(findItem(f->document(), "Machine 1"));
        settle();
        // The tree pane takes what its panel needs; the results get the rest.
        const int tree = f->findChild<QWidget*>("pnlLeft")->width();
        EXPECT_GT(table(f)->width(), tree) << tree;
        EXPECT_GE(tree, f->settingsPanel()->minimumSizeHint().width());
    }
    EXPECT_TRUE(
        window->grab().save(QString::fromStdString(outputFolder() + "/first_look_tiled.png")));
}

TEST_F(FirstLookTest, DemoSavedAndReopenedShowsTheSameTableAtEveryLevel) {
    auto levels = [this](TfrmChildForm* f) {
        std::vector<std::vector<std::string>> out;
        f->setCurrentItem(&f->document().root());
        for (int level : {kViewFull, kViewMedium, kViewLow}) {
            f->setViewMode(level);
            table(f)->assign(f->selectedItem(), level, true);
            out.push_back(tableText(f));
        }
        return out;
    };
    TfrmChildForm* f = openThroughMenu(demo);
    ASSERT_NE(f, nullptr);
    const auto before = levels(f);
    // Every result shows its function heading at every level, Low included, and its date.
    const std::vector<std::string>& low = before[2];
    ASSERT_GT(low.size(), 10u);
    for (size_t r = 0; r < low.size(); r += 2) {
        EXPECT_NE(low[r].find(".2025  "), std::string::npos) << low[r];
        ASSERT_LT(r + 1, low.size());
        EXPECT_GT(low[r + 1].size(), 3u) << "row " << r + 1 << " is empty";
    }
    const std::string copy = dir.file("copy.TMV");
    prompts.fileChoices.push_back(copy);
    window->runCommand("FileSaveAs");
    settle();
    ASSERT_TRUE(fs::exists(copy));
    window->runCommand("FileClose");
    settle();
    TfrmChildForm* reopened = openThroughMenu(copy);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(levels(reopened), before);
}

TEST_F(FirstLookTest, OpeningAnOpenFileActivatesItsWindow) {
    TfrmChildForm* first = openThroughMenu(demo);
    ASSERT_NE(first, nullptr);
    window->runCommand("NewStructure");
    settle();
    ASSERT_NE(activeForm(), first);
    // The same file under another name (a link) is the same document.
    fs::create_symlink(demo, dir.file("link.TMV"));
    for (const std::string& path : {demo, dir.file("link.TMV")}) {
        const size_t windows = window->documentWindows().size();
        EXPECT_EQ(openThroughMenu(path), first) << path;
        EXPECT_EQ(window->documentWindows().size(), windows);
        window->runCommand("NewStructure");
        settle();
    }
}

TEST_F(FirstLookTest, StandardShortcutsReachTheFileCommands) {
    struct Case {
        const char* action;
        QKeySequence::StandardKey key;
    } cases[] = {{"mmFileOpen", QKeySequence::Open},
                 {"mmFileSave", QKeySequence::Save},
                 {"mmFileClose", QKeySequence::Close},
                 {"mmFileExit", QKeySequence::Quit}};
    for (const Case& c : cases) {
        ASSERT_NE(window->action(c.action), nullptr) << c.action;
        EXPECT_EQ(window->action(c.action)->shortcuts().value(0), QKeySequence(c.key)) << c.action;
    }
    // Close through its keys with a document open: the window closes, once.
    TfrmChildForm* f = openThroughMenu(demo);
    ASSERT_NE(f, nullptr);
    f->tree()->setFocus();
    const QKeySequence close(QKeySequence::Close);
    QTest::keyClick(window->windowHandle() ? static_cast<QWidget*>(f->tree()) : window.get(),
                    Qt::Key(close[0].key()), close[0].keyboardModifiers());
    settle();
    EXPECT_TRUE(window->documentWindows().empty());
}

}  // namespace
}  // namespace pelvoro
