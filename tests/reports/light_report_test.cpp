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
    t.pageOf = "Page %1 of %2";
    t.continued = "(continued)";
    t.overviewHeading = "Overview";
    t.passedHeading = "Passed:";
    t.failedHeading = "Failed:";
    t.noVerdictHeading = "No verdict:";
    t.failedListHeading = "Failed results:";
    t.legend = {"Object", "Board", "Circuit", "Result"};
    t.signature = "Signature";
    t.signatureDate = "Date";
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

// The detail bands of a page (repeated headings included).
std::vector<const ReportBand*> details(const LightReportPlan& p, int page) {
    std::vector<const ReportBand*> out;
    for (const ReportBand& b : p.pages[size_t(page)].bands)
        if (b.kind == ReportBandKind::Detail) out.push_back(&b);
    return out;
}

// The texts of all bands of `kind`, in order, joined by line feeds.
std::string textsOf(const LightReportPlan& p, ReportBandKind kind) {
    std::string out;
    for (const ReportPage& page : p.pages)
        for (const ReportBand& b : page.bands)
            if (b.kind == kind)
                for (const ReportText& t : b.texts) out += t.text + "\n";
    return out;
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
        {"Page 1 of 1", (kW - 110) / 2},
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
        if (i == 0) {
            EXPECT_EQ(bands[1].kind, ReportBandKind::Title);
        }
        EXPECT_EQ(bands.back().kind, ReportBandKind::PageFooter);
        EXPECT_NE(
            findText(p, "Page " + std::to_string(i + 1) + " of " + std::to_string(p.pages.size()),
                     int(i)),
            nullptr);
        int y = 0;
        for (const ReportBand& b : bands) {
            if (b.kind == ReportBandKind::PageFooter) {
                EXPECT_LE(y, b.top);
                EXPECT_EQ(b.top + b.height, p.height);
                continue;
            }
            EXPECT_EQ(b.top, y);  // no gaps, no overlaps
            y += b.height;
            if (b.kind != ReportBandKind::Detail || b.repeatedHeading) continue;
            EXPECT_EQ(b.tableRow, expectedRow++);  // rows in order, none left out
            EXPECT_EQ(b.height, b.cellHeight);     // never cut
        }
    }
    EXPECT_EQ(expectedRow, rows.rowCount);
    // Heading rows are one line and a date line plus a third; result rows their three
    // lines plus a third.
    EXPECT_EQ(details(p, 0)[0]->height, 20 * 2 + 7);
    EXPECT_EQ(details(p, 0)[1]->height, 60 + 7);
    // The comments come last, after the last row, under their heading; then the signature.
    std::vector<const ReportBand*> content;
    for (const ReportPage& page : p.pages)
        for (const ReportBand& b : page.bands)
            if (b.kind != ReportBandKind::PageHeader && b.kind != ReportBandKind::PageFooter)
                content.push_back(&b);
    ASSERT_GE(content.size(), 3u);
    EXPECT_EQ(content[content.size() - 3]->kind, ReportBandKind::Detail);
    EXPECT_EQ(content[content.size() - 2]->kind, ReportBandKind::Summary);
    EXPECT_EQ(content[content.size() - 2]->texts.front().text, "Comments:");
    EXPECT_EQ(content.back()->kind, ReportBandKind::Signature);
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
        EXPECT_EQ(details(p, 0)[1]->height, c.firstResultHeight) << c.viewMode;
    }
}

TEST_F(LightReportTest, EmptyTableIsOnePageWithHeaderHeadingsAndFooter) {
    LightReportTexts t = sampleTexts();
    t.comments.clear();
    const LightReportPlan p = plan(t);
    ASSERT_EQ(p.pages.size(), 1u);
    std::vector<ReportBandKind> kinds;
    for (const ReportBand& b : p.pages[0].bands) kinds.push_back(b.kind);
    EXPECT_EQ(kinds,
              (std::vector<ReportBandKind>{ReportBandKind::PageHeader, ReportBandKind::Title,
                                           ReportBandKind::Overview, ReportBandKind::ColumnHeader,
                                           ReportBandKind::Legend, ReportBandKind::Signature,
                                           ReportBandKind::PageFooter}));
}

