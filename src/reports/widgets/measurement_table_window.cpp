#include "reports/widgets/measurement_table_window.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QVBoxLayout>

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
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (runModal(dialog) != QDialog::Accepted) return;
    printWidgetPicture(*this, printer);
}

void printWidgetPicture(QWidget& widget, QPrinter& printer) {
    const QPixmap picture = widget.grab();
    QPainter painter(&printer);
    if (!painter.isActive()) return;
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
}

}  // namespace pelvoro
