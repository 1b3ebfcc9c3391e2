#include "reports/widgets/measurement_table_window.h"

#include <QAction>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "reports/widgets/modal_runner.h"

namespace pelvoro {

namespace {
constexpr int kColumnWidths[4] = {50, 200, 200, 200};
}

TfrmMeasTable::TfrmMeasTable(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmMeasTable");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menuBar_ = new QMenuBar(this);
    tableMenu_ = menuBar_->addMenu(QString());
    tableMenu_->setObjectName("tmTable");
    printAction_ = tableMenu_->addAction(QString(), this, &TfrmMeasTable::print);
    printAction_->setObjectName("gmGraphPrint");
    printAction_->setShortcut(QKeySequence::Print);
    closeAction_ = tableMenu_->addAction(QString(), this, &QDialog::accept);
    closeAction_->setObjectName("gmGraphClose");
    layout->setMenuBar(menuBar_);

    grid_ = new QTableWidget(13, 4, this);
    grid_->setObjectName("sgTable");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int total = 0;
    for (int c = 0; c < 4; ++c) {
        grid_->setColumnWidth(c, kColumnWidths[c]);
        total += kColumnWidths[c];
    }
    layout->addWidget(grid_);
    int height = grid_->frameWidth() * 2;
    for (int r = 0; r < 13; ++r) height += grid_->rowHeight(r);
    grid_->setFixedHeight(height);
    setFixedWidth(total + 25);
}

void TfrmMeasTable::fill(const TGraphData& graph) {
    setWindowTitle(toQt(LangText("frmTableCapt_25")));
    tableMenu_->setTitle(toQt(LangText("tmTable_15")));
    printAction_->setText(toQt(LangText("gmGraphPrint_15")));
    closeAction_->setText(toQt(LangText("gmGraphClose_15")));
    const MeasurementTableRows rows = measurementTable(graph);
    rows_ = rows;
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 4; ++c) {
            auto* cell = new QTableWidgetItem(toQt(rows[size_t(r)][size_t(c)]));
            if (r == 0) {
                // The heading row looks like a fixed row.
                cell->setBackground(palette().button());
                QFont f = cell->font();
                f.setBold(true);
                cell->setFont(f);
            }
            grid_->setItem(r, c, cell);
        }
}

void TfrmMeasTable::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (runModal(dialog) != QDialog::Accepted) return;
    QStringList title{windowTitle()};
    if (!info_.path.empty()) title << toQt(info_.path);
    QString facts = toQt(info_.limit);
    if (!info_.verdict.empty()) facts += "     " + toQt(info_.verdict);
    if (!facts.isEmpty()) title << facts;
    printMeasurementTable(printer, rows_, title);
}

void printMeasurementTable(QPagedPaintDevice& device, const MeasurementTableRows& rows,
                           const QStringList& title) {
    QPainter painter(&device);
    if (!painter.isActive()) return;
    const QRectF page = painter.viewport();
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const QFontMetricsF fm(font, &device);
    const qreal lineH = fm.height() * 1.5;
    const qreal pad = fm.horizontalAdvance(QStringLiteral("H"));
    qreal y = 0;
    for (int i = 0; i < title.size(); ++i) {
        QFont f = font;
        f.setBold(i == 0);
        painter.setFont(f);
        painter.drawText(QPointF(0, y + fm.ascent()), title[i]);
        y += fm.height() * 1.2;
    }
    y += lineH / 2;
    // Columns as wide as their widest text, in the proportions of the window.
    qreal widths[4] = {};
    for (const auto& row : rows)
        for (int c = 0; c < 4; ++c)
            widths[c] =
                std::max(widths[c], fm.horizontalAdvance(toQt(row[size_t(c)]).trimmed()) + 2 * pad);
    qreal total = 0;
    for (qreal w : widths) total += w;
    const qreal scale = total > page.width() ? page.width() / total : 1;
    const QPen rule(Qt::black, std::max<qreal>(1, device.logicalDpiX() / 254.0));
    for (size_t r = 0; r < rows.size(); ++r) {
        QFont f = font;
        f.setBold(r == 0);
        painter.setFont(f);
        qreal x = 0;
        if (r == 0) painter.fillRect(QRectF(0, y, total * scale, lineH), QColor(225, 225, 225));
        for (int c = 0; c < 4; ++c) {
            const QRectF cell(x, y, widths[c] * scale, lineH);
            painter.setPen(Qt::black);
            painter.drawText(cell.adjusted(pad, 0, -pad / 2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             toQt(rows[r][size_t(c)]).trimmed());
            painter.setPen(rule);
            painter.drawRect(cell);
            x += widths[c] * scale;
        }
        y += lineH;
    }
    painter.end();
}

}  // namespace pelvoro
