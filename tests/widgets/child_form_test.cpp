#include "document/widgets/child_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeView>
#include <QtTest/QTest>

#include "app/widgets/main_window.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "document/item_names.h"
#include "document/item_types.h"
#include "document/widgets/document_commands.h"
#include "document/widgets/installation_names_dialog.h"
#include "document/widgets/structure_names_dialog.h"
#include "instrument/widgets/instr_data_dialog.h"
#include "instrument/widgets/instrument_commands.h"
#include "main_window_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::ScriptedPrompts;

class ChildFormTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        services.portOpen = {};
        ASSERT_NO_FATAL_FAILURE(startWindow());
        installDocumentCommands(*window);
        window->resize(1000, 700);
    }
    TfrmChildForm* active() { return childFormOf(window->activeDocumentView()); }
    TfrmChildForm* newStructure() {
        window->runCommand("NewStructure");
        return active();
    }
    static std::vector<std::string> childNames(const StructureItem& p) {
        std::vector<std::string> out;
        for (const auto& c : p.children()) out.push_back(c->caption());
        return out;
    }
    bool addEnabled(const char* entry) { return window->action(entry)->isEnabled(); }
};

TEST_F(ChildFormTest, NewStructureIsNumberedAndStartsWithTheRootSelected) {
    TfrmChildForm* first = newStructure();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->subWindow()->windowTitle(), "New structure1");
    EXPECT_EQ(first->document().itemCount(), 1);
    EXPECT_FALSE(first->document().HasFile);
    EXPECT_FALSE(first->document().Modified);
    EXPECT_EQ(first->selectedItem(), &first->document().root());
    EXPECT_TRUE(first->nameBox()->isReadOnly()) << "the root cannot be renamed";
    EXPECT_FALSE(first->settingsPanel()->isHidden());
    EXPECT_TRUE(first->resultTableShown()) << "results stay in sight beside the panel";
    first->subWindow()->close();
    QApplication::processEvents();
    TfrmChildForm* second = newStructure();
    EXPECT_EQ(second->subWindow()->windowTitle(), "New structure2");
    EXPECT_EQ(window->openDocumentCount(), 1);
}

TEST_F(ChildFormTest, AddingSelectingAndRenamingThroughTheCommands) {
    TfrmChildForm* f = newStructure();
    StructureDocument& doc = f->document();
    EXPECT_TRUE(addEnabled("mmStrAddObject"));
    EXPECT_FALSE(addEnabled("mmStrAddFuse")) << "nothing but objects under the root";
    window->runCommand("AddItem", ItemType::Object);
    ASSERT_EQ(doc.root().childCount(), 1);
    StructureItem* obj = doc.root().child(0);
    EXPECT_EQ(obj->caption(), "Object 1");
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(f->treeModel()->rowCount(f->treeModel()->index(0, 0, {})), 1);

    f->setCurrentItem(obj);
    EXPECT_TRUE(f->nameBox()->isEnabled());
    EXPECT_EQ(f->nameBox()->text(), "Object 1");
    EXPECT_TRUE(addEnabled("mmStrAddBlock"));
    EXPECT_FALSE(addEnabled("mmStrAddFuse"));
    window->runCommand("AddItem", ItemType::Block);
    StructureItem* block = obj->child(0);
    f->setCurrentItem(block);
    EXPECT_TRUE(addEnabled("mmStrAddFuse"));
    EXPECT_FALSE(addEnabled("mmStrAddRoom"));
    window->runCommand("AddItem", ItemType::Fuse);
    window->runCommand("AddItem", ItemType::Fuse);
    EXPECT_EQ(childNames(*block), (std::vector<std::string>{"Fuse 1", "Fuse 2"}));
    EXPECT_EQ(f->selectedItem(), block) << "an added item is not selected";

    f->RenameSelected("Kitchen");
    EXPECT_EQ(block->caption(), "Kitchen");
    QModelIndex objIndex = f->treeModel()->index(0, 0, f->treeModel()->index(0, 0, {}));
    EXPECT_EQ(f->treeModel()->index(0, 0, objIndex).data().toString(), "Kitchen");
}