TEST_F(LightReportTest, TooLongFooterAndCommentsAreWrappedNeverLeftOut) {
    LightReportTexts t = sampleTexts();
    t.footer = std::string(250, 'f');  // wider than the page
    const std::string wide = std::string(120, 'c') + " " + std::string(130, 'd');
    t.comments = {"ok", wide, "after", "", "last"};
    const LightReportPlan p = plan(t);
    EXPECT_TRUE(p.footerTooLong);
    EXPECT_TRUE(p.commentsTooLong);
    EXPECT_EQ(p.firstLongComment, 1);
    // Every comment line is there, in order, the wide one over two lines.
    EXPECT_EQ(textsOf(p, ReportBandKind::Summary), "Comments:\nok\n" + std::string(120, 'c') +
                                                       "\n" + std::string(130, 'd') +
                                                       "\nafter\n\nlast\n");
    // The footer on every page, over two lines.
    for (size_t i = 0; i < p.pages.size(); ++i) {
        EXPECT_NE(findText(p, std::string(190, 'f'), int(i)), nullptr);
        EXPECT_NE(findText(p, std::string(60, 'f'), int(i)), nullptr);
    }
}

TEST_F(LightReportTest, RowTallerThanAPageGoesOnBetweenItsLines) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Object");
    StructureItem* r = doc.addItem(*obj, ItemType::Measurement, "Visual");
    for (int i = 0; i < 300; ++i) r->data.ResTexts.push_back("X#PR#L1check " + std::to_string(i));
    r->data.L1Count = 300;
    const LightReportPlan p = plan(sampleTexts(), kViewLow);
    std::vector<const ReportBand*> parts;
    for (size_t i = 0; i < p.pages.size(); ++i) {
        std::vector<const ReportBand*> rows = details(p, int(i));
        ASSERT_FALSE(rows.empty());
        if (i > 0) {
            // A continued page starts with the item's heading again.
            EXPECT_TRUE(rows[0]->repeatedHeading);
            EXPECT_NE(rows[0]->rowLines.back().find("(continued)"), std::string::npos);
        }
        for (const ReportBand* b : rows)
            if (b->tableRow == 2) parts.push_back(b);
    }
    ASSERT_GE(parts.size(), 3u);
    // It starts where it stands, under its heading on the first page.
    EXPECT_EQ(details(p, 0).back(), parts.front());
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

// Whatever the lengths allowed, no text of a band runs into another or off the page, and
// a long item path is wrapped inside the results column.
TEST_F(LightReportTest, NothingOverlapsOrRunsOffThePage) {
    StructureItem* parent = doc.addItem(doc.root(), ItemType::Object, std::string(70, 'O'));
    for (int level = 0; level < 3; ++level)
        parent = doc.addItem(*parent, ItemType::DistBoard, "Board " + std::string(40, 'b'));
    addResult(doc, *parent, "M", 1);
    struct Case {
        size_t op1, op2, site1, site2, values;
        const char* typeHeading;
    } cases[] = {
        {36, 45, 36, 45, 10, "Type:"},
        {36, 95, 36, 45, 30, "Type:"},             // an operator wider than half the page
        {5, 5, 36, 220, 60, "Type:"},              // a test site wider than the page
        {36, 45, 36, 45, 80, "Instrumententyp:"},  // long translations and values
    };
    for (const Case& c : cases) {
        LightReportTexts t = sampleTexts();
        t.operator1 = std::string(c.op1, 'a');
        t.operator2 = std::string(c.op2, 'b');
        t.testSite1 = std::string(c.site1, 'c');
        t.testSite2 = std::string(c.site2, 'd');
        t.type = t.model = t.serNo = t.producer = std::string(c.values, 'v');
        t.typeHeading = c.typeHeading;
        const LightReportPlan p = plan(t);
        for (const ReportPage& page : p.pages)
            for (const ReportBand& b : page.bands) {
                for (size_t i = 0; i < b.texts.size(); ++i) {
                    const ReportText& a = b.texts[i];
                    const int aw = int(a.text.size()) * 10;
                    EXPECT_GE(a.x, 0) << a.text;
                    EXPECT_LE(a.x + aw, p.width) << a.text;
                    for (size_t j = i + 1; j < b.texts.size(); ++j) {
                        const ReportText& o = b.texts[j];
                        const bool rowsMeet = a.y < o.y + 20 && o.y < a.y + 20;
                        const bool columnsMeet =
                            a.x < o.x + int(o.text.size()) * 10 && o.x < a.x + aw;
                        EXPECT_FALSE(rowsMeet && columnsMeet && !a.text.empty() && !o.text.empty())
                            << a.text << " / " << o.text;
                    }
                }
                // Path lines of a heading row fit the results column (less its margins).
                for (const std::string& line : b.rowLines) {
                    if (line.find("#PV") == std::string::npos) continue;
                    EXPECT_LE(int(line.size() - 4) * 10, p.width - p.numberColumn - 45) << line;
                }
            }
        // Every character typed is printed.
        for (const std::string* text : {&t.operator2, &t.testSite2, &t.type}) {
            size_t printed = 0;
            for (const ReportBand& b : p.pages[0].bands)
                for (const ReportText& x : b.texts)
                    if (!x.text.empty() && x.text[0] == (*text)[0] &&
                        x.text.find_first_not_of((*text)[0]) == std::string::npos)
                        printed += x.text.size();
            EXPECT_GE(printed, text->size()) << *text;
        }
    }
}

