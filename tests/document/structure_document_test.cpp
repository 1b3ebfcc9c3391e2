#include "document/structure_document.h"

#include <gtest/gtest.h>

#include "document/item_types.h"
#include "support/language_fixture.h"

namespace pelvoro {
namespace {

class DocumentTest : public ::testing::Test {
  protected:
    testing::ScopedLanguage lang{"[Language]\r\nAllItems_15=All items\r\n"};
};

std::vector<std::string> names(const std::vector<StructureItem*>& items) {
    std::vector<std::string> out;
    for (auto* i : items) out.push_back(i->caption());
    return out;
}

TEST_F(DocumentTest, ANewDocumentHoldsOnlyTheRoot) {
    StructureDocument doc;
    EXPECT_EQ(doc.itemCount(), 1);
    EXPECT_EQ(doc.root().type(), ItemType::Root);
    EXPECT_EQ(doc.root().caption(), "All items");
    EXPECT_FALSE(doc.Modified);
    EXPECT_FALSE(doc.HasFile);
}

TEST_F(DocumentTest, PreorderParentsSiblingsAndLevels) {
    StructureDocument doc;
    auto* o1 = doc.addItem(doc.root(), ItemType::Object, "O1");
    auto* b1 = doc.addItem(*o1, ItemType::Block, "B1");
    auto* f1 = doc.addItem(*b1, ItemType::Fuse, "F1");
    auto* b2 = doc.addItem(*o1, ItemType::Block, "B2");
    auto* o2 = doc.addItem(doc.root(), ItemType::Object, "O2");
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(names(doc.preorder()),
              (std::vector<std::string>{"All items", "O1", "B1", "F1", "B2", "O2"}));
    EXPECT_EQ(doc.absoluteIndex(*b2), 4);
    EXPECT_EQ(doc.itemAt(3), f1);
    EXPECT_EQ(f1->level(), 3);
    EXPECT_EQ(b2->previousSibling(), b1);
    EXPECT_EQ(b1->previousSibling(), nullptr);
    EXPECT_EQ(o2->previousSibling(), o1);
    EXPECT_EQ(b1->nextSibling(), b2);
    EXPECT_EQ(names(doc.subtree(*o1)), (std::vector<std::string>{"O1", "B1", "F1", "B2"}));
}

TEST_F(DocumentTest, DeletingAChildRelinksTheNextSibling) {
    StructureDocument doc;
    auto* o = doc.addItem(doc.root(), ItemType::Object, "O");
    auto* a = doc.addItem(*o, ItemType::Fuse, "A");
    auto* b = doc.addItem(*o, ItemType::Fuse, "B");
    doc.addItem(*b, ItemType::Measurement, "M");
    auto* c = doc.addItem(*o, ItemType::Fuse, "C");
    doc.deleteItem(*b);
    EXPECT_EQ(c->previousSibling(), a);
    EXPECT_EQ(c->indexInParent(), 1);
    EXPECT_EQ(names(doc.preorder()), (std::vector<std::string>{"All items", "O", "A", "C"}));
    EXPECT_EQ(doc.absoluteIndex(*c), 3);
}

TEST_F(DocumentTest, LevelLimitIsTen) {
    StructureDocument doc;
    StructureItem* item = &doc.root();
    for (int level = 1; level <= StructureDocument::kMaxLevel; ++level) {
        item = doc.addItem(*item, ItemType::Block, "L" + std::to_string(level));
        ASSERT_NE(item, nullptr) << level;
    }
    EXPECT_EQ(item->level(), 10);
    EXPECT_FALSE(doc.canAddChild(*item));
    EXPECT_EQ(doc.addItem(*item, ItemType::Fuse, "too deep"), nullptr);
    EXPECT_TRUE(doc.canAddChild(*item->parent()));  // level 9 still accepts one level
}

TEST_F(DocumentTest, MovingASubtreeKeepsItWhole) {
    StructureDocument doc;
    auto* o1 = doc.addItem(doc.root(), ItemType::Object, "O1");
    auto* o2 = doc.addItem(doc.root(), ItemType::Object, "O2");
    auto* b = doc.addItem(*o1, ItemType::Block, "B");
    doc.addItem(*b, ItemType::Fuse, "F");
    doc.attach(*o2, doc.detach(*b), 0);
    EXPECT_EQ(b->parent(), o2);
    EXPECT_EQ(names(doc.preorder()), (std::vector<std::string>{"All items", "O1", "O2", "B", "F"}));
    EXPECT_THROW(doc.attach(*b->child(0), doc.detach(*o2)), std::logic_error);
}

TEST_F(DocumentTest, InstrumentVariantUsesItemFiveOrFourForFamilyB) {
    TInstrumentData d;
    d.line(1) = "50";
    d.line(4) = "TQ 42-AUS";
    d.line(5) = "HW-DE";
    d.deriveVariant();
    EXPECT_EQ(d.InstrVariant, "DE");
    d.InstrVariant.clear();
    d.line(1) = "24";
    d.deriveVariant();
    EXPECT_EQ(d.InstrVariant, "AUS");
}

TEST_F(DocumentTest, MeasureBits) {
    TStructItemData data;
    data.setMeasureBit(0, true);
    data.setMeasureBit(9, true);
    data.setMeasureBit(16, true);
    EXPECT_EQ(data.Measures[0], 0x01);
    EXPECT_EQ(data.Measures[1], 0x02);
    EXPECT_EQ(data.Measures[2], 0x01);
    data.setMeasureBit(9, false);
    EXPECT_FALSE(data.measureBit(9));
    EXPECT_TRUE(data.measureBit(16));
}

TEST_F(DocumentTest, IconsByType) {
    struct Case {
        int type;
        int icon;
    } cases[] = {{0, -1},  {1, 70},  {30, 70}, {2, 10},  {31, 10}, {5, 13},
                 {33, 13}, {7, 15},  {13, 21}, {14, 71}, {22, 22}, {23, 23},
                 {24, 62}, {32, 55}, {34, 42}, {42, 50}, {15, -1}, {99, -1}};
    for (const auto& c : cases) EXPECT_EQ(itemTypeIcon(c.type), c.icon) << c.type;
}

TEST_F(DocumentTest, LargeFlatAndDeepTreesStayCheap) {
    StructureDocument doc;
    auto* o = doc.addItem(doc.root(), ItemType::Object, "O");
    for (int i = 0; i < 100000; ++i) doc.addItem(*o, ItemType::Measurement, "M");
    // Walking previous siblings of every item is linear: no search in the parent's list.
    long long sum = 0;
    for (StructureItem* it : doc.preorder())
        if (auto* p = it->previousSibling()) sum += doc.absoluteIndex(*p);
    EXPECT_GT(sum, 0);
    EXPECT_EQ(doc.itemCount(), 100002);
    doc.clear();
    EXPECT_EQ(doc.itemCount(), 1);
}

}  // namespace
}  // namespace pelvoro

namespace pelvoro {
namespace {

TEST(DocumentDepth, AVeryDeepChainIsFreedWithoutRecursion) {
    auto doc = std::make_unique<StructureDocument>();
    StructureItem* item = &doc->root();
    for (int i = 0; i < 200000; ++i) item = doc->attach(*item, std::make_unique<StructureItem>());
    EXPECT_EQ(item->level(), 200000);
    EXPECT_EQ(doc->itemCount(), 200001);
    doc.reset();  // must not overflow the stack
}

}  // namespace
}  // namespace pelvoro
