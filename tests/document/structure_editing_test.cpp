#include "document/structure_editing.h"

#include <gtest/gtest.h>

#include "document/item_names.h"
#include "document/item_types.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::ScriptedPrompts;

// Checks that every change is announced before and after, in pairs, as a tree view
// needs it.
class RecordingListener : public TreeChangeListener {
  public:
    void beforeInsert(StructureItem&, int row) override {
        EXPECT_EQ(open, 0);
        ++open;
        log.push_back("+" + std::to_string(row));
    }
    void afterInsert() override { --open; }
    void beforeRemove(StructureItem& item) override {
        EXPECT_EQ(open, 0);
        ++open;
        log.push_back("-" + item.caption());
    }
    void afterRemove() override { --open; }
    void itemChanged(StructureItem& item) override { log.push_back("~" + item.caption()); }
    void itemCopied(const StructureItem&, StructureItem& to) override {
        copies.push_back(to.caption());
    }
    int open = 0;
    std::vector<std::string> log, copies;
};

class EditingTest : public ::testing::Test {
  protected:
    testing::ScopedLanguage lang{
        "[Language]\r\nAllItems_15=All items\r\nmsgMaxLevel_35=Too "
        "deep\r\nmsgDelItemConfirm_3=Delete\r\n"
        "mbcConfirmation_20=Confirmation\r\n"};
    void SetUp() override {
        structureNames().clear();
        structureNames().setDefaultName(ItemType::Object, "Object ");
        structureNames().setDefaultName(ItemType::Block, "Block ");
        structureNames().setDefaultName(ItemType::Fuse, "Fuse ");
    }
    StructureItem& add(StructureItem& parent, int type, const std::string& name) {
        return *doc.attach(parent, make(type, name));
    }
    static std::unique_ptr<StructureItem> make(int type, const std::string& name) {
        auto it = std::make_unique<StructureItem>();
        it->data.Type = type;
        it->data.Name = name;
        return it;
    }
    std::vector<std::string> childNames(const StructureItem& p) {
        std::vector<std::string> out;
        for (const auto& c : p.children()) out.push_back(c->caption());
        return out;
    }
    StructureDocument doc;
    ScriptedPrompts prompts;
    RecordingListener listener;
    EditContext ctx{doc, prompts, &listener};
    SettingsPanelValues noPanel;
};

TEST(Rules, MovesFollowTheParentTable) {
    struct Row {
        int moved;
        std::vector<int> accepted;
    };
    const std::vector<int> results = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                      22, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42};
    const Row rows[] = {
        {1, {0}},
        {30, {0}},
        {2, {1, 2, 5, 6}},
        {3, {1}},
        {4, {1}},
        {11, {1}},
        {5, {2, 5, 6}},
        {6, {2, 5, 6}},
        {7, {3}},
        {8, {3}},
        {9, {4}},
        {10, {4}},
        {12, {11}},
        {13, {12}},
        {14, {5}},
        {22, {1, 2, 3, 4, 5, 6, 11, 12, 22, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42}},
        {23, results},
        {24, results},
        {31, {30}},
        {32, {31, 32, 33}},
        {33, {31, 32, 33}},
        {34, {31}},
        {42, {31}},
        {0, {}},
        {99, {}},
    };
    const int allTypes[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 22,
                            23, 24, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 99};
    for (const Row& r : rows)
        for (int parent : allTypes) {
            bool expected =
                std::find(r.accepted.begin(), r.accepted.end(), parent) != r.accepted.end();
            EXPECT_EQ(isAcceptedParent(r.moved, parent), expected)
                << r.moved << " under " << parent;
        }
}

