#include "reports/adapters/report_painting.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "document/adapters/item_pictures.h"
#include "document/structure_document.h"
#include "results/adapters/markup_painter.h"
#include "results/adapters/result_cell.h"

namespace pelvoro {

namespace {

const QColor kColumnHeaderGrey(215, 215, 215);
const QColor kChainGrey(0x80, 0x80, 0x80);

// Metrics per font and resolution: building them anew for every text costs more than the
// drawing.
const QFontMetricsF& metricsOf(const FontSpec& spec, const QPaintDevice* device) {
    using Key = std::tuple<std::string, int, bool, bool, bool, int>;
    static auto* cache = new std::map<Key, QFontMetricsF>;  // kept to the end of the run
    const int dpi = device ? device->logicalDpiY() : 0;
    const Key key{spec.family, spec.pointSize, spec.bold, spec.italic, spec.underline, dpi};
    auto it = cache->find(key);
    if (it == cache->end()) {
        const QFont font = reportFont(spec);
        it = cache->emplace(key, device ? QFontMetricsF(font, device) : QFontMetricsF(font)).first;
    }
    return it->second;
}

void drawText(QPainter& painter, const ReportText& t, qreal top, const QPaintDevice* device) {
    if (t.text.empty()) return;
    const QFontMetricsF& fm = metricsOf(t.font, device);
    painter.setFont(reportFont(t.font));
    painter.drawText(QPointF(t.x, top + t.y + fm.ascent()), toQt(t.text));
}

}  // namespace

QString reportDateFormat() {
    const std::string format = LangText("ReportDateFormat_20");
    if (format.empty() || format == "**") return reportLocale().dateFormat(QLocale::ShortFormat);
    return toQt(format);
}

QLocale reportLocale() {
    const std::string name = LangText("ReportLocale_10");
    if (name.empty() || name == "**") return QLocale::system();
    return QLocale(toQt(name));
}

QString reportDateText(const QDate& date) {
    return reportLocale().toString(date, reportDateFormat());
}

QFont reportFont(const FontSpec& spec) {
    TResultText run;
    run.fontName = spec.family;
    run.size = spec.pointSize;
    run.bold = spec.bold;
    run.italic = spec.italic;
    run.underline = spec.underline;
    QFont font = markupRunFont(run);
    // No ligatures: text copied or searched in a saved report reads "fi" as two letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

int DeviceTextMeasure::width(const std::string& text, const FontSpec& font) {
    return int(std::lround(metricsOf(font, device_).horizontalAdvance(toQt(text))));
}

int DeviceTextMeasure::lineHeight(const FontSpec& font) {
    return int(std::lround(metricsOf(font, device_).height()));
}

TextMeasure& reportMeasure() {
    struct Holder {
        QBuffer buffer;
        std::unique_ptr<QPdfWriter> writer;
        std::unique_ptr<DeviceTextMeasure> measure;
        Holder() {
            buffer.open(QIODevice::WriteOnly);
            writer = std::make_unique<QPdfWriter>(&buffer);
            writer->setResolution(kReportResolution);
            measure = std::make_unique<DeviceTextMeasure>(writer.get());
        }
    };
    static auto* holder = new Holder;  // kept to the end of the run
    return *holder->measure;
}

ReportTextRules lightReportTextRules() {
    LightReportPlanner planner(reportMeasure(), kReportResolution / 25.4);
    ReportTextMetrics metrics;
    metrics.footerFont = planner.fonts().footer;
    metrics.commentFont = planner.fonts().comment;
    metrics.pageFooterWidth = planner.bandWidth();
    metrics.summaryWidth = planner.bandWidth();
    return ReportTextRules(reportMeasure(), metrics);
}

double dotsPerMm(const QPaintDevice& device) {
    return device.logicalDpiX() / 25.4;
}

void setReportPageLayout(QPagedPaintDevice& device, bool a4) {
    const QPageSize size = a4 ? QPageSize(QPageSize::A4) : device.pageLayout().pageSize();
    device.setPageLayout(
        QPageLayout(size.isValid() ? size : QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm),
                    QPageLayout::Millimeter));
}

ReportPaper reportPaperOf(const QPagedPaintDevice& device) {
    const QPageLayout layout = device.pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    if (full.width() <= 0 || full.height() <= 0) return kPaperA4;
    return ReportPaper{full.width(), full.height()};
}

LightReportPlan printLightReport(QPagedPaintDevice& device, const LightReportTexts& texts,
                                 const ResultRows* rows, int viewMode,
                                 const std::function<void(int page)>& pageStarted) {
    DeviceTextMeasure measure(&device);
    LightReportPlanner planner(measure, dotsPerMm(device), LightReportFonts{},
                               reportPaperOf(device));
    MarkupInterpreter interpreter;
    LightReportInput in;
    in.texts = texts;
    in.rows = rows;
    in.viewMode = viewMode;
    in.interpreter = &interpreter;
    // Rows are as high as the results table lays them out, measured on this device.
    in.lineHeight = [&device](const MarkupLine& l) {
        return int(std::lround(markupLineHeight(l, &device)));
    };
    LightReportPlan plan = planner.plan(in);

    QPainter painter(&device);
    if (!painter.isActive()) return plan;
    CellDrawOptions cell;
    cell.target = CellTarget::Printer;
    cell.viewMode = viewMode;
    cell.charWidth = plan.charWidth;
    std::vector<MarkupLine> lines;
    const QPen rulePen(Qt::black, std::max(1.0, dotsPerMm(device) * 0.2));
    for (size_t pageIndex = 0; pageIndex < plan.pages.size(); ++pageIndex) {
        if (pageIndex > 0) device.newPage();
        if (pageStarted) pageStarted(int(pageIndex) + 1);
        for (const ReportBand& band : plan.pages[pageIndex].bands) {
            const QRectF area(0, band.top, plan.width, band.height);
            if (band.greyBackground) painter.fillRect(area, kColumnHeaderGrey);
            for (const ReportSwatch& s : band.swatches) {
                const QRectF box(s.x, band.top + s.y, s.width, s.height);
                painter.fillRect(box, blockColour(s.colour));
                painter.setPen(QPen(Qt::black, std::max(1.0, dotsPerMm(device) * 0.1)));
                painter.drawRect(box);
            }
            if (band.kind == ReportBandKind::Detail && rows) {
                const std::vector<std::string>& raw = band.rowLines;
                lines.resize(raw.size());
                for (size_t i = 0; i < raw.size(); ++i)
                    interpreter.parse(raw[i], MarkupMode::Write, lines[i]);
                const qreal top = band.top - band.cellOffset;
                const bool split = band.cellOffset > 0 || band.height < band.cellHeight;
                CellDrawOptions o = cell;
                o.lastRow = band.lastOnPage && !split;
                painter.save();
                painter.setClipRect(area);
                DrawResultCell(painter, QRectF(0, top, plan.numberColumn, band.cellHeight), 0,
                               lines, o);
                DrawResultCell(
                    painter,
                    QRectF(plan.numberColumn, top, plan.width - plan.numberColumn, band.cellHeight),
                    1, lines, o);
                painter.restore();
                if (split) {
                    // The cut edges of a row that goes on over pages.
                    painter.setPen(rulePen);
                    if (band.lastOnPage) painter.drawLine(area.bottomLeft(), area.bottomRight());
                    if (band.cellOffset > 0) painter.drawLine(area.topLeft(), area.topRight());
                }
                continue;
            }
            painter.setPen(rulePen);
            for (const ReportRule& r : band.rules)
                painter.drawLine(QPointF(r.x1, band.top + r.y), QPointF(r.x2, band.top + r.y));
            painter.setPen(Qt::black);
            for (const ReportText& t : band.texts) drawText(painter, t, band.top, &device);
        }
    }
    painter.end();
    return plan;
}

StructurePrintPlan printStructure(QPagedPaintDevice& device, const StructureDocument& document,
                                  const StructurePrintTitle& title) {
    DeviceTextMeasure measure(&device);
    StructurePrintPlanner planner(measure, dotsPerMm(device), reportPaperOf(device));
    StructurePrintPlan plan = planner.plan(document, title);
    QPainter painter(&device);
    if (!painter.isActive()) return plan;
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont itemFont = reportFont(plan.itemFont), chainFont = reportFont(plan.chainFont);
    const QFontMetricsF itemMetrics(itemFont, &device), chainMetrics(chainFont, &device);
    const qreal lineWidth = std::max(1.0, dotsPerMm(device) * 0.2);
    for (size_t pageIndex = 0; pageIndex < plan.pages.size(); ++pageIndex) {
        if (pageIndex > 0) device.newPage();
        const StructurePage& page = plan.pages[pageIndex];
        painter.setPen(Qt::black);
        for (const ReportText& t : page.title) drawText(painter, t, 0, &device);
        painter.setPen(QPen(Qt::black, lineWidth));
        if (page.titleRuleY >= 0)
            painter.drawLine(QPointF(0, page.titleRuleY), QPointF(plan.width, page.titleRuleY));
        for (const StructureConnector& c : page.connectors) {
            painter.drawLine(QPointF(c.x, c.y1), QPointF(c.x, c.y2));
            painter.drawLine(QPointF(c.x, c.y2), QPointF(c.x2, c.y2));
        }
        if (page.dottedLineY >= 0) {
            QPen dots(Qt::black, lineWidth, Qt::DotLine);
            painter.setPen(dots);
            painter.drawLine(QPointF(0, page.dottedLineY), QPointF(plan.width, page.dottedLineY));
        }
        for (const StructureEntry& e : page.entries) {
            const bool chain = e.style == StructureEntryStyle::Chain;
            const QRectF icon(e.x, e.y, plan.iconSize, plan.iconSize);
            if (e.icon >= 0) {
                painter.fillRect(icon, Qt::white);  // opaque over the connectors
                drawItemPicture(painter, icon, e.icon, e.greyIcon);
            }
            const QFontMetricsF& fm = chain ? chainMetrics : itemMetrics;
            painter.setFont(chain ? chainFont : itemFont);
            painter.setPen(chain ? kChainGrey : QColor(Qt::black));
            const qreal baseline = e.y + (plan.iconSize - fm.height()) / 2 + fm.ascent();
            painter.drawText(QPointF(e.captionX, baseline), toQt(e.caption));
        }
    }
    painter.end();
    return plan;
}

bool writeReportPdf(const QString& path, const std::function<void(QPagedPaintDevice&)>& paint,
                    QString* error, QPageSize::PageSizeId paper) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kReportResolution);
        writer.setCreator(QStringLiteral("Tamvisto"));
        writer.setPageSize(QPageSize(paper));
        setReportPageLayout(writer);
        paint(writer);
    }
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace pelvoro
