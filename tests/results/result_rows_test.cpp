#include "results/result_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "results/render_result.h"
#include "support/language_fixture.h"

namespace pelvoro {
namespace {

using testing::ScopedLanguage;

// A result with `results` results of three lines each (levels 1, 2, 3) and a date line.
StructureItem* addResult(StructureDocument& doc, StructureItem& parent, const std::string& name,
                         int results, bool date = true) {
    StructureItem* r = doc.addItem(parent, ItemType::Measurement, name);
    if (!r) r = doc.attach(parent, std::make_unique<StructureItem>());
    r->data.Type = ItemType::Measurement;
    r->data.Name = name;
    if (date) r->data.ResTexts.push_back("X#PD05.12.2025  14:30");
    for (int i = 1; i <= results; ++i) {
        r->data.ResTexts.push_back("X#PR#L1" + name + " " + std::to_string(i) + "#Cb#AR#K023");
        r->data.ResTexts.push_back("X#PR#L2R: 1." + std::to_string(i) + "M#S258");
        r->data.ResTexts.push_back("X#PL#L3Lim: 0.5M#S258");
    }
    r->data.L1Count = countL1Lines(r->data.ResTexts);
    return r;
}

StructureItem* addNode(StructureDocument& doc, StructureItem& parent, int type,
                       const std::string& name) {
    StructureItem* n = doc.attach(parent, std::make_unique<StructureItem>());
    n->data.Type = type;
    n->data.Name = name;
    return n;
}

std::vector<std::string> names(const ResultRows& rows) {
    std::vector<std::string> out;
    for (const StructureItem* i : rows.items) out.push_back(i->caption());
    return out;
}

TEST(ResultRows, RowsPerItemFollowTheDetailLevel) {
    struct Case {
        int results, viewMode, rows;
    } cases[] = {
        {3, kViewFull, 4},   {3, kViewMedium, 4}, {3, kViewLow, 2}, {0, kViewFull, 1},
        {0, kViewMedium, 1}, {0, kViewLow, 1},    {1, kViewLow, 2},
    };
    for (const Case& c : cases) {
        StructureDocument doc;
        StructureItem* obj = addNode(doc, doc.root(), ItemType::Object, "Object");
        addResult(doc, *obj, "A", c.results);
        addResult(doc, *obj, "B", 1);
        ResultRows rows = AssignResultRows(doc, obj, c.viewMode, true);
        SCOPED_TRACE(::testing::Message() << c.results << " results, level " << c.viewMode);
        ASSERT_EQ(rows.itemCount(), 2);
        EXPECT_EQ(rows.firstRows[0], 1);
        EXPECT_EQ(rows.firstRows[1], 1 + c.rows);
        EXPECT_EQ(rows.items[1]->data.FirstRow, 1 + c.rows);
        EXPECT_EQ(rows.rowCount, 1 + c.rows + rows.rowsOf(*rows.items[1]));
    }
}

TEST(ResultRows, SubItemsDecideWhatIsShown) {
    StructureDocument doc;
    StructureItem* obj = addNode(doc, doc.root(), ItemType::Object, "Workshop");
    addResult(doc, *obj, "Earth", 1);
    StructureItem* block = addNode(doc, *obj, ItemType::Block, "Board");
    StructureItem* fuse = addNode(doc, *block, ItemType::Fuse, "F1");
    StructureItem* deep = addResult(doc, *fuse, "Loop", 2);
    addResult(doc, *obj, "Last", 1);

    EXPECT_EQ(names(AssignResultRows(doc, obj, kViewFull, false)),
              (std::vector<std::string>{"Earth", "Last"}));
    EXPECT_EQ(deep->data.FirstRow, 0);
    EXPECT_EQ(names(AssignResultRows(doc, obj, kViewFull, true)),
              (std::vector<std::string>{"Earth", "Loop", "Last"}));
    EXPECT_EQ(names(AssignResultRows(doc, &doc.root(), kViewFull, false)),
              (std::vector<std::string>{}));

    // A result selected directly is the only one shown, numbered 1.
    ResultRows one = AssignResultRows(doc, deep, kViewFull, true);
    EXPECT_EQ(names(one), (std::vector<std::string>{"Loop"}));
    EXPECT_EQ(one.rowCount, 4);
    EXPECT_EQ(BuildRowLines(one, 1)[1], "X#PS1");
    // Nothing selected: only the heading row; earlier rows are cleared.
    ResultRows none = AssignResultRows(doc, nullptr, kViewFull, true);
    EXPECT_EQ(none.rowCount, 1);
    EXPECT_EQ(deep->data.FirstRow, 0);
    EXPECT_TRUE(BuildRowLines(none, 1).empty());
}

TEST(ResultRows, GroupMarksOfFirstResults) {
    StructureDocument doc;
    StructureItem* obj = addNode(doc, doc.root(), ItemType::Object, "Workshop");
    StructureItem* block = addNode(doc, *obj, ItemType::Block, "Board");
    StructureItem* own = addResult(doc, *block, "Own", 1);
    StructureItem* second = addResult(doc, *block, "Own2", 1);
    StructureItem* f1 = addNode(doc, *block, ItemType::Fuse, "F1");
    StructureItem* r1 = addResult(doc, *f1, "R1", 1);
    StructureItem* f2 = addNode(doc, *block, ItemType::Fuse, "F2");
    StructureItem* r2 = addResult(doc, *f2, "R2", 1);
    StructureItem* room = addNode(doc, *obj, ItemType::Room, "Room");
    StructureItem* r3 = addResult(doc, *room, "R3", 1);

    ResultRows rows = AssignResultRows(doc, obj, kViewFull, true);
    EXPECT_EQ(names(rows), (std::vector<std::string>{"Own", "Own2", "R1", "R2", "R3"}));
    EXPECT_EQ(headingColourCode(*own), 2);     // first result under a block
    EXPECT_EQ(headingColourCode(*second), 4);  // not the first
    EXPECT_EQ(headingColourCode(*r1), 2);      // first fuse of the block starts the group
    EXPECT_EQ(headingColourCode(*r2), 3);      // later fuses are sub-groups
    EXPECT_EQ(headingColourCode(*r3), 4);      // a room has no group
    EXPECT_EQ(BuildRowLines(rows, r1->data.FirstRow)[0], "X#PC2");

    // Marks are given afresh at every assignment.
    AssignResultRows(doc, f2, kViewFull, true);
    EXPECT_EQ(headingColourCode(*r2), 2);
    EXPECT_EQ(headingColourCode(*r1), 4);
}

TEST(ResultRows, RowLinesOfHeadingAndResults) {
    StructureDocument doc;
    StructureItem* obj = addNode(doc, doc.root(), ItemType::Object, "Hall #2");
    StructureItem* fuse = addNode(doc, *obj, ItemType::Fuse, "F1");
    addResult(doc, *fuse, "First", 1);
    StructureItem* r = addResult(doc, *fuse, "Loop", 3);

    ResultRows full = AssignResultRows(doc, fuse, kViewFull, true);
    const int h = r->data.FirstRow;
    EXPECT_EQ(
        BuildRowLines(full, h),
        (std::vector<std::string>{"X#PC4", "X#PS2", "X#PVHall ##2 / F1", "X#PD05.12.2025  14:30"}));
    EXPECT_EQ(BuildRowLines(full, h + 1),
              (std::vector<std::string>{"X#PC1", "X#PR#L1Loop 1#Cb#AR#K023", "X#PR#L2R: 1.1M#S258",
                                        "X#PL#L3Lim: 0.5M#S258"}));
    EXPECT_EQ(BuildRowLines(full, h + 2)[0], "X#PC0");
    EXPECT_EQ(BuildRowLines(full, h + 2)[1], "X#PR#L1Loop 2#Cb#AR#K023");
    EXPECT_EQ(BuildRowLines(full, h + 3)[0], "X#PC1");
    EXPECT_EQ(BuildRowLines(full, h + 3).size(), 4u);

    ResultRows low = AssignResultRows(doc, fuse, kViewLow, true);
    std::vector<std::string> all = BuildRowLines(low, r->data.FirstRow + 1);
    EXPECT_EQ(all.size(), 10u);  // colour line and all nine lines, without the date
    EXPECT_EQ(all[0], "X#PC1");
    EXPECT_EQ(low.rowCount, 1 + 2 + 2);

    // The path, interpreted, keeps the "#" of the name.
    MarkupLine path = ParseMarkup(BuildRowLines(full, h)[2], MarkupMode::ClipBrd);
    EXPECT_EQ(path.props.kind, "V");
    EXPECT_EQ(path.text(), "Hall #2 / F1");
}

TEST(ResultRows, PathOfDeepItems) {
    StructureDocument doc;
    StructureItem* parent = &doc.root();
    std::vector<StructureItem*> chain;
    for (int i = 1; i <= 7; ++i) {
        parent = addNode(doc, *parent, ItemType::Room, "N" + std::to_string(i));
        chain.push_back(parent);
    }
    struct Case {
        int depth;
        const char* path;
    } cases[] = {
        {1, ""},
        {2, "N1"},
        {3, "N1 / N2"},
        {4, "N1 / N2 / N3"},
        {5, "N1 / N2 / N3 / N4"},
        {6, "N1 / ... / N4 / N5"},
        {7, "N1 / ... / N5 / N6"},
    };
    for (const Case& c : cases) EXPECT_EQ(itemPath(*chain[size_t(c.depth - 1)]), c.path) << c.depth;
}

TEST(ResultRows, CountedLinesPerLevel) {
    const std::vector<std::string> heading = {"X#PC2", "X#PS1", "X#PVA / B", "X#PD01.01.2025"};
    const std::vector<std::string> result = {"X#PC1",        "X#PN#L1Name",  "X#PR#L1Head",
                                             "X#PR#L2Value", "X#PL#L3Limit", "X#PL#L3Other"};
    EXPECT_EQ(CountRowLines(heading, kViewFull), 3);
    EXPECT_EQ(CountRowLines(heading, kViewLow), 3);
    EXPECT_EQ(CountRowLines(result, kViewFull), 4);
    EXPECT_EQ(CountRowLines(result, kViewMedium), 2);
    EXPECT_EQ(CountRowLines(result, kViewLow), 1);
}

TEST(ResultRows, TextRenderingOfTheTable) {
    ScopedLanguage lang("[Language]\nNo_3=No\nResults_10=Results\ntext23=PASS\n");
    TextCodeTable codes;
    codes.fill(*currentLanguageFile());
    MarkupSources sources;
    sources.textCodes = &codes;
    MarkupInterpreter interpreter(sources);

    StructureDocument doc;
    StructureItem* obj = addNode(doc, doc.root(), ItemType::Object, "Hall");
    StructureItem* fuse = addNode(doc, *obj, ItemType::Fuse, "F1");
    addResult(doc, *fuse, "Loop", 2);
    addResult(doc, *fuse, "Cont", 1, false);

    struct Case {
        int viewMode;
        std::string text;
    } cases[] = {
        {kViewFull,
         "No\tResults\n1\tHall / F1\n\t05.12.2025  14:30\n\tLoop 1      PASS\n\t  R: 1.1M\xD9\n"
         "\t    Lim: 0.5M\xD9\n\tLoop 2      PASS\n\t  R: 1.2M\xD9\n\t    Lim: 0.5M\xD9\n"
         "2\tHall / F1\n\tCont 1      PASS\n\t  R: 1.1M\xD9\n\t    Lim: 0.5M\xD9"},
        {kViewMedium,
         "No\tResults\n1\tHall / F1\n\t05.12.2025  14:30\n\tLoop 1      PASS\n\t  R: 1.1M\xD9\n"
         "\tLoop 2      PASS\n\t  R: 1.2M\xD9\n2\tHall / F1\n\tCont 1      PASS\n\t  R: 1.1M\xD9"},
        {kViewLow,
         "No\tResults\n1\tHall / F1\n\t05.12.2025  14:30\n\tLoop 1      PASS\n\tLoop 2      PASS\n"
         "2\tHall / F1\n\tCont 1      PASS"},
    };
    for (const Case& c : cases) {
        ResultRows rows = AssignResultRows(doc, obj, c.viewMode, true);
        ClipboardStaging staging = renderTableText(rows, true, interpreter);
        // The ohm sign's text equivalent comes from the language; it is missing here.
        std::string text = joinStaging(staging, true, true, "\t", "\n");
        for (size_t p; (p = text.find("**")) != std::string::npos;) text.replace(p, 2, "\xD9");
        EXPECT_EQ(text, c.text) << c.viewMode;
    }

    // Copying some rows of the results column only: no TAB, no heading.
    ResultRows rows = AssignResultRows(doc, obj, kViewFull, true);
    ClipboardStaging part = renderTableText(rows, {1, 3}, false, interpreter);
    std::string copied = joinStaging(part, false, true);
    for (size_t p; (p = copied.find("**")) != std::string::npos;) copied.replace(p, 2, "~");
    EXPECT_EQ(copied,
              "Hall / F1\r\n05.12.2025  14:30\r\nLoop 2      PASS\r\n  R: 1.2M~\r\n    Lim: 0.5M~");
    // Copying only the number column: one line per table row, the number on item rows.
    ClipboardStaging numbers = renderTableText(rows, {1, 2, 3, 4}, false, true, false, interpreter);
    EXPECT_EQ(joinStaging(numbers, true, false), "1\r\n\r\n\r\n2");
}

}  // namespace
}  // namespace pelvoro