TEST_F(ChildFormTest, TheRecentNamesKeepTheTenNewest) {
    TfrmChildForm* f = newStructure();
    for (int i = 1; i <= 11; ++i) f->rememberRecentName("Name " + std::to_string(i));
    f->rememberRecentName("Name 5");  // already there: stays where it is
    ASSERT_EQ(f->recentNames().size(), 10u);
    EXPECT_EQ(f->recentNames().front(), "Name 11");
    EXPECT_EQ(f->recentNames().back(), "Name 2");
}

TEST_F(ChildFormTest, TheHiddenPanelIsFilledByType) {
    auto doc = std::make_unique<StructureDocument>();
    StructureItem* obj = doc->addItem(doc->root(), ItemType::Object, "O");
    StructureItem* block = doc->addItem(*obj, ItemType::Block, "B");
    StructureItem* fuse = doc->addItem(*block, ItemType::Fuse, "F");
    fuse->data.editTexts().Phase = "L2";
    fuse->data.editTexts().Number = "x";
    fuse->data.setMeasureBit(3, true);
    StructureItem* rod = doc->addItem(*obj, ItemType::LightRod, "R");
    StructureItem* electrode = doc->addItem(*rod, ItemType::Electrode, "E");
    electrode->data.editTexts().Phase = "L3";
    StructureItem* meas = doc->addItem(*fuse, ItemType::Measurement, "M");
    StructureItem* lone = doc->addItem(*obj, ItemType::Block, "L");
    TfrmChildForm* f = openDocumentWindow(*window, std::move(doc), "/data/plant.TMV");
    EXPECT_EQ(f->subWindow()->windowTitle(), "plant.TMV");
    EXPECT_EQ(f->parameterBox(TfrmChildForm::kTagPhase)->count(), 7) << "the shipped PHASE list";

    f->setCurrentItem(fuse);
    EXPECT_TRUE(f->parameterBox(TfrmChildForm::kTagPhase)->isEnabled());
    EXPECT_EQ(f->parameterBox(TfrmChildForm::kTagPhase)->currentText(), "L2");
    EXPECT_EQ(f->numberBox()->value(), 1) << "a number that does not parse shows 1";
    EXPECT_EQ(f->measuresList()->item(3)->checkState(), Qt::Checked);
    EXPECT_TRUE(f->measuresList()->item(7)->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(f->measuresList()->item(8)->flags() & Qt::ItemIsEnabled);

    f->setCurrentItem(electrode);
    EXPECT_FALSE(f->parameterBox(TfrmChildForm::kTagPhase)->isEnabled());
    EXPECT_EQ(f->parameterBox(TfrmChildForm::kTagPhase)->currentText(), "");
    EXPECT_TRUE(f->measuresList()->item(10)->flags() & Qt::ItemIsEnabled);
    EXPECT_TRUE(f->nameBox()->isEnabled());

    f->setCurrentItem(meas);
    EXPECT_TRUE(f->nameBox()->isReadOnly()) << "results cannot be renamed";
    // The type popup offers what fits the item's parent and children.
    auto offered = [&] {
        QStringList types;
        for (QAction* a : f->typePopup()->actions())
            if (a->property("offered").toBool()) types << a->data().toString();
        return types;
    };
    f->setCurrentItem(block);
    EXPECT_EQ(offered(), QStringList{}) << "under an object, nothing else takes a fuse";
    f->setCurrentItem(lone);
    EXPECT_EQ(offered(), (QStringList{"3", "4", "11"}));
    // The panel shows the selected item: a new fuse takes its number and parameters.
    f->setCurrentItem(fuse);
    f->numberBox()->setValue(4);
    window->runCommand("AddItem", ItemType::Fuse);
    StructureItem* added = fuse->child(fuse->childCount() - 1);
    EXPECT_EQ(added->data.texts().Number, "4");
    EXPECT_EQ(added->data.texts().Phase, "L2");
}

TEST_F(ChildFormTest, DeletingAsksFirstAndTheRootLeavesAFreshRoot) {
    TfrmChildForm* f = newStructure();
    window->runCommand("AddItem", ItemType::Object);
    window->runCommand("AddItem", ItemType::Object);
    StructureItem* second = f->document().root().child(1);
    f->setCurrentItem(second);
    prompts.answers = {Answer::No};
    window->runCommand("DeleteItem");
    EXPECT_EQ(f->document().root().childCount(), 2);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().text, "Delete  Object 2 ?");
    prompts.answers = {Answer::Yes};
    window->runCommand("DeleteItem");
    EXPECT_EQ(childNames(f->document().root()), (std::vector<std::string>{"Object 1"}));
    EXPECT_NE(f->selectedItem(), nullptr) << "a neighbour is selected";

    f->setCurrentItem(&f->document().root());
    prompts.answers = {Answer::Yes};
    window->runCommand("DeleteItem");
    EXPECT_EQ(f->document().itemCount(), 1);
    EXPECT_EQ(f->treeModel()->rowCount(f->treeModel()->index(0, 0, {})), 0);
    EXPECT_TRUE(f->document().Modified);
}

