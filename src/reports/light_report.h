#pragma once
// The light report: the results table of a document window printed under a report header,
// on A4 portrait pages with 10 mm margins. This file lays the report out: which band goes
// on which page, where every text of the header and footer sits, and how high every table
// row is. Drawing the pages is the painter's (reports/adapters); the rows' cells are drawn
// there by the results table's own cell renderer.
//
// Bands, in print order: page header (every page: the title), title (first page only:
// operators, test sites, instrument data, report date), the results overview (first page,
// when asked for), column header (every page that shows table rows), the legend of the
// row colours (first page), one detail band per table row that shows a line at the detail
// level (an item's heading repeated with "(continued)" at the top of a page that goes on
// with its results), the summary (the comment lines, after the last row, left out when
// there are none), the signature lines (last page) and the page footer (every page: the
// footer text and "Page n of m").
//
// Nothing typed is left out: texts wider than their place are wrapped, never cut.
//
// All positions are in the measure's units (the printer's dots), relative to the top-left
// corner of the page's printable area (inside the margins).

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/text_measure.h"
#include "reports/results_overview.h"
#include "results/markup.h"
#include "results/result_rows.h"

namespace pelvoro {

class StructureDocument;

// Paper and margins, in millimetres. Reports lay out for the paper of the printer; A4 is
// the default (and the narrowest width the header dialog measures texts against).
inline constexpr double kReportPageWidthMm = 210;
inline constexpr double kReportPageHeightMm = 297;
inline constexpr double kReportMarginMm = 10;

struct ReportPaper {
    double widthMm = kReportPageWidthMm;
    double heightMm = kReportPageHeightMm;
};
inline constexpr ReportPaper kPaperA4{210, 297};
inline constexpr ReportPaper kPaperLetter{215.9, 279.4};

// The fonts of the report's fixed texts and of the results table.
struct LightReportFonts {
    FontSpec title{"Arial", 14, true, false, false};
    FontSpec heading{"Arial", 10, true, false, false};
    FontSpec field{"Arial", 10, false, false, false};  // operators, test sites, values
    FontSpec footer{"Arial", 9, false, false, false};
    FontSpec comment{"Arial", 10, false, false, false};
    FontSpec table{kMarkupFontName, kMarkupFontSize, false, false, false};
    FontSpec tableHeading{"Arial", kMarkupFontSize, true, false, false};
};

// The texts of one report: headings in the current language and the document's values.
struct LightReportTexts {
    std::string title;  // "qrlPageHeader_50"
    std::string operatorHeading, testSiteHeading, instrumentHeading;
    std::string typeHeading, modelHeading, serNoHeading, producerHeading, dateHeading;
    std::string numberHeading, resultsHeading, commentHeading, pageHeading;
    std::string pageOf;     // "Page %1 of %2"
    std::string continued;  // "(continued)"
    std::string overviewHeading, passedHeading, failedHeading, noVerdictHeading, failedListHeading;
    std::array<std::string, 4> legend;  // object, board, circuit, result
    std::string signature, signatureDate;

    std::string operator1, operator2, testSite1, testSite2;
    std::string type, model, serNo, producer;
    std::string date;
    std::string footer;
    std::vector<std::string> comments;
    bool overview = true;  // print the results overview
};

// The headings from the language file and the values of `document`, with its own comment
// lines (a report never carries the comments of another document) and `date` as printed.
LightReportTexts lightReportTexts(const StructureDocument& document, const std::string& date);

// A text placed on a band.
struct ReportText {
    std::string text;
    FontSpec font;
    int x = 0, y = 0;  // top-left corner, relative to the band
};

struct ReportRule {
    int x1 = 0, x2 = 0, y = 0;  // a horizontal line, relative to the band
};

enum class ReportBandKind {
    PageHeader,
    Title,
    Overview,
    ColumnHeader,
    Legend,
    Detail,
    Summary,
    Signature,
    PageFooter
};

// A filled box of a row colour (the legend), relative to the band.
struct ReportSwatch {
    int x = 0, y = 0, width = 0, height = 0;
    int colour = 0;  // the row colour digit
};

struct ReportBand {
    ReportBandKind kind = ReportBandKind::Detail;
    int top = 0;  // on the page
    int height = 0;
    std::vector<ReportText> texts;
    std::vector<ReportRule> rules;
    std::vector<ReportSwatch> swatches;
    bool greyBackground = false;
    // Detail bands: the table row, its mark-up lines as printed (a long path wrapped over
    // several lines; a repeated heading row marked as continued) and, for a row taller
    // than a whole page, the part of it that this band shows (from `cellOffset` below the
    // row's top, `height` high).
    int tableRow = 0;
    std::vector<std::string> rowLines;
    int cellOffset = 0;
    int cellHeight = 0;  // the whole row's height
    bool lastOnPage = false;
    bool repeatedHeading = false;  // an item's heading repeated on a continued page
};

struct ReportPage {
    std::vector<ReportBand> bands;
};

struct LightReportPlan {
    double unitsPerMm = 1;
    int pageWidth = 0, pageHeight = 0;  // the whole sheet
    int margin = 0;
    int width = 0, height = 0;  // the printable area, W and its height
    int numberColumn = 0;       // N
    int charWidth = 0;          // h, the width of "H" in the table font
    int lineHeight = 0;         // t, one line of the table font
    bool footerTooLong = false;
    bool commentsTooLong = false;
    int firstLongComment = -1;  // index of the first comment line wider than the rule
    bool overviewShown = false;
    ResultsOverview overview;
    std::vector<ReportPage> pages;

    int detailBandCount() const;
};

// The height of one line of a row as drawn (the tallest font of its runs).
using MarkupLineHeight = std::function<int(const MarkupLine&)>;

struct LightReportInput {
    LightReportTexts texts;
    const ResultRows* rows = nullptr;  // null: an empty table
    int viewMode = kViewFull;
    // The interpreter that turns the rows' lines into runs.
    const MarkupInterpreter* interpreter = nullptr;
    // How high a line is drawn; null: measured by its tallest run's font.
    MarkupLineHeight lineHeight;
};

// The shape of one table row: its height and where each line ends (for rows taller than a
// page, which are then cut between lines).
struct ReportRowShape {
    int height = 0;                // 0: the row shows no line at this level and is left out
    std::vector<int> lineBottoms;  // from the row's top
};

class LightReportPlanner {
  public:
    LightReportPlanner(TextMeasure& measure, double unitsPerMm, LightReportFonts fonts = {},
                       ReportPaper paper = {});

    // The row's shape from its interpreted lines, as the results table lays it out:
    // heading rows one line for each path line (and one for a date) plus a third, result
    // rows their visible lines plus a third of a line.
    ReportRowShape rowShape(const std::vector<MarkupLine>& lines, int viewMode,
                            const MarkupLineHeight& lineHeight = {}) const;

    LightReportPlan plan(const LightReportInput& input) const;

    // The widths the header's checks measure against (the page-footer and summary bands).
    int bandWidth() const;
    const LightReportFonts& fonts() const { return fonts_; }

  private:
    int mm(double millimetres) const;
    int lineHeightOf(const MarkupLine& line) const;
    // The row's lines with a path too wide for the results column wrapped over lines.
    std::vector<std::string> wrappedRowLines(const ResultRows& rows, int row, int columnWidth,
                                             const MarkupInterpreter& interpreter) const;

    TextMeasure& measure_;
    double unitsPerMm_;
    LightReportFonts fonts_;
    ReportPaper paper_;
};

}  // namespace pelvoro
