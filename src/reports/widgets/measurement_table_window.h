#pragma once
// The measurement table window: the samples of a curve nearest to twelve fixed instants,
// with a Table menu (Print, Close).

#include <QDialog>
#include <QStringList>

#include "document/graph_data.h"
#include "reports/measurement_series.h"

class QMenu;
class QMenuBar;
class QPagedPaintDevice;
class QPrinter;

class QTableWidget;

namespace pelvoro {

class TfrmMeasTable : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmMeasTable(QWidget* parent = nullptr);

    // Fills the grid from a curve (captions in the current language).
    void fill(const TGraphData& graph);
    QTableWidget* grid() const { return grid_; }
    QMenuBar* menuBarWidget() const { return menuBar_; }
    // Print: the print dialog, then the table as text on the page.
    void print();
    // Sets what the printed page says of the item above the table.
    void setItemInfo(const GraphItemInfo& info) { info_ = info; }

  private:
    MeasurementTableRows rows_{};
    GraphItemInfo info_;
    QMenuBar* menuBar_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    QMenu* tableMenu_ = nullptr;
};

// Draws the measurement table as a table of text on a paged device (a printer or a PDF):
// the title lines above it, then the thirteen rows of four cells with their rules.
void printMeasurementTable(QPagedPaintDevice& device, const MeasurementTableRows& rows,
                           const QStringList& title);

}  // namespace pelvoro