TEST_F(ChildFormTest, DraggingABlockToAnotherObjectAndToAnotherWindow) {
    auto doc = std::make_unique<StructureDocument>();
    StructureItem* o1 = doc->addItem(doc->root(), ItemType::Object, "O1");
    StructureItem* o2 = doc->addItem(doc->root(), ItemType::Object, "O2");
    StructureItem* block = doc->addItem(*o1, ItemType::Block, "B");
    StructureItem* fuse = doc->addItem(*block, ItemType::Fuse, "F");
    doc->addItem(*fuse, ItemType::Measurement, "M1")->data.ResTexts = {"r"};
    doc->addItem(*block, ItemType::Measurement, "M2");
    doc->Modified = false;
    TfrmChildForm* a = openDocumentWindow(*window, std::move(doc), "a.TMV");
    a->expandItem(block);

    EXPECT_FALSE(a->CanDrop(*a, block, o1)) << "its own parent";
    EXPECT_FALSE(a->CanDrop(*a, block, fuse)) << "its own subtree";
    ASSERT_TRUE(a->DropItem(*a, block, o2));
    EXPECT_EQ(block->parent(), o2);
    EXPECT_TRUE(a->isExpanded(block)) << "the moved item keeps its expanded state";
    EXPECT_EQ(
        a->treeModel()->rowCount(a->treeModel()->index(1, 0, a->treeModel()->index(0, 0, {}))), 1);

    auto other = std::make_unique<StructureDocument>();
    StructureItem* target = other->addItem(other->root(), ItemType::Object, "T");
    other->Modified = false;
    TfrmChildForm* b = openDocumentWindow(*window, std::move(other), "b.TMV");
    a->document().Modified = false;
    ASSERT_TRUE(b->DropItem(*a, block, target));
    EXPECT_TRUE(o2->children().empty());
    ASSERT_EQ(target->childCount(), 1);
    StructureItem* copy = target->child(0);
    EXPECT_EQ(childNames(*copy), (std::vector<std::string>{"F", "M2"}));
    EXPECT_EQ(copy->child(0)->child(0)->data.ResTexts, (std::vector<std::string>{"r"}));
    EXPECT_TRUE(b->isExpanded(copy)) << "copies keep the expanded state of their originals";
    EXPECT_TRUE(a->document().Modified);
    EXPECT_TRUE(b->document().Modified);
    EXPECT_EQ(b->document().itemCount(), 6);
    EXPECT_EQ(a->document().itemCount(), 3);

    // Move mode: only siblings, only inside one tree.
    window->action("tbnMoveUpDn")->setChecked(true);
    EXPECT_FALSE(a->CanDrop(*b, copy, a->document().root().child(0)));
    EXPECT_TRUE(a->CanDrop(*a, o2, o1));
    ASSERT_TRUE(a->DropItem(*a, o2, o1));
    EXPECT_EQ(childNames(a->document().root()), (std::vector<std::string>{"O2", "O1"}));
}