TEST_F(LightReportTest, OverviewCountsAndListsTheFailedResults) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Plant");
    StructureItem* board = doc.addItem(*obj, ItemType::DistBoard, "Board 1");
    auto result = [&](const std::string& name, std::vector<std::string> headings) {
        StructureItem* r = doc.addItem(*board, ItemType::Measurement, name);
        for (const std::string& h : headings) r->data.ResTexts.push_back("X#PR#L1" + h);
        r->data.L1Count = countL1Lines(r->data.ResTexts);
    };
    result("A", {"Loop#AR#K023"});
    result("B", {"RCD#AR#K020"});
    result("C", {"Visual"});
    result("D", {"Loop#AR#K023", "Insulation#AR#K024"});
    result("E", {"Continuity#AR#CGPASS"});  // the word itself, as older files hold it
    struct {
        bool overview;
        std::string expected;
    } cases[] = {{true,
                  "Overview\nPassed: 2\nFailed: 2\nNo verdict: 1\nFailed results:\n2\n"
                  "Plant / Board 1: RCD\n4\nPlant / Board 1: Insulation\n"},
                 {false, ""}};
    for (const auto& c : cases) {
        LightReportTexts t = sampleTexts();
        t.overview = c.overview;
        const LightReportPlan p = plan(t);
        EXPECT_EQ(textsOf(p, ReportBandKind::Overview), c.expected);
        EXPECT_EQ(p.overviewShown, c.overview);
    }
}

TEST_F(LightReportTest, PagesFitThePaperAndCommentsAloneGetNoColumnHeadings) {
    StructureItem* obj = doc.addItem(doc.root(), ItemType::Object, "Object");
    LightReportTexts t = sampleTexts();
    t.comments.assign(14, "comment");
    bool commentsAlone = false;
    for (int n = 0; n < 60 && !commentsAlone; ++n) {
        addResult(doc, *obj, "M" + std::to_string(n), 3);
        for (ReportPaper paper : {kPaperA4, kPaperLetter}) {
            LightReportPlanner planner(measure, 10.0, LightReportFonts{}, paper);
            rows = AssignResultRows(doc, &doc.root(), kViewFull, true);
            LightReportInput in;
            in.texts = t;
            in.rows = &rows;
            const LightReportPlan p = planner.plan(in);
            EXPECT_EQ(p.height, int(std::lround(paper.heightMm * 10)) - 200);
            for (size_t i = 0; i < p.pages.size(); ++i) {
                const auto& bands = p.pages[i].bands;
                EXPECT_EQ(bands.back().top + bands.back().height, p.height);  // the footer
                const bool rowsHere = !details(p, int(i)).empty();
                bool columns = false;
                for (const ReportBand& b : bands) {
                    columns = columns || b.kind == ReportBandKind::ColumnHeader;
                    EXPECT_LE(b.top + b.height, p.height);
                }
                EXPECT_EQ(columns, rowsHere) << "page " << i + 1;
                if (i > 0 && !rowsHere) commentsAlone = true;
            }
        }
    }
    EXPECT_TRUE(commentsAlone);
}

}  // namespace
}  // namespace pelvoro
