#pragma once
// The measurement table window: the samples of a curve nearest to twelve fixed instants,
// with a Table menu (Print, Close).

#include <QDialog>

#include "document/graph_data.h"
#include "reports/measurement_series.h"

class QMenu;
class QMenuBar;
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
    // Print: the print dialog, then the window's picture on the page.
    void print();

  private:
    QMenuBar* menuBar_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    QMenu* tableMenu_ = nullptr;
};

// Draws a widget's picture on a printer page, scaled to fit and keeping its proportions.
void printWidgetPicture(QWidget& widget, QPrinter& printer);

}  // namespace pelvoro
