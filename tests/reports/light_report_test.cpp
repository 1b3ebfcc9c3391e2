#include "reports/light_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "results/render_result.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::FixedWidthMeasure;
using testing::ScopedLanguage;

// 10 units a character, lines 20 high, 10 units a millimetre: the printable area is
// 1900 x 2770.
constexpr int kW = 1900;

StructureItem* addResult(StructureDocument& doc, StructureItem& parent, const std::string& name,
                         int results, bool date = true) {
    StructureItem* r = doc.addItem(parent, ItemType::Measurement, name);
    if (date) r->data.ResTexts.push_back("X#PD05.12.2025  14:30");
    for (int i = 1; i <= results; ++i) {
        r->data.ResTexts.push_back("X#PR#L1" + name + " " + std::to_string(i));
        r->data.ResTexts.push_back("X#PR#L2R: 1." + std::to_string(i) + "M#S258");
        r->data.ResTexts.push_back("X#PL#L3Lim: 0.5M#S258");
    }
    r->data.L1Count = countL1Lines(r->data.ResTexts);
    return r;
}

LightReportTexts sampleTexts() {
    LightReportTexts t;
    t.title = "TEST  REPORT";
    t.operatorHeading = "Operator:";
    t.testSiteHeading = "Test site:";
    t.instrumentHeading = "Instrument's data:";
    t.typeHeading = "Type:";
    t.modelHeading = "Model:";
    t.serNoHeading = "Ser.No:";
    t.producerHeading = "Producer:";
    t.dateHeading = "Report created on:";
    t.numberHeading = "No.";
    t.resultsHeading = "Results";
    t.commentHeading = "Comments:";
    t.pageHeading = "Page:";
    t.operator1 = "Anna";
    t.testSite1 = "Hall 3";
    t.type = "Tester";
    t.serNo = "12345";
    t.date = "09.12.2026";
    t.footer = "Footer text";
    t.comments = {"first comment", "second comment"};
    return t;
}

class LightReportTest : public ::testing::Test {
  protected:
    FixedWidthMeasure measure{10, 20};
    LightReportPlanner planner{measure, 10.0};
    StructureDocument doc;

    LightReportPlan plan(const LightReportTexts& texts, int viewMode = kViewFull,
                         StructureItem* selected = nullptr) {
        rows = AssignResultRows(doc, selected ? selected : &doc.root(), viewMode, true);
        LightReportInput in;
        in.texts = texts;
        in.rows = &rows;
        in.viewMode = viewMode;
        return planner.plan(in);
    }
    ResultRows rows;
};

const ReportText* findText(const LightReportPlan& p, const std::string& text, int page = 0) {
    for (const ReportBand& b : p.pages[size_t(page)].bands)
        for (const ReportText& t : b.texts)
            if (t.text == text) return &t;
    return nullptr;
}

TEST_F(LightReportTest, PlacementsFollowTheBandWidth) {
    const LightReportPlan p = plan(sampleTexts());
    EXPECT_EQ(p.width, kW);
    EXPECT_EQ(p.height, 2770);
    struct {
        std::string text;
        int x;
    } cases[] = {
        {"TEST  REPORT", (kW - 120) / 2},
        {"Test site:", kW / 2},        // W/2 + half the instrument heading's left (0)
        {"Hall 3", kW / 2 - 150},      // 15 mm left of its heading
        {"Ser.No:", 855},              // 0.45 W
        {"12345", 855 + 125},          // + 2.5 x the Type heading (50)
        {"Report created on:", 1425},  // 0.75 W
        {"09.12.2026", 1425},
        {"Tester", 0 + 90},  // + 1.8 x the Type heading
        {"Page:", kW / 2 - 50},
        {"1", kW / 2 - 50 + 75},  // + 1.5 x its width
        {"Footer text", (kW - 110) / 2},
        {"Results", 50 + 40},  // N + 4h
    };
    for (const auto& c : cases) {
        const ReportText* t = findText(p, c.text);
        ASSERT_NE(t, nullptr) << c.text;
        EXPECT_EQ(t->x, c.x) << c.text;
    }
}

TEST_F(LightReportTest, NumberColumnFitsTheItemCount) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Object");
    for (int i = 0; i < 120; ++i) addResult(doc, *obj, "M" + std::to_string(i), 1, false);
    struct {
        std::string heading;
        int n;
    } cases[] = {{"N", 30 + 20}, {"Number", 60 + 20}};  // "120" is 30 wide, plus 2h
    for (const auto& c : cases) {
        LightReportTexts t = sampleTexts();
        t.numberHeading = c.heading;
        EXPECT_EQ(plan(t).numberColumn, c.n) << c.heading;
    }
}