TEST(Rules, TypeChangesNeedAFittingParentAndFittingChildren) {
    struct Case {
        int newType, parent;
        std::vector<int> children;
        bool fits;
    };
    const Case cases[] = {
        {1, 0, {2, 3, 4, 11, 22, 23}, true},
        {1, 0, {5}, false},
        {1, 2, {}, false},
        {2, 1, {2, 5, 6, 12, 13, 22, 23}, true},
        {2, 1, {3}, false},
        {5, 2, {14, 23}, true},
        {6, 2, {14}, false},
        {7, 3, {23}, true},
        {8, 3, {22}, false},
        {10, 4, {23}, true},
        {11, 1, {12, 13}, true},
        {12, 11, {12}, false},
        {13, 12, {23}, true},
        {14, 5, {}, true},
        {14, 6, {}, false},
        {30, 0, {31, 22}, true},
        {31, 30, {31, 32, 42}, true},
        {32, 31, {32, 33, 23}, true},
        {33, 33, {34}, false},
        {38, 31, {22, 23}, true},
        {38, 32, {}, false},
        {5, 2, {24}, true},  // graph measurements count as results
        {22, 1, {}, false},
        {0, 0, {}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(typeChangeFits(c.newType, c.parent, c.children), c.fits)
            << c.newType << " under " << c.parent;
}

TEST_F(EditingTest, TypeChangeIsNotOfferedForRootResultsUndefinedParentsOrTheSameType) {
    StructureItem& obj = add(doc.root(), 1, "O");
    StructureItem& block = add(obj, 2, "B");
    StructureItem& meas = add(block, 23, "M");
    StructureItem& undef = add(obj, 22, "U");
    StructureItem& under = add(undef, 2, "UB");
    EXPECT_FALSE(typeChangeAllowed(doc.root(), 1));
    EXPECT_FALSE(typeChangeAllowed(meas, 2));
    EXPECT_FALSE(typeChangeAllowed(under, 5)) << "parent of type Undefined";
    EXPECT_FALSE(typeChangeAllowed(block, 2)) << "its own type";
    EXPECT_FALSE(typeChangeAllowed(block, 22));
    EXPECT_FALSE(typeChangeAllowed(undef, 11)) << "a floor takes no block";
    EXPECT_TRUE(typeChangeAllowed(undef, 2));
    EXPECT_FALSE(typeChangeAllowed(block, 5)) << "a fuse needs a block, fuse or RCD parent";

    EXPECT_TRUE(ChangeType(ctx, undef, 2));
    EXPECT_EQ(undef.type(), 2);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(listener.log.back(), "~U");
    doc.setModified(false);
    EXPECT_FALSE(ChangeType(ctx, meas, 5));
    EXPECT_FALSE(doc.Modified);
}

TEST_F(EditingTest, AddingAnObjectThenItemsUnderTheSelection) {
    AddResult o = AddItem(ctx, nullptr, ItemType::Object, noPanel);
    ASSERT_EQ(o.status, AddResult::Added);
    EXPECT_TRUE(o.selectRoot) << "nothing was selected";
    EXPECT_EQ(o.item->caption(), "Object 1");
    EXPECT_TRUE(doc.Modified);
    AddResult b = AddItem(ctx, o.item, ItemType::Block, noPanel);
    AddResult f1 = AddItem(ctx, b.item, ItemType::Fuse, noPanel);
    AddResult f2 = AddItem(ctx, b.item, ItemType::Fuse, noPanel);
    EXPECT_EQ(childNames(*b.item), (std::vector<std::string>{"Fuse 1", "Fuse 2"}));
    EXPECT_FALSE(f1.selectRoot);
    // An object goes under the root whatever is selected.
    AddResult o2 = AddItem(ctx, f2.item, ItemType::Object, noPanel);
    EXPECT_EQ(o2.item->parent(), &doc.root());
    EXPECT_EQ(o2.item->caption(), "Object 2");
    EXPECT_FALSE(o2.selectRoot);
    EXPECT_EQ(listener.open, 0);
    EXPECT_EQ(listener.log, (std::vector<std::string>{"+0", "+0", "+0", "+1", "+1"}));
}

TEST_F(EditingTest, AnAddThatBreaksTheRulesChangesNothing) {
    StructureItem& obj = add(doc.root(), 1, "O");
    StructureItem& meas = add(obj, 23, "M");
    doc.setModified(false);
    EXPECT_EQ(AddItem(ctx, &meas, ItemType::Fuse, noPanel).status, AddResult::NotAllowed)
        << "results are leaves";
    EXPECT_EQ(AddItem(ctx, nullptr, ItemType::Fuse, noPanel).status, AddResult::NotAllowed);
    EXPECT_EQ(AddItem(ctx, &obj, ItemType::Measurement, noPanel).status, AddResult::NotAllowed);
    EXPECT_EQ(doc.itemCount(), 3);
    EXPECT_FALSE(doc.Modified);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(EditingTest, TheLevelLimitRefusesAnEleventhLevel) {
    StructureItem* p = &add(doc.root(), 1, "O");
    p = &add(*p, 2, "B");
    while (p->level() < 10) p = &add(*p, 5, "F" + std::to_string(p->level()));
    ASSERT_EQ(p->level(), 10);
    doc.setModified(false);
    int before = doc.itemCount();
    AddResult r = AddItem(ctx, p, ItemType::Fuse, noPanel);
    EXPECT_EQ(r.status, AddResult::LevelLimit);
    EXPECT_EQ(doc.itemCount(), before);
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Too deep"}));
    // One level higher still takes a child.
    EXPECT_EQ(AddItem(ctx, p->parent(), ItemType::Fuse, noPanel).status, AddResult::Added);
}

TEST_F(EditingTest, TheScratchRecordTakesThePanelAndTheTypesMeasures) {
    SettingsPanelValues panel;
    panel.number = "3";
    panel.parameters[0] = "L2";
    panel.parameters[4] = "B16";
    panel.comment = "kitchen";
    TStructItemData fuse = fillScratchRecord(ItemType::Fuse, panel);
    EXPECT_EQ(fuse.texts().Number, "3");
    EXPECT_EQ(fuse.texts().Phase, "L2");
    EXPECT_EQ(fuse.texts().CircuitBreaker, "B16");
    EXPECT_EQ(fuse.texts().Comment, "kitchen");
    EXPECT_EQ(fuse.Measures, (std::array<uint8_t, 5>{0xFF, 0, 0, 0, 0}));
    TStructItemData object = fillScratchRecord(ItemType::Object, panel);
    EXPECT_EQ(object.texts().Phase, "") << "objects take no parameters";
    EXPECT_EQ(object.texts().Comment, "kitchen");
    EXPECT_EQ(fillScratchRecord(ItemType::RCD, {}).Measures,
              (std::array<uint8_t, 5>{0, 0x03, 0, 0, 0}));
    EXPECT_EQ(fillScratchRecord(ItemType::Electrode, {}).Measures,
              (std::array<uint8_t, 5>{0, 0x1C, 0, 0, 0}));
    EXPECT_EQ(fillScratchRecord(ItemType::ConnectionEl, {}).Measures,
              (std::array<uint8_t, 5>{0, 0x20, 0, 0, 0}));
    EXPECT_EQ(fillScratchRecord(ItemType::ConnectionMPE, {}).Measures,
              (std::array<uint8_t, 5>{0, 0xC0, 0, 0, 0}));
    EXPECT_EQ(fillScratchRecord(ItemType::Earthing, {}).Measures,
              (std::array<uint8_t, 5>{0, 0, 0x01, 0, 0}));
    EXPECT_EQ(fillScratchRecord(ItemType::Block, {}).Measures, (std::array<uint8_t, 5>{}));
    EXPECT_EQ(fillScratchRecord(ItemType::Block, {}).texts().Number, "1");
}

TEST_F(EditingTest, AllMainProtectiveConductorsButTheMainBonding) {
    StructureItem& obj = add(doc.root(), 30, "O");
    StructureItem& board = add(obj, 31, "DB");
    auto results = AddAllMainProtCond(ctx, &board, noPanel);
    EXPECT_EQ(results.size(), 8u);
    std::vector<int> types;
    for (const auto& c : board.children()) types.push_back(c->type());
    EXPECT_EQ(types, (std::vector<int>{34, 36, 37, 38, 39, 40, 41, 42}));
}

TEST(DeleteQuestion, GermanPutsTheNameFirst) {
    testing::ScopedLanguage lang("[Language]\r\nmsgDelItemConfirm_3=Del\r\n");
    EXPECT_EQ(deleteQuestion("Fuse 1", "ENGLISH"), "Del  Fuse 1 ?");
    EXPECT_EQ(deleteQuestion("Fuse 1", "DEUTSCH"), "Fuse 1  Del ?");
}

TEST(DeleteQuestion, SaysWhatGoesWithTheItem) {
    testing::ScopedLanguage lang(
        "[Language]\r\nAllItems_15=All items\r\nmsgDelItemConfirm_3=Del\r\n"
        "msgDelAlsoGo_70=Also %1 items, %2 results.\r\n"
        "msgDelEverything_70=Everything: %1 items, %2 results.\r\n");
    StructureDocument doc;
    StructureItem* obj = doc.addItem(doc.root(), 1, "O");
    StructureItem* block = doc.addItem(*obj, 2, "B");
    doc.addItem(*block, 23, "M1");
    doc.addItem(*doc.addItem(*block, 5, "F"), 24, "G");
    StructureItem* lone = doc.addItem(*obj, 2, "Lone");
    struct Case {
        const StructureItem* item;
        const char* question;
    } cases[] = {
        {block, "Del  B ?\nAlso 1 items, 2 results."},
        {obj, "Del  O ?\nAlso 3 items, 2 results."},
        {lone, "Del  Lone ?"},
        {&doc.root(), "Del  All items ?\nEverything: 4 items, 2 results."},
    };
    for (const Case& c : cases) EXPECT_EQ(deleteQuestion(*c.item, "ENGLISH"), c.question);
}

TEST_F(EditingTest, DeletingAsksAndTakesTheSubtree) {
    StructureItem& obj = add(doc.root(), 1, "O");
    StructureItem& block = add(obj, 2, "B");
    add(block, 5, "F");
    add(obj, 2, "B2");
    doc.setModified(false);
    prompts.answers = {Answer::No};
    EXPECT_FALSE(DeleteItem(ctx, block, "ENGLISH"));
    EXPECT_EQ(doc.itemCount(), 5);
    EXPECT_FALSE(doc.Modified);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].title, "Confirmation");
    EXPECT_EQ(prompts.shown[0].text.substr(0, 11), "Delete  B ?");
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(DeleteItem(ctx, block, "ENGLISH"));
    EXPECT_EQ(childNames(obj), (std::vector<std::string>{"B2"}));
    EXPECT_TRUE(doc.Modified);
}

TEST_F(EditingTest, DeletingTheRootLeavesAFreshRoot) {
    StructureItem& obj = add(doc.root(), 1, "O");
    add(obj, 23, "M").data.ResTexts = {"result"};
    add(doc.root(), 1, "O2");
    doc.root().data.Name = "renamed";
    doc.setModified(false);
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(DeleteItem(ctx, doc.root(), "ENGLISH"));
    EXPECT_EQ(doc.itemCount(), 1);
    EXPECT_EQ(doc.root().caption(), "All items");
    EXPECT_EQ(doc.root().type(), ItemType::Root);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(listener.open, 0);
}

TEST_F(EditingTest, RedefineAllTurnsUndefinedItemsIntoObjectBlockAndFuseByLevel) {
    StructureItem& u1 = add(doc.root(), 22, "1");
    StructureItem& u2 = add(u1, 22, "2");
    StructureItem& u3 = add(u2, 22, "3");
    StructureItem& u4 = add(u3, 22, "4");
    StructureItem& room = add(u1, 12, "R");
    EXPECT_EQ(RedefineAll(ctx), 3);
    EXPECT_EQ(u1.type(), ItemType::Object);
    EXPECT_EQ(u2.type(), ItemType::Block);
    EXPECT_EQ(u3.type(), ItemType::Fuse);
    EXPECT_EQ(u4.type(), ItemType::Undefined);
    EXPECT_EQ(room.type(), ItemType::Room);
    EXPECT_TRUE(doc.Modified);
}

class DropTest : public EditingTest {
  protected:
    void SetUp() override {
        EditingTest::SetUp();
        o1 = &add(doc.root(), 1, "O1");
        o2 = &add(doc.root(), 1, "O2");
        block = &add(*o1, 2, "B");
        fuse = &add(*block, 5, "F");
        m1 = &add(*fuse, 23, "M1");
        m1->data.ResTexts = {"r1"};
        m1->data.FpStrings = {"F;301;x;"};
        m2 = &add(*block, 23, "M2");
        doc.setModified(false);
    }
    StructureItem *o1, *o2, *block, *fuse, *m1, *m2;
};

TEST_F(DropTest, ABlockMovesWithItsSubtreeToAnotherObject) {
    EXPECT_TRUE(CanDrop(doc, block, doc, o2, false));
    DropResult r = DropItem(ctx, *block, ctx, *o2, false);
    ASSERT_EQ(r.status, DropResult::Dropped);
    EXPECT_EQ(r.item, block);
    EXPECT_EQ(block->parent(), o2);
    EXPECT_TRUE(o1->children().empty());
    EXPECT_EQ(childNames(*block), (std::vector<std::string>{"F", "M2"}));
    EXPECT_EQ(m1->data.ResTexts, (std::vector<std::string>{"r1"}));
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(listener.open, 0);
}

TEST_F(DropTest, DropsOntoTheParentTheItemItselfOrItsDescendantsAreRefused) {
    EXPECT_FALSE(CanDrop(doc, block, doc, o1, false)) << "its own parent";
    EXPECT_FALSE(CanDrop(doc, block, doc, block, false));
    EXPECT_FALSE(CanDrop(doc, block, doc, fuse, false)) << "inside its own subtree";
    EXPECT_FALSE(CanDrop(doc, block, doc, nullptr, false));
    EXPECT_FALSE(CanDrop(doc, fuse, doc, o2, false)) << "a fuse does not go under an object";
    EXPECT_FALSE(CanDrop(doc, &doc.root(), doc, o2, false));
    EXPECT_EQ(DropItem(ctx, *block, ctx, *fuse, false).status, DropResult::Refused);
    EXPECT_FALSE(doc.Modified);
}

TEST_F(DropTest, AnotherDocumentGetsACopyAndTheSourceLosesTheOriginal) {
    StructureDocument other;
    StructureItem& target = *other.attach(other.root(), make(1, "Target"));
    other.setModified(false);
    ScriptedPrompts otherPrompts;
    RecordingListener otherListener;
    EditContext tctx{other, otherPrompts, &otherListener};
    EXPECT_TRUE(CanDrop(doc, block, other, &target, false));
    EXPECT_FALSE(CanDrop(doc, block, other, &target, true)) << "move mode stays inside one tree";
    testing::VirtualClock clock;
    DropResult r = DropItem(ctx, *block, tctx, target, false, &clock);
    ASSERT_EQ(r.status, DropResult::Dropped);
    EXPECT_DOUBLE_EQ(clock.now, 0.3);
    EXPECT_EQ(otherPrompts.busyDepth, 0);
    EXPECT_EQ(doc.itemCount(), 3) << "root and both objects stay";
    EXPECT_EQ(other.itemCount(), 2 + 4);
    const StructureItem& copy = *target.child(0);
    EXPECT_EQ(copy.caption(), "B");
    EXPECT_EQ(childNames(copy), (std::vector<std::string>{"F", "M2"}));
    const StructureItem& m = *copy.child(0)->child(0);
    EXPECT_EQ(m.data.ResTexts, (std::vector<std::string>{"r1"}));
    EXPECT_EQ(m.data.FpStrings, (std::vector<std::string>{"F;301;x;"}));
    EXPECT_TRUE(doc.Modified);
    EXPECT_TRUE(other.Modified);
    EXPECT_EQ(otherListener.copies, (std::vector<std::string>{"B", "F", "M2", "M1"}));
    EXPECT_EQ(otherListener.open, 0);
    EXPECT_EQ(listener.log.back(), "-B");
}

TEST_F(DropTest, MoveModeReordersSiblingsOnly) {
    StructureItem& b2 = add(*o1, 2, "B2");
    StructureItem& b3 = add(*o1, 2, "B3");
    EXPECT_FALSE(CanDrop(doc, &b3, doc, o2, true)) << "another parent";
    EXPECT_FALSE(CanDrop(doc, &b3, doc, fuse, true));
    ASSERT_TRUE(CanDrop(doc, &b3, doc, block, true));
    EXPECT_EQ(DropItem(ctx, b3, ctx, *block, true).status, DropResult::Dropped);
    EXPECT_EQ(childNames(*o1), (std::vector<std::string>{"B3", "B", "B2"}));
    // Moving down: the item ends where the target was.
    EXPECT_EQ(DropItem(ctx, b3, ctx, b2, true).status, DropResult::Dropped);
    EXPECT_EQ(childNames(*o1), (std::vector<std::string>{"B", "B2", "B3"}));
    EXPECT_TRUE(doc.Modified);
}

TEST_F(DropTest, ADropThatWouldPassLevelTenIsRefused) {
    // A chain of blocks down to level 9 under O2.
    StructureItem* p = o2;
    while (p->level() < 9) p = &add(*p, 2, "L" + std::to_string(p->level() + 1));
    // The block's subtree is two levels deep: at level 10 its measurement would be on 12.
    DropResult r = DropItem(ctx, *block, ctx, *p, false);
    EXPECT_EQ(r.status, DropResult::LevelLimit);
    EXPECT_EQ(block->parent(), o1);
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Too deep"}));
    // A single measurement still fits under level 9.
    EXPECT_EQ(DropItem(ctx, *m2, ctx, *p, false).status, DropResult::Dropped);
    EXPECT_EQ(m2->level(), 10);
}

}  // namespace
}  // namespace pelvoro
