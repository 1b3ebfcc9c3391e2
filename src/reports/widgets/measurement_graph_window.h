#pragma once
// The measurement graph window: resistance (and for step-voltage tests voltage) over
// time, with a status bar (values under the pointer, the start of the measurement) and
// the Graph (Print, Save As, Close) and View (Auto Range, Restore Range, Refresh) menus.

#include <QDialog>
#include <QList>
#include <string>

#include "document/graph_data.h"
#include "reports/measurement_series.h"

class QAbstractAxis;
class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QLabel;
class QLineSeries;
class QMenu;
class QMenuBar;
class QPainter;
class QScatterSeries;
class QStatusBar;

namespace pelvoro {

class TfrmGraph : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmGraph(QWidget* parent = nullptr);

    // Fills the graph from a curve; `autoRange` ends the resistance axis just above the
    // largest reading.
    void fill(const TGraphData& graph, bool autoRange = false);
    const GraphPlot& plot() const { return plot_; }
    QChartView* chartView() const { return view_; }
    QChart* chart() const;
    QMenuBar* menuBarWidget() const { return menuBar_; }
    QString panelText(int panel) const;

    // What the title block of a saved or printed graph says of the item.
    void setItemInfo(const GraphItemInfo& info) { info_ = info; }

    // The chart under its title block (function, item, start, limit, verdict) as a
    // picture file in the format its extension names: ".png", ".jpg"/".jpeg" or ".pdf";
    // any other extension is refused. The file is replaced only when complete. Returns
    // the reason of a failure, or empty.
    std::string saveImage(const std::string& path);
    // Whether saveImage writes a file of this name.
    static bool imageFormatKnown(const std::string& path);
    void print();
    void saveAs();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void translate();
    void placeLabels();
    void showValuesAt(const QPointF& position);
    // Draws the title block and the chart into `target` on `painter`.
    void renderWithTitle(QPainter& painter, const QRectF& target);
    QStringList titleLines() const;

    TGraphData graph_;
    GraphPlot plot_;
    GraphItemInfo info_;
    QString start_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* graphMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QChartView* view_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel* panels_[4] = {};
    QLineSeries* resistance_ = nullptr;
    QScatterSeries* resistanceMarks_ = nullptr;
    QScatterSeries* redMarks_ = nullptr;
    QScatterSeries* belowMarks_ = nullptr;
    QLineSeries* voltage_ = nullptr;
    QScatterSeries* voltageMarks_ = nullptr;
    QList<QGraphicsSimpleTextItem*> labels_;
};

}  // namespace pelvoro
