#include "reports/light_report.h"

#include <algorithm>
#include <cmath>

#include "common/lang_text.h"
#include "document/structure_document.h"
#include "reports/report_header.h"

namespace pelvoro {

namespace {

int rounded(double v) {
    return int(std::lround(v));
}

FontSpec runFont(const TResultText& r) {
    return FontSpec{r.fontName, r.size, r.bold, r.italic, r.underline};
}

}  // namespace

LightReportTexts lightReportTexts(const StructureDocument& doc, const std::string& date) {
    LightReportTexts t;
    t.title = LangText("qrlPageHeader_50");
    t.operatorHeading = LangText("qrlOperator_30");
    t.testSiteHeading = LangText("qrlTestSite_30");
    t.instrumentHeading = LangText("qrlInstrumentsData_30");
    t.typeHeading = LangText("qrlType_8");
    t.modelHeading = LangText("qrlModel_8");
    t.serNoHeading = LangText("qrlSerNo_12");
    t.producerHeading = LangText("qrlProducer_12");
    t.dateHeading = LangText("qrlTestDate_30");
    t.numberHeading = LangText("No_3");
    t.resultsHeading = LangText("Results_10");
    t.commentHeading = LangText("Comment_15");
    t.pageHeading = LangText("qrlPage_12");

    const auto& h = doc.HeaderLines.lines;
    t.operator1 = h[kOperator1];
    t.operator2 = h[kOperator2];
    t.testSite1 = h[kTestSite1];
    t.testSite2 = h[kTestSite2];
    t.footer = h[kFooter];
    const TInstrumentData& d = doc.InstrumentData;
    t.type = d.line(2);
    t.model = d.line(3);
    t.serNo = d.line(7);
    t.producer = d.line(8);
    t.date = date;
    t.comments = doc.ReportComments;
    return t;
}

int LightReportPlan::detailBandCount() const {
    int n = 0;
    for (const ReportPage& p : pages)
        for (const ReportBand& b : p.bands)
            if (b.kind == ReportBandKind::Detail) ++n;
    return n;
}

LightReportPlanner::LightReportPlanner(TextMeasure& measure, double unitsPerMm,
                                       LightReportFonts fonts)
    : measure_(measure), unitsPerMm_(unitsPerMm), fonts_(std::move(fonts)) {}

int LightReportPlanner::mm(double millimetres) const {
    return rounded(millimetres * unitsPerMm_);
}

int LightReportPlanner::bandWidth() const {
    return mm(kReportPageWidthMm) - 2 * mm(kReportMarginMm);
}

int LightReportPlanner::lineHeightOf(const MarkupLine& line) const {
    if (line.runs.empty()) return measure_.lineHeight(fonts_.table);
    int h = 0;
    for (const TResultText& r : line.runs) h = std::max(h, measure_.lineHeight(runFont(r)));
    return h;
}

ReportRowShape LightReportPlanner::rowShape(const std::vector<MarkupLine>& lines, int viewMode,
                                            const MarkupLineHeight& lineHeight) const {
    auto heightOf = [&](const MarkupLine& l) {
        return lineHeight ? lineHeight(l) : lineHeightOf(l);
    };
    const int lh = heightOf(MarkupLine{});
    ReportRowShape shape;
    bool heading = false, date = false;
    int y = rounded(lh / 6.0);
    for (const MarkupLine& l : lines) {
        const std::string& k = l.props.kind;
        if (k == "S" || k == "V") heading = true;
        if (k == "D") date = true;
        if (k == "N" || k == "S" || k == "C" || k == "V" || k == "D") continue;
        if (!levelVisible(l.props.level, viewMode)) continue;
        y += heightOf(l);
        shape.lineBottoms.push_back(y);
    }
    if (heading) {
        shape.lineBottoms = {rounded(lh / 6.0) + lh};
        if (date) shape.lineBottoms.push_back(shape.lineBottoms.back() + lh);
        shape.height = lh * (date ? 2 : 1) + rounded(lh / 3.0);
    } else {
        shape.height = y - rounded(lh / 6.0) + rounded(lh / 3.0);
    }
    return shape;
}

LightReportPlan LightReportPlanner::plan(const LightReportInput& in) const {
    const LightReportTexts& tx = in.texts;
    const LightReportFonts& f = fonts_;
    LightReportPlan p;
    p.unitsPerMm = unitsPerMm_;
    p.pageWidth = mm(kReportPageWidthMm);
    p.pageHeight = mm(kReportPageHeightMm);
    p.margin = mm(kReportMarginMm);
    p.width = p.pageWidth - 2 * p.margin;
    p.height = p.pageHeight - 2 * p.margin;
    const int W = p.width;
    auto width = [&](const std::string& s, const FontSpec& font) {
        return measure_.width(s, font);
    };

    // Table geometry.
    const int h = width("H", f.table);
    const int t = measure_.lineHeight(f.table);
    p.charWidth = h;
    p.lineHeight = t;
    const int items = in.rows ? in.rows->itemCount() : 0;
    p.numberColumn = std::max(width(tx.numberHeading, f.tableHeading) + 2 * h,
                              width(std::to_string(items), f.table) + 2 * h);
    const int N = p.numberColumn;

    // Checks: a footer too wide is printed empty; comment lines are printed up to the first
    // one too wide.
    ReportTextMetrics metrics;
    metrics.footerFont = f.footer;
    metrics.commentFont = f.comment;
    metrics.pageFooterWidth = W;
    metrics.summaryWidth = W;
    ReportTextRules rules(measure_, metrics);
    p.footerTooLong = !rules.footerFits(tx.footer);
    const std::string footer = p.footerTooLong ? std::string() : tx.footer;
    std::vector<std::string> comments = tx.comments;
    const int badComment = rules.firstCommentTooLong(comments);
    p.commentsTooLong = badComment >= 0;
    if (p.commentsTooLong) comments.resize(size_t(badComment));
    while (!comments.empty() && comments.back().empty()) comments.pop_back();

    const int tTitle = measure_.lineHeight(f.title);
    const int tHead = measure_.lineHeight(f.heading);
    const int tField = measure_.lineHeight(f.field);
    const int tFoot = measure_.lineHeight(f.footer);
    const int tComment = measure_.lineHeight(f.comment);

    // Page header: the title, centred.
    ReportBand pageHeader;
    pageHeader.kind = ReportBandKind::PageHeader;
    pageHeader.height = tTitle + mm(4);
    pageHeader.texts.push_back(
        {tx.title, f.title, rounded((W - width(tx.title, f.title)) / 2.0), mm(1)});

    // Title band.
    ReportBand title;
    title.kind = ReportBandKind::Title;
    {
        const int instrumentLeft = 0;
        const int ruleOffset = 0;
        const int siteLeft = rounded(W / 2.0 + instrumentLeft / 2.0);
        const int siteLinesLeft = siteLeft - mm(15);
        int y = mm(1);
        title.texts.push_back({tx.operatorHeading, f.heading, 0, y});
        title.texts.push_back({tx.testSiteHeading, f.heading, siteLeft, y});
        y += tHead + mm(1);
        title.texts.push_back({tx.operator1, f.field, 0, y});
        title.texts.push_back({tx.testSite1, f.field, siteLinesLeft, y});
        y += tField;
        title.texts.push_back({tx.operator2, f.field, 0, y});
        title.texts.push_back({tx.testSite2, f.field, siteLinesLeft, y});
        y += tField + mm(2);
        title.rules.push_back({ruleOffset, W - ruleOffset, y});
        y += mm(2);
        title.texts.push_back({tx.instrumentHeading, f.heading, instrumentLeft, y});
        y += tHead + mm(1);
        const int typeWidth = width(tx.typeHeading, f.heading);
        const int gap = width("H", f.heading) / 2;
        const int typeLeft = instrumentLeft;
        const int serLeft = rounded(0.45 * W);
        const int dateLeft = rounded(0.75 * W);
        // Values start where the rules put them, but never inside their heading (a long
        // translation would otherwise be overprinted).
        auto valueLeft = [&](int headingLeft, double factor, const std::string& h1,
                             const std::string& h2) {
            return std::max({headingLeft + rounded(factor * typeWidth),
                             headingLeft + width(h1, f.heading) + gap,
                             headingLeft + width(h2, f.heading) + gap});
        };
        const int typeValueLeft = valueLeft(typeLeft, 1.8, tx.typeHeading, tx.modelHeading);
        const int serValueLeft = valueLeft(serLeft, 2.5, tx.serNoHeading, tx.producerHeading);
        // A value too long for its column goes on over further lines.
        auto values = [&](int left, int right, int top, const std::string& text) {
            int lines = 0;
            for (const std::string& part : wrapWords(measure_, text, f.field, right - left)) {
                title.texts.push_back({part, f.field, left, top + lines * tField});
                ++lines;
            }
            return std::max(1, lines);
        };
        const int rowH = std::max(tHead, tField);
        title.texts.push_back({tx.typeHeading, f.heading, typeLeft, y});
        title.texts.push_back({tx.serNoHeading, f.heading, serLeft, y});
        title.texts.push_back({tx.dateHeading, f.heading, dateLeft, y});
        int lines = std::max(values(typeValueLeft, serLeft - gap, y, tx.type),
                             values(serValueLeft, dateLeft - gap, y, tx.serNo));
        y += std::max(rowH, lines * tField);
        title.texts.push_back({tx.modelHeading, f.heading, typeLeft, y});
        title.texts.push_back({tx.producerHeading, f.heading, serLeft, y});
        lines = std::max({values(typeValueLeft, serLeft - gap, y, tx.model),
                          values(serValueLeft, dateLeft - gap, y, tx.producer),
                          values(dateLeft, W, y, tx.date)});
        y += std::max(rowH, lines * tField) + mm(3);
        title.height = y;
    }

    // Column header.
    ReportBand columns;
    columns.kind = ReportBandKind::ColumnHeader;
    columns.greyBackground = true;
    columns.height = rounded(1.33 * t);
    columns.texts.push_back(
        {tx.numberHeading, f.tableHeading,
         std::max(0, rounded((N - width(tx.numberHeading, f.tableHeading)) / 2.0)),
         rounded(t / 6.0)});
    columns.texts.push_back({tx.resultsHeading, f.tableHeading, N + 4 * h, rounded(t / 6.0)});

    // Page footer at the bottom of every page.
    ReportBand pageFooter;
    pageFooter.kind = ReportBandKind::PageFooter;
    pageFooter.height = mm(2) + 2 * tFoot;
    pageFooter.texts.push_back(
        {footer, f.footer, rounded((W - width(footer, f.footer)) / 2.0), mm(1)});
    const int pw = width(tx.pageHeading, f.footer);
    const int pageLeft = rounded(W / 2.0 - pw);
    const int numberLeft = pageLeft + rounded(1.5 * pw);
    pageFooter.texts.push_back({tx.pageHeading, f.footer, pageLeft, mm(3) + tFoot});
    pageFooter.top = p.height - pageFooter.height;
    const int bottom = pageFooter.top;

    int y = 0;
    auto newPage = [&] {
        if (!p.pages.empty()) {
            ReportBand foot = pageFooter;
            foot.texts.push_back(
                {std::to_string(p.pages.size()), f.footer, numberLeft, mm(3) + tFoot});
            p.pages.back().bands.push_back(std::move(foot));
        }
        p.pages.emplace_back();
        ReportPage& page = p.pages.back();
        y = 0;
        ReportBand b = pageHeader;
        b.top = y;
        page.bands.push_back(b);
        y += b.height;
        if (p.pages.size() == 1) {
            b = title;
            b.top = y;
            page.bands.push_back(b);
            y += b.height;
        }
        b = columns;
        b.top = y;
        page.bands.push_back(b);
        y += b.height;
    };
    newPage();
    const int firstDetailTop = y - title.height;  // where rows begin on later pages
    auto pageEmpty = [&] {
        const auto& bands = p.pages.back().bands;
        return bands.back().kind == ReportBandKind::ColumnHeader;
    };

    // Detail bands: every row that shows a line at this level, in order.
    MarkupInterpreter ownInterpreter;
    const MarkupInterpreter& interpreter = in.interpreter ? *in.interpreter : ownInterpreter;
    struct Row {
        int row;
        bool heading;
        ReportRowShape shape;
    };
    std::vector<Row> shown;
    {
        std::vector<MarkupLine> parsed;
        const int rowCount = in.rows ? in.rows->rowCount : 1;
        for (int row = 1; row < rowCount; ++row) {
            const std::vector<std::string> lines = BuildRowLines(*in.rows, row);
            if (CountRowLines(lines, in.viewMode) == 0) continue;
            parsed.resize(lines.size());
            bool heading = false;
            for (size_t i = 0; i < lines.size(); ++i) {
                interpreter.parse(lines[i], MarkupMode::Write, parsed[i]);
                if (parsed[i].props.kind == "S") heading = true;
            }
            ReportRowShape shape = rowShape(parsed, in.viewMode, in.lineHeight);
            if (shape.height > 0) shown.push_back({row, heading, std::move(shape)});
        }
    }
    for (size_t k = 0; k < shown.size(); ++k) {
        const int row = shown[k].row;
        const ReportRowShape& shape = shown[k].shape;
        // An item's heading row stays with its first result row when both fit a page.
        int needed = shape.height;
        if (shown[k].heading && k + 1 < shown.size() && !shown[k + 1].heading)
            needed += shown[k + 1].shape.height;
        if (!pageEmpty()) {
            if (y + shape.height > bottom)
                newPage();
            else if (y + needed > bottom && firstDetailTop + needed <= bottom)
                newPage();
        }
        if (y + shape.height <= bottom) {
            ReportBand b;
            b.kind = ReportBandKind::Detail;
            b.top = y;
            b.height = shape.height;
            b.tableRow = row;
            b.cellHeight = shape.height;
            p.pages.back().bands.push_back(b);
            y += shape.height;
            continue;
        }
        // A row taller than a whole page goes on as many pages as it needs, cut between
        // its lines.
        int offset = 0;
        while (offset < shape.height) {
            const int room = bottom - y;
            int cut = shape.height;
            if (cut - offset > room) {
                cut = offset;
                for (int b : shape.lineBottoms)
                    if (b > offset && b - offset <= room) cut = b;
                if (cut == offset) cut = offset + room;  // one line taller than a page
            }
            ReportBand b;
            b.kind = ReportBandKind::Detail;
            b.top = y;
            b.height = cut - offset;
            b.tableRow = row;
            b.cellOffset = offset;
            b.cellHeight = shape.height;
            p.pages.back().bands.push_back(b);
            y += b.height;
            offset = cut;
            if (offset < shape.height) newPage();
        }
    }

    // Summary: the comment heading and lines, continued on further pages when needed.
    if (!comments.empty()) {
        size_t next = 0;
        bool first = true;
        while (next < comments.size()) {
            const int headH = first ? mm(3) + tHead + mm(1) : mm(1);
            if (y + headH + tComment > bottom && !pageEmpty()) newPage();
            ReportBand b;
            b.kind = ReportBandKind::Summary;
            b.top = y;
            int by = 0;
            if (first) {
                b.texts.push_back({tx.commentHeading, f.heading, 0, mm(3)});
                by = headH;
            } else {
                by = mm(1);
            }
            do {
                b.texts.push_back({comments[next], f.comment, 0, by});
                by += tComment;
                ++next;
            } while (next < comments.size() && y + by + tComment <= bottom);
            b.height = by + mm(1);
            p.pages.back().bands.push_back(b);
            y += b.height;
            first = false;
            if (next < comments.size()) newPage();
        }
    }

    // The last page's footer, and the bottom line of each page's table.
    {
        ReportBand foot = pageFooter;
        foot.texts.push_back({std::to_string(p.pages.size()), f.footer, numberLeft, mm(3) + tFoot});
        p.pages.back().bands.push_back(std::move(foot));
    }
    for (ReportPage& page : p.pages) {
        ReportBand* last = nullptr;
        for (ReportBand& b : page.bands)
            if (b.kind == ReportBandKind::Detail) last = &b;
        if (last) last->lastOnPage = true;
    }
    return p;
}

}  // namespace pelvoro