TEST_F(ChildFormTest, ViewStateComesFromTheStoreAndGoesBackToIt) {
    store.writeInt("FML_State", 2);
    store.writeBool("SUB_State", false);
    TfrmChildForm* f = newStructure();
    EXPECT_EQ(f->viewMode(), 2);
    EXPECT_FALSE(f->showSub());
    auto* medium = f->findChild<QRadioButton*>("rbShowFML1");
    ASSERT_NE(medium, nullptr);
    medium->click();
    EXPECT_EQ(store.readInt("FML_State"), 1);
    EXPECT_EQ(f->document().ViewMode, 1);
}

TEST_F(ChildFormTest, ClosingAsksTheCloseQuestionAndNeverWhileLoading) {
    int asked = 0;
    bool allow = false;
    TfrmChildForm::setDefaultCloseQuestion([&](TfrmChildForm&) {
        ++asked;
        return allow;
    });
    TfrmChildForm* f = newStructure();
    f->document().Loading = true;
    EXPECT_FALSE(f->subWindow()->close());
    EXPECT_EQ(asked, 0);
    f->document().Loading = false;
    EXPECT_FALSE(f->subWindow()->close());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window->openDocumentCount(), 1);
    allow = true;
    EXPECT_TRUE(f->subWindow()->close());
    QApplication::processEvents();
    EXPECT_EQ(window->openDocumentCount(), 0);
}

TEST_F(ChildFormTest, StructureNamesDialogShowsTheNamesInEffectAndOkKeepsThem) {
    StructureNames names;
    names.setDefaultName(ItemType::Fuse, "Fuse ");
    names.setAlternatives(ItemType::Fuse, {"Socket"});
    TfrmStructNames dlg(names, &store, PELVORO_SOURCE_DATA_DIR "/StructureNames.ini");
    dlg.loadBoxes();
    QComboBox* fuse = dlg.box(ItemType::Fuse);
    ASSERT_NE(fuse, nullptr);
    EXPECT_EQ(fuse->currentText(), "Fuse ");
    EXPECT_EQ(fuse->count(), 1);
    EXPECT_FALSE(dlg.box(ItemType::Connection)->isVisible());
    fuse->setFocus();
    fuse->setEditText("Light");
    dlg.addName();
    dlg.applyBoxes();
    EXPECT_EQ(names.defaultName(ItemType::Fuse), "Light");
    EXPECT_EQ(names.alternatives(ItemType::Fuse), (std::vector<std::string>{"Light", "Socket"}));
    EXPECT_EQ(store.readString("StructName_5"), "Light");

    dlg.loadOriginalBoxes();
    EXPECT_EQ(fuse->currentText(), "Fuse ") << "the shipped default";
}

TEST_F(ChildFormTest, InstallationNamesCancelDiscardsAndOkStores) {
    TfrmInstallation dlg(store);
    EXPECT_EQ(dlg.names().connection[0], "Water pipe");
    EXPECT_FALSE(dlg.grid()->item(22, 1)->flags() & Qt::ItemIsSelectable);
    dlg.show();
    InstallationNames n = dlg.names();
    n.location[24] = "Roof";
    dlg.setNames(n);
    dlg.reject();
    EXPECT_EQ(dlg.names().location[24], "");
    EXPECT_FALSE(store.contains("Location_24"));
    dlg.show();
    dlg.setNames(n);
    dlg.okPressed();
    EXPECT_EQ(store.readString("Location_24"), "Roof");
    EXPECT_EQ(store.readString("Connect_0"), "Water pipe");
}

