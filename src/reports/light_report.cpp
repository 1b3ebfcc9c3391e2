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
    t.pageOf = LangText("qrlPageOf_20");
    t.continued = LangText("qrlContinued_20");
    t.overviewHeading = LangText("qrlOverview_30");
    t.passedHeading = LangText("qrlPassed_20");
    t.failedHeading = LangText("qrlFailed_20");
    t.noVerdictHeading = LangText("qrlNoVerdict_20");
    t.failedListHeading = LangText("qrlFailedList_30");
    t.legend = {LangText("qrlLegendObject_20"), LangText("qrlLegendBoard_20"),
                LangText("qrlLegendCircuit_20"), LangText("qrlLegendResult_20")};
    t.signature = LangText("qrlSignature_40");
    t.signatureDate = LangText("qrlSignatureDate_20");

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
                                       LightReportFonts fonts, ReportPaper paper)
    : measure_(measure), unitsPerMm_(unitsPerMm), fonts_(std::move(fonts)), paper_(paper) {}

int LightReportPlanner::mm(double millimetres) const {
    return rounded(millimetres * unitsPerMm_);
}

int LightReportPlanner::bandWidth() const {
    return mm(paper_.widthMm) - 2 * mm(kReportMarginMm);
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
    int pathLines = 0;
    int y = rounded(lh / 6.0);
    for (const MarkupLine& l : lines) {
        const std::string& k = l.props.kind;
        if (k == "S" || k == "V") heading = true;
        if (k == "V") ++pathLines;
        if (k == "D") date = true;
        if (k == "N" || k == "S" || k == "C" || k == "V" || k == "D") continue;
        if (!levelVisible(l.props.level, viewMode)) continue;
        y += heightOf(l);
        shape.lineBottoms.push_back(y);
    }
    if (heading) {
        const int count = std::max(1, pathLines) + (date ? 1 : 0);
        shape.lineBottoms.clear();
        for (int i = 1; i <= count; ++i) shape.lineBottoms.push_back(rounded(lh / 6.0) + i * lh);
        shape.height = lh * count + rounded(lh / 3.0);
    } else {
        shape.height = y - rounded(lh / 6.0) + rounded(lh / 3.0);
    }
    return shape;
}

namespace {

// Item names may hold "#"; in a mark-up line it stays a plain character.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '#') out += '#';
    }
    return out;
}

bool hasToken(const std::string& line, const char* token) {
    return line.find(token) != std::string::npos;
}

// "Page %1 of %2" with its numbers.
std::string pageOfText(std::string pattern, int page, int pages) {
    if (pattern.find("%1") == std::string::npos) pattern = "%1 / %2";
    auto put = [&](const char* mark, int value) {
        const size_t at = pattern.find(mark);
        if (at != std::string::npos) pattern.replace(at, 2, std::to_string(value));
    };
    put("%1", page);
    put("%2", pages);
    return pattern;
}

}  // namespace

