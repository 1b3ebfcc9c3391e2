#include "results/adapters/result_cell.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>

#include "results/adapters/markup_painter.h"

namespace pelvoro {

namespace {

const char* const kNoIndentText = "Methods of protection against electric shock";

// Height of one line of the table font (a line without runs).
qreal defaultLineHeight(const QPaintDevice* device) {
    static const MarkupLine empty;
    return markupLineHeight(empty, device);
}

// Table rules: grey hairlines on the screen, black lines of a fifth of a millimetre on paper.
QPen rulePen(CellTarget target, const QPaintDevice* device) {
    if (target != CellTarget::Printer) return QPen(QColor(160, 160, 160));
    const qreal width = device ? device->logicalDpiX() / 25.4 * 0.2 : 1.0;
    return QPen(QColor(Qt::black), std::max<qreal>(1.0, width));
}

int colourDigit(const MarkupLine& line) {
    const std::string t = line.text();
    return !t.empty() && t[0] >= '0' && t[0] <= '9' ? t[0] - '0' : 1;
}

// Draws a heading's path line. A path wider than `rect` is shortened in the middle
// ("Workshop / … / F2 Sockets"), so that the top-level item and the item's own parent both
// stay readable instead of the end being cut off.
qreal paintPathLine(QPainter& painter, const QRectF& rect, const MarkupLine& line) {
    if (line.runs.size() != 1 || line.runs[0].picture || line.runs[0].glyph)
        return paintMarkupLine(painter, rect, line);
    const MarkupLineLayout layout = layoutMarkupLine(line, rect, painter.device());
    if (layout.runs.size() != 1 || layout.runs[0].box.right() <= rect.right() + 0.5)
        return paintMarkupLine(painter, rect, line);
    const MarkupRunPlacement& placement = layout.runs[0];
    const TResultText& run = line.runs[0];
    const QFontMetricsF metrics(placement.font, painter.device());
    painter.save();
    painter.setFont(placement.font);
    painter.setPen(QColor(run.colour.r, run.colour.g, run.colour.b));
    painter.drawText(QPointF(rect.left(), placement.baseline),
                     shortenPathInMiddle(markupRunText(run), rect.width(), metrics));
    painter.restore();
    return layout.height;
}

}  // namespace

QString shortenPathInMiddle(const QString& path, qreal width, const QFontMetricsF& metrics) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    // Whole places go first: the top-level item, "…", then as many of the places nearest
    // the item as fit; only a path that still does not fit loses letters in the middle.
    const QString separator = QStringLiteral(" / ");
    const QStringList parts = path.split(separator);
    QString text = path;
    for (qsizetype keep = parts.size() - 2; keep >= 1; --keep) {
        text = parts.first() + separator + QString(QChar(0x2026)) + separator +
               QStringList(parts.mid(parts.size() - keep)).join(separator);
        if (metrics.horizontalAdvance(text) <= width) return text;
    }
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}

QColor blockColour(int code) {
    switch (code) {
        case 0:
            return QColor(255, 255, 217);
        case 2:
            return QColor(235, 160, 86);
        case 3:
            return QColor(240, 213, 117);
        case 4:
            return QColor(255, 255, 191);
        default:
            return QColor(Qt::white);
    }
}

QColor selectionColour() {
    return QColor(166, 202, 240);
}

void DrawResultCell(QPainter& painter, const QRectF& cell, int column,
                    const std::vector<MarkupLine>& rowLines, const CellDrawOptions& o) {
    const QPaintDevice* device = painter.device();
    const qreal lh = defaultLineHeight(device);
    const qreal cw = o.charWidth;
    const QPen rule = rulePen(o.target, device);

    QColor fill = Qt::white;
    for (const MarkupLine& l : rowLines)
        if (l.props.kind == "C") {
            fill = blockColour(colourDigit(l));
            break;
        }
    if (o.selected) fill = selectionColour();
    painter.fillRect(cell, fill);

    auto hline = [&](qreal y) {
        painter.setPen(rule);
        painter.drawLine(QPointF(cell.left(), y), QPointF(cell.right(), y));
    };
    qreal y = cell.top() + lh / 6;

    if (column == 0) {
        for (const MarkupLine& l : rowLines) {
            if (l.props.kind == "C") continue;
            if (l.props.kind == "S") {
                hline(cell.top());
                MarkupLine centred = l;
                for (TResultText& r : centred.runs) r.alignment = RunAlignment::Centre;
                paintMarkupLine(painter, QRectF(cell.left(), y, cell.width(), lh), centred);
            }
            break;
        }
    } else {
        const qreal right = cell.right() - cw;
        for (const MarkupLine& l : rowLines) {
            const std::string& k = l.props.kind;
            if (k == "N" || k == "S" || k == "C") continue;
            if (k == "V") {
                hline(cell.top());
                QRectF r(cell.left() + 1.5 * cw, y, right - 2 * cw - cell.left() - 1.5 * cw, lh);
                y += std::max(lh, paintPathLine(painter, r, l));
                continue;
            }
            if (k == "D") {
                QRectF r(cell.left() + 1.5 * cw, y, right - cell.left() - 1.5 * cw, lh);
                y += std::max(lh, paintMarkupLine(painter, r, l));
                continue;
            }
            if (!levelVisible(l.props.level, o.viewMode)) continue;
            qreal indent = cw + levelIndent(l.props.level, o.viewMode) * cw;
            if (!l.runs.empty() && l.runs[0].text == kNoIndentText) indent = cw / 2;
            QRectF r(cell.left() + indent, y, right - cell.left() - indent, lh);
            y += paintMarkupLine(painter, r, l);
        }
    }
    if (o.target == CellTarget::Printer && column == 0) {
        painter.setPen(rule);
        painter.drawLine(cell.topRight(), cell.bottomRight());
    }
    if (o.lastRow) hline(cell.bottom());
}

qreal resultRowHeight(const std::vector<MarkupLine>& rowLines, int viewMode,
                      const QPaintDevice* device) {
    const qreal lh = defaultLineHeight(device);
    bool heading = false, date = false;
    qreal sum = 0;
    for (const MarkupLine& l : rowLines) {
        const std::string& k = l.props.kind;
        if (k == "S" || k == "V") heading = true;
        if (k == "D") date = true;
        if (k == "N" || k == "S" || k == "C" || k == "V" || k == "D") continue;
        if (levelVisible(l.props.level, viewMode)) sum += markupLineHeight(l, device);
    }
    if (heading) return lh * (date ? 2 : 1) + lh / 3;
    return sum + lh / 3;
}

}  // namespace pelvoro