TEST_F(ChildFormTest, LongNamesShowWholeAndTypingStopsAtSixteenCharacters) {
    window->show();
    QApplication::setActiveWindow(window.get());
    TfrmChildForm* f = newStructure();
    window->runCommand("AddItem", ItemType::Object);
    window->runCommand("AddItem", ItemType::Object);
    StructureItem* longName = f->document().root().child(0);
    StructureItem* shortName = f->document().root().child(1);
    longName->data.Name = "Insulation 5 kV, 10 min";  // as a file or a tester gives it
    QLineEdit* box = f->nameBox();
    f->setCurrentItem(longName);
    EXPECT_EQ(box->text(), "Insulation 5 kV, 10 min");
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, "x");
    EXPECT_EQ(longName->caption(), "Insulation 5 kV, 10 min") << "kept whole while typing";
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(longName->caption(), "Insulation 5 kV, 10 mi") << "the user may shorten it";

    f->setCurrentItem(shortName);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(shortName->caption(), "ABCDEFGHIJKLMNOP");

    // A name that cannot be changed is shown as plain text, not greyed out.
    f->setCurrentItem(&f->document().root());
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(box->palette().color(QPalette::Base), box->palette().color(QPalette::Window));
    f->setCurrentItem(shortName);
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_NE(box->palette().color(QPalette::Base), box->palette().color(QPalette::Window));
}

TEST_F(ChildFormTest, TypingANameRenamesAndEnterMovesBetweenTreeAndNameBox) {
    window->show();
    QApplication::setActiveWindow(window.get());
    TfrmChildForm* f = newStructure();
    window->runCommand("AddItem", ItemType::Object);
    StructureItem* obj = f->document().root().child(0);
    f->setCurrentItem(obj);
    f->tree()->setFocus();
    QApplication::processEvents();
    QTest::keyClick(f->tree(), Qt::Key_Return);
    EXPECT_TRUE(f->nameBox()->hasFocus());
    QTest::keyClicks(f->nameBox(), "Garage");
    EXPECT_EQ(obj->caption(), "Garage") << "the whole text was selected and replaced";
    QTest::keyClick(f->nameBox(), Qt::Key_Return);
    EXPECT_TRUE(f->tree()->hasFocus());
    ASSERT_FALSE(f->recentNames().empty());
    EXPECT_EQ(f->recentNames().front(), "Garage");
    // Filling the panel on a selection change is no rename.
    f->document().Modified = false;
    f->setCurrentItem(&f->document().root());
    f->setCurrentItem(obj);
    EXPECT_FALSE(f->document().Modified);
}

TEST_F(ChildFormTest, ActivationShowsTheDocumentsInstrumentData) {
    installInstrumentCommands(*window, std::vector<std::string>{});
    window->show();
    auto make = [](const std::string& serial) {
        auto doc = std::make_unique<StructureDocument>();
        doc->InstrumentData.line(7) = serial;
        doc->SaveCancelled = true;
        return doc;
    };
    TfrmChildForm* a = openDocumentWindow(*window, make("SN-A"), "a.TMV");
    TfrmChildForm* b = openDocumentWindow(*window, make("SN-B"), "b.TMV");
    TfrmInstrData* data = instrumentDataDialog(*window);
    ASSERT_NE(data, nullptr);
    window->mdiArea()->setActiveSubWindow(a->subWindow());
    QApplication::processEvents();
    EXPECT_EQ(data->serialNumberField()->text(), "SN-A");
    EXPECT_FALSE(a->document().SaveCancelled);
    window->mdiArea()->setActiveSubWindow(b->subWindow());
    QApplication::processEvents();
    EXPECT_EQ(data->serialNumberField()->text(), "SN-B");
    a->subWindow()->close();
    b->subWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(data->serialNumberField()->text(), "") << "no document, no instrument data";
}