std::vector<std::string> LightReportPlanner::wrappedRowLines(
    const ResultRows& rows, int row, int columnWidth, const MarkupInterpreter& interpreter) const {
    std::vector<std::string> lines = BuildRowLines(rows, row);
    const ResultRows::Position pos = rows.locate(row);
    if (!pos.item || pos.offset != 0) return lines;
    auto at = std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) { return hasToken(l, "#PV"); });
    if (at == lines.end()) return lines;
    const std::string path = itemPath(*pos.item);
    // The path line's font, as the table draws it.
    const MarkupLine sample = interpreter.parse("X#PVH", MarkupMode::Write);
    const FontSpec font = sample.runs.empty() ? fonts_.table : runFont(sample.runs.front());
    const int h = measure_.width("H", fonts_.table);
    const int room = columnWidth - rounded(4.5 * h);
    if (room <= 0 || measure_.width(path, font) <= room) return lines;
    // Break between the parts of the path where possible, inside a part only when it alone
    // is too wide.
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        const size_t sep = path.find(" / ", from);
        if (sep == std::string::npos) {
            parts.push_back(path.substr(from));
            break;
        }
        parts.push_back(path.substr(from, sep - from) + " /");
        from = sep + 3;
    }
    std::vector<std::string> out;
    std::string current;
    for (const std::string& part : parts) {
        const std::string joined = current.empty() ? part : current + " " + part;
        if (measure_.width(joined, font) <= room) {
            current = joined;
            continue;
        }
        if (!current.empty()) out.push_back(current);
        current.clear();
        std::vector<std::string> pieces = wrapWords(measure_, part, font, room);
        if (pieces.empty()) continue;
        current = pieces.back();
        pieces.pop_back();
        for (std::string& p : pieces) out.push_back(std::move(p));
    }
    if (!current.empty()) out.push_back(current);
    std::vector<std::string> replaced;
    for (const std::string& o : out) replaced.push_back("X#PV" + escaped(o));
    at = lines.erase(at);
    lines.insert(at, replaced.begin(), replaced.end());
    return lines;
}

