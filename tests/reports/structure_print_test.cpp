#include "reports/structure_print.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::FixedWidthMeasure;

std::vector<std::string> captions(const std::vector<SectionEntry>& section) {
    std::vector<std::string> out;
    for (const SectionEntry& e : section)
        out.push_back(std::string(size_t(e.level), '.') + e.item->caption());
    return out;
}

std::vector<std::string> pageText(const StructurePage& page) {
    std::vector<std::string> out;
    for (const StructureEntry& e : page.entries)
        out.push_back((e.style == StructureEntryStyle::Chain      ? "c:"
                       : e.style == StructureEntryStyle::Ancestor ? "a:"
                                                                  : "") +
                      e.caption);
    return out;
}

class StructurePrintTest : public ::testing::Test {
  protected:
    StructurePrintTest() {
        object = doc.addItem(doc.root(), ItemType::Object, "Object");
        block = doc.addItem(*object, ItemType::Block, "Block");
        fuse = doc.addItem(*block, ItemType::Fuse, "Fuse");
        doc.addItem(*fuse, ItemType::Measurement, "Result");
        rod = doc.addItem(*block, ItemType::LightRod, "Rod");
        doc.addItem(*rod, ItemType::Electrode, "Electrode");
        inner = doc.addItem(*block, ItemType::Block, "Inner block");
        doc.addItem(*inner, ItemType::RCD, "RCD");
        board = doc.addItem(*object, ItemType::DistBoard, "Board");
        sub = doc.addItem(*board, ItemType::DistBoard, "Sub board");
        doc.addItem(*sub, ItemType::Circuit, "Circuit");
    }
    StructureDocument doc;
    StructureItem *object, *block, *fuse, *rod, *inner, *board, *sub;
    FixedWidthMeasure measure{10, 20};
};

TEST_F(StructurePrintTest, SectionsLeaveOutNestedBlocksAndResults) {
    struct {
        StructureItem* root;
        std::vector<std::string> items;
    } cases[] = {
        // the lightning rod a leaf, the nested block and the result left out
        {block, {"Block", ".Fuse", ".Rod"}},
        {rod, {"Rod", ".Electrode"}},
        {inner, {"Inner block", ".RCD"}},
        // a nested board is drawn with its sub-tree in the outer section
        {board, {"Board", ".Sub board", "..Circuit"}},
    };
    for (const auto& c : cases) EXPECT_EQ(captions(buildSection(*c.root)), c.items);
}

TEST_F(StructurePrintTest, EverySectionStartsAPageUnderItsAncestors) {
    StructurePrintPlanner planner(measure, 10);
    const StructurePrintPlan p = planner.plan(doc, {"plant.TMV", "9 Dec 2026", "Page %1 of %2"});
    EXPECT_EQ(p.lineHeight, 23);  // 1.15 x 20
    EXPECT_EQ(p.iconSize, 21);    // 1.05 x 20
    EXPECT_EQ(p.indent, 35);      // 1.5 x L
    const std::vector<std::vector<std::string>> expected = {
        {"c:(Object)", "Block", "Fuse", "Rod"},
        {"c:(Object)", "c:(Block)", "Rod", "Electrode"},
        {"c:(Object)", "c:(Block)", "Inner block", "RCD"},
        {"c:(Object)", "Board", "Sub board", "Circuit"},
        {"c:(Object)", "c:(Board)", "Sub board", "Circuit"},
    };
    ASSERT_EQ(p.pages.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(pageText(p.pages[i]), expected[i]) << i;

    // The inner block's page: chain rows 0 and 1, the section root on row 2 (its level - 1)
    // below the dotted line, its child one indent further right.
    const StructurePage& page = p.pages[2];
    const int L = p.lineHeight, D = p.indent;
    // Under the title line: the document, the date and the page number.
    ASSERT_EQ(page.title.size(), 3u);
    EXPECT_EQ(page.title[0].text, "plant.TMV");
    EXPECT_EQ(page.title[1].text, "9 Dec 2026");
    EXPECT_EQ(page.title[2].text, "Page 3 of 5");
    EXPECT_EQ(page.title[2].x + 110, p.width);  // at the right edge
    const int top = page.titleRuleY + L;
    EXPECT_EQ(page.entries[0].y, top);
    EXPECT_EQ(page.entries[1].x, L + D);
    EXPECT_TRUE(page.entries[1].greyIcon);
    EXPECT_EQ(page.entries[2].y, top + 2 * L);
    EXPECT_EQ(page.dottedLineY, page.entries[2].y - 2);
    EXPECT_EQ(page.entries[3].x, page.entries[2].x + D);
    EXPECT_EQ(page.entries[3].captionX, page.entries[3].x + 32);  // + 1.5 I
    // Connectors: Object to Block in the chain, Inner block to RCD; none across the line.
    ASSERT_EQ(page.connectors.size(), 2u);
    const StructureConnector& c = page.connectors[1];
    EXPECT_EQ(c.x, page.entries[2].x + p.iconSize / 2);
    EXPECT_EQ(c.y1, page.entries[2].y + p.iconSize);
    EXPECT_EQ(c.y2, page.entries[3].y + p.iconSize / 2);
    EXPECT_EQ(c.x2, page.entries[3].x);
}

TEST_F(StructurePrintTest, LongSectionGoesOnWithItsAncestorsRepeated) {
    StructureDocument big;
    StructureItem* obj = big.addItem(big.root(), ItemType::Object, "Object");
    StructureItem* b = big.addItem(*obj, ItemType::DistBoard, "Board");
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        StructureItem* c = big.addItem(*b, ItemType::Circuit, "C" + std::to_string(i));
        names.push_back(c->caption());
        for (int k = 0; k < 3; ++k) {
            big.addItem(*c, ItemType::Fuse, "F" + std::to_string(i) + "." + std::to_string(k));
            names.push_back("F" + std::to_string(i) + "." + std::to_string(k));
        }
    }
    StructurePrintPlanner planner(measure, 10);
    const StructurePrintPlan p = planner.plan(big);
    ASSERT_GT(p.pages.size(), 1u);
    std::vector<std::string> items;
    for (size_t i = 0; i < p.pages.size(); ++i) {
        const auto& entries = p.pages[i].entries;
        EXPECT_EQ(entries[0].caption, "(Object)") << "chain on every page";
        if (i > 0) {
            EXPECT_EQ(entries[1].caption, "(Board)") << "the section root repeated";
        }
        for (const StructureEntry& e : entries) {
            if (e.style == StructureEntryStyle::Item && e.caption != "Board")
                items.push_back(e.caption);
            EXPECT_LE(e.y + p.lineHeight, p.height - 3 * p.lineHeight) << e.caption;
        }
    }
    EXPECT_EQ(items, names);  // every item once, in order
}

TEST(StructurePrint, DocumentWithoutBoardsIsOneEmptyPage) {
    StructureDocument doc;
    doc.addItem(doc.root(), ItemType::Object, "Object");
    FixedWidthMeasure measure;
    const StructurePrintPlan p = StructurePrintPlanner(measure, 10).plan(doc);
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_TRUE(p.pages[0].entries.empty());
}

}  // namespace
}  // namespace pelvoro