TEST_F(LightReportTest, PagesCarryTheirBandsAndRowsStayWhole) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Object");
    for (int i = 0; i < 60; ++i) addResult(doc, *obj, "M" + std::to_string(i), 3);
    const LightReportPlan p = plan(sampleTexts());
    ASSERT_GT(p.pages.size(), 2u);
    int expectedRow = 1;
    for (size_t i = 0; i < p.pages.size(); ++i) {
        const auto& bands = p.pages[i].bands;
        EXPECT_EQ(bands.front().kind, ReportBandKind::PageHeader);
        EXPECT_EQ(bands[1].kind, i == 0 ? ReportBandKind::Title : ReportBandKind::ColumnHeader);
        EXPECT_EQ(bands.back().kind, ReportBandKind::PageFooter);
        EXPECT_NE(findText(p, std::to_string(i + 1), int(i)), nullptr);
        int y = 0;
        for (const ReportBand& b : bands) {
            if (b.kind == ReportBandKind::PageFooter) {
                EXPECT_LE(y, b.top);
                EXPECT_EQ(b.top + b.height, p.height);
                continue;
            }
            EXPECT_EQ(b.top, y);  // no gaps, no overlaps
            y += b.height;
            if (b.kind != ReportBandKind::Detail) continue;
            EXPECT_EQ(b.tableRow, expectedRow++);  // rows in order, none left out
            EXPECT_EQ(b.height, b.cellHeight);     // never cut
        }
    }
    EXPECT_EQ(expectedRow, rows.rowCount);
    // Heading rows are one line and a date line plus a third; result rows their three
    // lines plus a third.
    EXPECT_EQ(p.pages[0].bands[3].height, 20 * 2 + 7);
    EXPECT_EQ(p.pages[0].bands[4].height, 60 + 7);
    // The comments come last, after the last row, under their heading.
    const auto& last = p.pages.back().bands;
    EXPECT_EQ(last[last.size() - 2].kind, ReportBandKind::Summary);
    EXPECT_EQ(last[last.size() - 2].texts.front().text, "Comments:");
    EXPECT_EQ(findText(p, "Anna", 1), nullptr);  // operators on the first page only
}

TEST_F(LightReportTest, DetailLevelDecidesRowsAndHeights) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Object");
    addResult(doc, *obj, "A", 3);
    // A result whose only line is its name: its result row shows nothing and is left out.
    StructureItem* nameOnly = doc.addItem(*obj, ItemType::Measurement, "B");
    nameOnly->data.ResTexts = {"X#PN#L1B name"};
    nameOnly->data.L1Count = 1;
    struct {
        int viewMode;
        int details;
        int firstResultHeight;
    } cases[] = {{kViewFull, 5, 67}, {kViewMedium, 5, 47}, {kViewLow, 3, 67}};
    for (const auto& c : cases) {
        const LightReportPlan p = plan(sampleTexts(), c.viewMode);
        EXPECT_EQ(p.detailBandCount(), c.details) << c.viewMode;
        EXPECT_EQ(p.pages[0].bands[4].height, c.firstResultHeight) << c.viewMode;
    }
}

TEST_F(LightReportTest, EmptyTableIsOnePageWithHeaderHeadingsAndFooter) {
    LightReportTexts t = sampleTexts();
    t.comments.clear();
    const LightReportPlan p = plan(t);
    ASSERT_EQ(p.pages.size(), 1u);
    std::vector<ReportBandKind> kinds;
    for (const ReportBand& b : p.pages[0].bands) kinds.push_back(b.kind);
    EXPECT_EQ(kinds, (std::vector<ReportBandKind>{ReportBandKind::PageHeader, ReportBandKind::Title,
                                                  ReportBandKind::ColumnHeader,
                                                  ReportBandKind::PageFooter}));
}

TEST_F(LightReportTest, TooLongFooterAndCommentsAreLeftOut) {
    LightReportTexts t = sampleTexts();
    t.footer = std::string(172, 'f');  // more than 90 % of 1900
    t.comments = {"ok", std::string(172, 'c'), "after"};
    const LightReportPlan p = plan(t);
    EXPECT_TRUE(p.footerTooLong);
    EXPECT_TRUE(p.commentsTooLong);
    EXPECT_EQ(findText(p, t.footer), nullptr);
    EXPECT_NE(findText(p, "ok"), nullptr);
    EXPECT_EQ(findText(p, "after"), nullptr);
}

TEST_F(LightReportTest, RowTallerThanAPageGoesOnBetweenItsLines) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Object");
    StructureItem* r = doc.addItem(*obj, ItemType::Measurement, "Visual");
    for (int i = 0; i < 300; ++i) r->data.ResTexts.push_back("X#PR#L1check " + std::to_string(i));
    r->data.L1Count = 300;
    const LightReportPlan p = plan(sampleTexts(), kViewLow);
    std::vector<const ReportBand*> parts;
    for (const ReportPage& page : p.pages)
        for (const ReportBand& b : page.bands)
            if (b.kind == ReportBandKind::Detail && b.tableRow == 2) parts.push_back(&b);
    ASSERT_GE(parts.size(), 3u);
    int offset = 0;
    for (const ReportBand* b : parts) {
        EXPECT_EQ(b->cellOffset, offset);
        if (b->cellOffset > 0) {
            EXPECT_EQ((b->cellOffset - 3) % 20, 0) << "cut between lines";
        }
        offset += b->height;
    }
    EXPECT_EQ(offset, parts.front()->cellHeight);
}

}  // namespace
}  // namespace pelvoro