// Not a check: with PELVORO_GRAB_DIR set, saves pictures of a document window and the
// names dialogs there, to look at them as a user would.
TEST_F(ChildFormTest, GrabPictures) {
    QString dir = qEnvironmentVariable("PELVORO_GRAB_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set PELVORO_GRAB_DIR to save pictures";
    window->show();
    TfrmChildForm* f = newStructure();
    window->runCommand("AddItem", ItemType::Object);
    f->setCurrentItem(f->document().root().child(0));
    window->runCommand("AddItem", ItemType::Block);
    f->setCurrentItem(f->document().root().child(0)->child(0));
    for (int i = 0; i < 3; ++i) window->runCommand("AddItem", ItemType::Fuse);
    window->runCommand("AddItem", ItemType::RCD);
    QApplication::processEvents();
    window->grab().save(dir + "/new_structure.png");
    auto doc = std::make_unique<StructureDocument>();
    StructureItem* obj = doc->addItem(doc->root(), ItemType::Object, "House");
    StructureItem* block = doc->addItem(*obj, ItemType::Block, "Main board");
    for (int i = 1; i <= 4; ++i) {
        StructureItem* fuse = doc->addItem(*block, ItemType::Fuse, "Fuse " + std::to_string(i));
        doc->addItem(*fuse, ItemType::Measurement, "Z loop");
    }
    TfrmChildForm* g = openDocumentWindow(*window, std::move(doc), "/data/house.TMV");
    g->tree()->expandAll();
    QApplication::processEvents();
    window->grab().save(dir + "/opened.png");
    // A long stored name, then the root's read-only name.
    g->document().root().child(0)->data.Name = "Insulation 5 kV, 10 min";
    g->setCurrentItem(g->document().root().child(0));
    QApplication::processEvents();
    g->settingsPanel()->grab().save(dir + "/name_long.png");
    g->setCurrentItem(&g->document().root());
    QApplication::processEvents();
    g->settingsPanel()->grab().save(dir + "/name_read_only.png");
    TfrmStructNames names(structureNames(), &store, PELVORO_SOURCE_DATA_DIR "/StructureNames.ini");
    names.show();
    QApplication::processEvents();
    names.grab().save(dir + "/structure_names.png");
    TfrmInstallation inst(store);
    inst.show();
    QApplication::processEvents();
    inst.grab().save(dir + "/installation_names.png");
}

// Not a check: with PELVORO_MEASURE set, prints how long a window over a large document
// takes to open, select, drop and delete.
TEST_F(ChildFormTest, MeasureLargeDocument) {
    if (qEnvironmentVariable("PELVORO_MEASURE").isEmpty())
        GTEST_SKIP() << "set PELVORO_MEASURE to measure";
    for (int total : {10000, 100000}) {
        auto doc = std::make_unique<StructureDocument>();
        StructureItem* lastFuse = nullptr;
        StructureItem* firstBlock = nullptr;
        int n = 1;
        while (n < total) {
            StructureItem* obj = doc->addItem(doc->root(), ItemType::Object, "O");
            ++n;
            for (int b = 0; b < 10 && n < total; ++b, ++n) {
                StructureItem* block = doc->addItem(*obj, ItemType::Block, "B");
                if (!firstBlock) firstBlock = block;
                for (int f = 0; f < 10 && n + 1 < total; ++f, n += 2) {
                    lastFuse = doc->addItem(*block, ItemType::Fuse, "F");
                    doc->addItem(*lastFuse, ItemType::Measurement, "M");
                }
            }
        }
        QElapsedTimer t;
        t.start();
        TfrmChildForm* f = openDocumentWindow(*window, std::move(doc), "big.TMV");
        QApplication::processEvents();
        qint64 open = t.restart();
        f->tree()->expandAll();
        QApplication::processEvents();
        qint64 expand = t.restart();
        f->setCurrentItem(lastFuse);
        QApplication::processEvents();
        qint64 select = t.restart();
        StructureItem* lastObject =
            f->document().root().child(f->document().root().childCount() - 1);
        f->DropItem(*f, firstBlock, lastObject);
        QApplication::processEvents();
        qint64 drop = t.restart();
        f->setCurrentItem(f->document().root().child(0));
        prompts.answers = {Answer::Yes};
        f->DeleteItem();
        QApplication::processEvents();
        qint64 del = t.restart();
        std::printf(
            "%d items: open %lld ms, expand all %lld ms, select %lld ms, drop %lld ms, delete %lld "
            "ms\n",
            total, open, expand, select, drop, del);
        f->subWindow()->close();
        QApplication::processEvents();
    }
}

}  // namespace
}  // namespace pelvoro