LightReportPlan LightReportPlanner::plan(const LightReportInput& in) const {
    const LightReportTexts& tx = in.texts;
    const LightReportFonts& f = fonts_;
    LightReportPlan p;
    p.unitsPerMm = unitsPerMm_;
    p.pageWidth = mm(paper_.widthMm);
    p.pageHeight = mm(paper_.heightMm);
    p.margin = mm(kReportMarginMm);
    p.width = p.pageWidth - 2 * p.margin;
    p.height = p.pageHeight - 2 * p.margin;
    const int W = p.width;
    auto width = [&](const std::string& s, const FontSpec& font) {
        return measure_.width(s, font);
    };
    auto wrap = [&](const std::string& s, const FontSpec& font, int room) {
        std::vector<std::string> lines = wrapWords(measure_, s, font, std::max(1, room));
        if (lines.empty()) lines.push_back(std::string());
        return lines;
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

    // Checks: the message names what is wider than the header dialog allows; the report
    // prints it all the same, wrapped.
    ReportTextMetrics metrics;
    metrics.footerFont = f.footer;
    metrics.commentFont = f.comment;
    metrics.pageFooterWidth = W;
    metrics.summaryWidth = W;
    ReportTextRules rules(measure_, metrics);
    p.footerTooLong = !rules.footerFits(tx.footer);
    std::vector<std::string> comments = tx.comments;
    p.firstLongComment = rules.firstCommentTooLong(comments);
    p.commentsTooLong = p.firstLongComment >= 0;
    while (!comments.empty() && comments.back().empty()) comments.pop_back();
    const std::vector<std::string> footerLines =
        tx.footer.empty() ? std::vector<std::string>{} : wrap(tx.footer, f.footer, W);

    const int tTitle = measure_.lineHeight(f.title);
    const int tHead = measure_.lineHeight(f.heading);
    const int tField = measure_.lineHeight(f.field);
    const int tFoot = measure_.lineHeight(f.footer);
    const int tComment = measure_.lineHeight(f.comment);
    const int gap = width("H", f.heading);

    // Page header: the title, centred.
    ReportBand pageHeader;
    pageHeader.kind = ReportBandKind::PageHeader;
    pageHeader.height = tTitle + mm(4);
    pageHeader.texts.push_back(
        {tx.title, f.title, std::max(0, rounded((W - width(tx.title, f.title)) / 2.0)), mm(1)});

    // Title band.
    ReportBand title;
    title.kind = ReportBandKind::Title;
    {
        // A text block: the lines of `text` wrapped between `left` and `right`.
        auto block = [&](int left, int right, int top, const std::string& text,
                         const FontSpec& font, int lineH) {
            int lines = 0;
            for (const std::string& part : wrap(text, font, right - left)) {
                if (!part.empty()) title.texts.push_back({part, font, left, top + lines * lineH});
                ++lines;
            }
            return std::max(1, lines);
        };
        const int instrumentLeft = 0;
        const int ruleOffset = 0;
        const int siteLeft = rounded(W / 2.0 + instrumentLeft / 2.0);
        // The test-site lines start 15 mm left of their heading, but never where the
        // operator lines run: both blocks are placed from their measured widths.
        int operatorWidth = 0;
        for (const std::string* s : {&tx.operatorHeading, &tx.operator1, &tx.operator2})
            operatorWidth =
                std::max(operatorWidth, width(*s, s == &tx.operatorHeading ? f.heading : f.field));
        int siteLinesLeft = siteLeft - mm(15);
        if (operatorWidth + 2 * gap > siteLinesLeft)
            siteLinesLeft = std::min(operatorWidth + 2 * gap, siteLeft);
        const int siteHeadingLeft = std::max(siteLeft, siteLinesLeft);
        const int operatorRight = siteLinesLeft - 2 * gap;
        int y = mm(1);
        y += std::max(block(0, operatorRight, y, tx.operatorHeading, f.heading, tHead),
                      block(siteHeadingLeft, W, y, tx.testSiteHeading, f.heading, tHead)) *
                 tHead +
             mm(1);
        y += std::max(block(0, operatorRight, y, tx.operator1, f.field, tField),
                      block(siteLinesLeft, W, y, tx.testSite1, f.field, tField)) *
             tField;
        y += std::max(block(0, operatorRight, y, tx.operator2, f.field, tField),
                      block(siteLinesLeft, W, y, tx.testSite2, f.field, tField)) *
                 tField +
             mm(2);
        title.rules.push_back({ruleOffset, W - ruleOffset, y});
        y += mm(2);
        title.texts.push_back({tx.instrumentHeading, f.heading, instrumentLeft, y});
        y += tHead + mm(1);
        const int typeWidth = width(tx.typeHeading, f.heading);
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
        const int rowH = std::max(tHead, tField);
        int headLines =
            std::max({block(typeLeft, typeValueLeft, y, tx.typeHeading, f.heading, tHead),
                      block(serLeft, serValueLeft, y, tx.serNoHeading, f.heading, tHead),
                      block(dateLeft, W, y, tx.dateHeading, f.heading, tHead)});
        int lines = std::max(block(typeValueLeft, serLeft - gap, y, tx.type, f.field, tField),
                             block(serValueLeft, dateLeft - gap, y, tx.serNo, f.field, tField));
        y += std::max({rowH, lines * tField, headLines * tHead});
        headLines = std::max(block(typeLeft, typeValueLeft, y, tx.modelHeading, f.heading, tHead),
                             block(serLeft, serValueLeft, y, tx.producerHeading, f.heading, tHead));
        lines = std::max({block(typeValueLeft, serLeft - gap, y, tx.model, f.field, tField),
                          block(serValueLeft, dateLeft - gap, y, tx.producer, f.field, tField),
                          block(dateLeft, W, y, tx.date, f.field, tField)});
        y += std::max({rowH, lines * tField, headLines * tHead}) + mm(3);
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

    // The legend of the row colours, under the column header of the first page.
    ReportBand legend;
    legend.kind = ReportBandKind::Legend;
    {
        const int swatchW = 3 * h, swatchH = rounded(0.8 * tFoot);
        const int lineH = rounded(1.3 * tFoot);
        int x = 0, row = 0;
        const int top = rounded(tFoot / 4.0);
        struct Entry {
            std::vector<int> colours;
            const std::string* text;
        } entries[] = {{{2}, &tx.legend[0]},
                       {{3}, &tx.legend[1]},
                       {{4}, &tx.legend[2]},
                       {{0, 1}, &tx.legend[3]}};
        for (const Entry& e : entries) {
            const int need = int(e.colours.size()) * swatchW + h / 2 + width(*e.text, f.footer);
            if (x > 0 && x + need > W) {
                x = 0;
                ++row;
            }
            const int y = top + row * lineH;
            for (int c : e.colours) {
                legend.swatches.push_back({x, y + (tFoot - swatchH) / 2, swatchW, swatchH, c});
                x += swatchW;
            }
            x += h / 2;
            legend.texts.push_back({*e.text, f.footer, x, y});
            x += width(*e.text, f.footer) + 3 * h;
        }
        legend.height = top + (row + 1) * lineH;
    }

    // Page footer at the bottom of every page: the footer's lines and "Page n of m".
    ReportBand pageFooter;
    pageFooter.kind = ReportBandKind::PageFooter;
    {
        int y = mm(1);
        for (const std::string& line : footerLines) {
            pageFooter.texts.push_back(
                {line, f.footer, std::max(0, rounded((W - width(line, f.footer)) / 2.0)), y});
            y += tFoot;
        }
        pageFooter.height = y + mm(1) + tFoot + mm(1);
    }
    const int pageNumberTop = pageFooter.height - mm(1) - tFoot;
    pageFooter.top = p.height - pageFooter.height;
    const int bottom = pageFooter.top;

    // Pages and bands.
    int y = 0;
    bool columnsOnPage = false;
    auto place = [&](ReportBand b) {
        b.top = y;
        y += b.height;
        p.pages.back().bands.push_back(std::move(b));
    };
    auto newPage = [&] {
        p.pages.emplace_back();
        y = 0;
        columnsOnPage = false;
        place(pageHeader);
        if (p.pages.size() == 1) place(title);
    };
    // The column header (and on the first page the legend) goes on a page with its first
    // table row: a page of comments alone has none.
    auto columnsHeight = [&] {
        if (columnsOnPage) return 0;
        return columns.height + (p.pages.size() == 1 ? legend.height : 0);
    };
    auto ensureColumns = [&] {
        if (columnsOnPage) return;
        place(columns);
        if (p.pages.size() == 1) place(legend);
        columnsOnPage = true;
    };
    const int freshTop = pageHeader.height;  // where content begins on later pages

    // Lines that flow over pages: each line is a set of texts at its top, `height` high.
    struct FlowLine {
        std::vector<ReportText> texts;
        int height = 0;
    };
    auto flow = [&](ReportBandKind kind, const std::vector<FlowLine>& lines, int keepFirst) {
        size_t next = 0;
        while (next < lines.size()) {
            int need = 0;
            for (size_t i = next; i < lines.size() && i < next + size_t(keepFirst); ++i)
                need += lines[i].height;
            if (y + need > bottom && y > freshTop) newPage();
            ReportBand b;
            b.kind = kind;
            int by = 0;
            while (next < lines.size() && (by == 0 || y + by + lines[next].height <= bottom)) {
                for (ReportText text : lines[next].texts) {
                    text.y += by;
                    b.texts.push_back(std::move(text));
                }
                by += lines[next].height;
                ++next;
            }
            b.height = by;
            place(std::move(b));
            keepFirst = 1;
            if (next < lines.size()) newPage();
        }
    };

    newPage();

    // The results overview under the title block.
    if (tx.overview && in.rows) {
        MarkupInterpreter own;
        const ResultsOverview o = resultsOverview(*in.rows, in.interpreter ? *in.interpreter : own);
        p.overview = o;
        p.overviewShown = true;
        std::vector<FlowLine> lines;
        lines.push_back({{{tx.overviewHeading, f.heading, 0, mm(1)}}, mm(1) + tHead + mm(1)});
        FlowLine counts;
        int x = 0;
        const std::pair<const std::string*, int> parts[] = {{&tx.passedHeading, o.passed},
                                                            {&tx.failedHeading, o.failed},
                                                            {&tx.noVerdictHeading, o.noVerdict}};
        for (const auto& [heading, count] : parts) {
            const std::string text = *heading + " " + std::to_string(count);
            counts.texts.push_back({text, f.field, x, 0});
            x += width(text, f.field) + 4 * gap;
        }
        counts.height = tField + mm(1);
        lines.push_back(counts);
        if (!o.failures.empty()) {
            lines.push_back({{{tx.failedListHeading, f.heading, 0, mm(1)}}, mm(1) + tHead});
            const int numberWidth = width(std::to_string(o.failures.back().number), f.field);
            const int textLeft = numberWidth + 2 * gap;
            for (const ResultsOverview::Failure& fail : o.failures) {
                std::string text = fail.path;
                for (size_t i = 0; i < fail.tests.size(); ++i)
                    text += (i == 0 ? ": " : ", ") + fail.tests[i];
                const std::vector<std::string> parts = wrap(text, f.field, W - textLeft);
                for (size_t i = 0; i < parts.size(); ++i) {
                    FlowLine line;
                    line.height = tField;
                    if (i == 0) {
                        const std::string n = std::to_string(fail.number);
                        line.texts.push_back({n, f.field, numberWidth - width(n, f.field), 0});
                    }
                    line.texts.push_back({parts[i], f.field, textLeft, 0});
                    lines.push_back(std::move(line));
                }
            }
        }
        lines.back().height += mm(3);
        flow(ReportBandKind::Overview, lines, 3);
    }

    // Detail bands: every row that shows a line at this level, in order.
    MarkupInterpreter ownInterpreter;
    const MarkupInterpreter& interpreter = in.interpreter ? *in.interpreter : ownInterpreter;
    struct Row {
        int row;
        bool heading;
        ReportRowShape shape;
        std::vector<std::string> lines;
    };
    std::vector<Row> shown;
    std::vector<MarkupLine> parsed;
    auto shapeOf = [&](const std::vector<std::string>& lines) {
        parsed.resize(lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            interpreter.parse(lines[i], MarkupMode::Write, parsed[i]);
        return rowShape(parsed, in.viewMode, in.lineHeight);
    };
    if (in.rows) {
        for (int row = 1; row < in.rows->rowCount; ++row) {
            std::vector<std::string> lines = wrappedRowLines(*in.rows, row, W - N, interpreter);
            if (CountRowLines(lines, in.viewMode) == 0) continue;
            const bool heading = in.rows->locate(row).offset == 0;
            ReportRowShape shape = shapeOf(lines);
            if (shape.height > 0)
                shown.push_back({row, heading, std::move(shape), std::move(lines)});
        }
    }
    // The heading of an item repeated at the top of a page that goes on with its results.
    auto continuedHeading = [&](int row) {
        const ResultRows::Position pos = in.rows->locate(row);
        Row r;
        r.row = in.rows->firstRows[size_t(pos.itemIndex)];
        r.heading = true;
        std::vector<std::string> lines = wrappedRowLines(*in.rows, r.row, W - N, interpreter);
        std::vector<std::string> kept;
        for (std::string& l : lines) {
            if (hasToken(l, "#PD")) continue;  // the date stays with the first heading
            kept.push_back(std::move(l));
        }
        for (auto it = kept.rbegin(); it != kept.rend(); ++it)
            if (hasToken(*it, "#PV")) {
                *it += " " + escaped(tx.continued);
                break;
            }
        r.lines = std::move(kept);
        r.shape = shapeOf(r.lines);
        return r;
    };
    auto placeRow = [&](const Row& r, int offset, int height, bool repeated) {
        ReportBand b;
        b.kind = ReportBandKind::Detail;
        b.height = height;
        b.tableRow = r.row;
        b.rowLines = r.lines;
        b.cellOffset = offset;
        b.cellHeight = r.shape.height;
        b.repeatedHeading = repeated;
        place(std::move(b));
    };
    // A new page for the rest of an item: its heading again, marked as continued.
    auto continueOnNewPage = [&](const Row& r) {
        newPage();
        ensureColumns();
        if (!r.heading) {
            const Row head = continuedHeading(r.row);
            placeRow(head, 0, head.shape.height, true);
        }
    };
    if (shown.empty()) ensureColumns();  // an empty table still shows its headings
    for (size_t k = 0; k < shown.size(); ++k) {
        const Row& r = shown[k];
        const ReportRowShape& shape = r.shape;
        // An item's heading row stays with its first result row when both fit a page.
        int needed = shape.height;
        if (r.heading && k + 1 < shown.size() && !shown[k + 1].heading)
            needed += shown[k + 1].shape.height;
        const int room = bottom - y - columnsHeight();
        const int pageRoom = bottom - freshTop - columns.height;
        if (shape.height > room) {
            // A row taller than a whole page starts where it stands when a line of it fits.
            const bool tall = shape.height > pageRoom - (r.heading ? 0 : t * 3);
            const bool lineFits = !shape.lineBottoms.empty() && shape.lineBottoms.front() <= room;
            if (!(tall && lineFits)) continueOnNewPage(r);
        } else if (r.heading && needed > room && needed <= pageRoom) {
            continueOnNewPage(r);
        }
        ensureColumns();
        if (y + shape.height <= bottom) {
            placeRow(r, 0, shape.height, false);
            continue;
        }
        // A row taller than the room left goes on over as many pages as it needs, cut
        // between its lines.
        int offset = 0;
        while (offset < shape.height) {
            const int space = std::max(bottom - y, t);  // always a line on
            int cut = shape.height;
            if (cut - offset > space) {
                cut = offset;
                for (int b : shape.lineBottoms)
                    if (b > offset && b - offset <= space) cut = b;
                if (cut == offset) cut = offset + space;  // one line taller than a page
            }
            placeRow(r, offset, cut - offset, false);
            offset = cut;
            if (offset < shape.height) continueOnNewPage(r);
        }
    }

    // Summary: the comment heading and lines (each wrapped to the width), continued on
    // further pages when needed.
    if (!comments.empty()) {
        std::vector<FlowLine> lines;
        lines.push_back({{{tx.commentHeading, f.heading, 0, mm(3)}}, mm(3) + tHead + mm(1)});
        for (const std::string& c : comments)
            for (const std::string& part : wrap(c, f.comment, W))
                lines.push_back({{{part, f.comment, 0, 0}}, tComment});
        lines.back().height += mm(1);
        flow(ReportBandKind::Summary, lines, 2);
    }

    // The signature of the person who tested, with its date, on the last page.
    {
        ReportBand sign;
        sign.kind = ReportBandKind::Signature;
        const int lineY = mm(16);
        const int signRight = rounded(0.5 * W), dateLeft = rounded(0.62 * W);
        sign.rules.push_back({0, signRight, lineY});
        sign.rules.push_back({dateLeft, W, lineY});
        int lines = 0;
        for (const std::string& part : wrap(tx.signature, f.footer, signRight)) {
            sign.texts.push_back({part, f.footer, 0, lineY + mm(1) + lines * tFoot});
            ++lines;
        }
        sign.texts.push_back({tx.signatureDate, f.footer, dateLeft, lineY + mm(1)});
        sign.height = lineY + mm(1) + std::max(1, lines) * tFoot + mm(1);
        if (y + sign.height > bottom) newPage();
        place(std::move(sign));
    }

    // Every page's footer with "Page n of m", and the bottom line of each page's table.
    const int pages = int(p.pages.size());
    for (int i = 0; i < pages; ++i) {
        ReportBand foot = pageFooter;
        const std::string number = pageOfText(tx.pageOf, i + 1, pages);
        foot.texts.push_back({number, f.footer,
                              std::max(0, rounded((W - width(number, f.footer)) / 2.0)),
                              pageNumberTop});
        p.pages[size_t(i)].bands.push_back(std::move(foot));
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
