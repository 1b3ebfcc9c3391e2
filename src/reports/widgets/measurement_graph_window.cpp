#include "reports/widgets/measurement_graph_window.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QFileDialog>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScatterSeries>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "reports/adapters/qt_safe_file.h"
#include "reports/widgets/modal_runner.h"

namespace pelvoro {

namespace {

const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

QAbstractAxis* makeAxis(const GraphAxis& a, const QColor& titleColour) {
    QAbstractAxis* axis;
    if (a.log) {
        auto* log = new QLogValueAxis;
        log->setBase(10);
        log->setLabelFormat("%g");
        log->setMinorTickCount(-1);
        log->setRange(a.min, a.max > a.min ? a.max : a.min * 10);
        axis = log;
    } else {
        auto* lin = new QValueAxis;
        lin->setRange(a.min, a.max > a.min ? a.max : a.min + 1);
        lin->setLabelFormat("%g");
        axis = lin;
    }
    axis->setTitleText(toQt(a.title));
    axis->setTitleBrush(titleColour);
    return axis;
}

QScatterSeries* marks(QScatterSeries::MarkerShape shape, const QColor& colour, qreal size) {
    auto* s = new QScatterSeries;
    s->setMarkerShape(shape);
    s->setMarkerSize(size);
    s->setColor(colour);
    s->setBorderColor(colour);
    return s;
}

}  // namespace

TfrmGraph::TfrmGraph(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmGraph");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    graphMenu_ = menuBar_->addMenu(QString());
    graphMenu_->setObjectName("gmGraph");
    QAction* a = graphMenu_->addAction(QString(), this, &TfrmGraph::print);
    a->setObjectName("gmGraphPrint");
    a->setShortcut(QKeySequence::Print);
    a = graphMenu_->addAction(QString(), this, &TfrmGraph::saveAs);
    a->setObjectName("gmGraphSave");
    a->setShortcut(QKeySequence::Save);
    graphMenu_->addSeparator();
    a = graphMenu_->addAction(QString(), this, &QDialog::accept);
    a->setObjectName("gmGraphClose");
    viewMenu_ = menuBar_->addMenu(QString());
    viewMenu_->setObjectName("gmView");
    a = viewMenu_->addAction(QString(), this, [this] { fill(graph_, true); });
    a->setObjectName("gmAutoRange");
    a = viewMenu_->addAction(QString(), this, [this] { fill(graph_, false); });
    a->setObjectName("gmRestoreRange");
    a = viewMenu_->addAction(QString(), this, [this] {
        placeLabels();
        view_->viewport()->update();
    });
    a->setObjectName("gmRefresh");
    a->setShortcut(QKeySequence::Refresh);
    layout->setMenuBar(menuBar_);

    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    view_ = new QChartView(chart, this);
    view_->setObjectName("chGraph");
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMouseTracking(true);
    view_->viewport()->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    layout->addWidget(view_, 1);
    connect(chart, &QChart::plotAreaChanged, this, [this] { placeLabels(); });

    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);
    const int widths[4] = {110, 150, 110, 0};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(status_);
        panels_[i]->setObjectName(QString("stPanel%1").arg(i));
        if (widths[i]) panels_[i]->setMinimumWidth(widths[i]);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        status_->addWidget(panels_[i], widths[i] ? 0 : 1);
    }
    layout->addWidget(status_);
    resize(760, 520);
}

QChart* TfrmGraph::chart() const {
    return view_->chart();
}

QString TfrmGraph::panelText(int panel) const {
    return panels_[panel]->text();
}

void TfrmGraph::translate() {
    setWindowTitle(toQt(LangText("frmGraphCapt_25")));
    graphMenu_->setTitle(toQt(LangText("gmGraph_15")));
    viewMenu_->setTitle(toQt(LangText("gmView_15")));
    findChild<QAction*>("gmGraphPrint")->setText(toQt(LangText("gmGraphPrint_15")));
    findChild<QAction*>("gmGraphSave")->setText(toQt(LangText("gmGraphSave_20")));
    findChild<QAction*>("gmGraphClose")->setText(toQt(LangText("gmGraphClose_15")));
    findChild<QAction*>("gmAutoRange")->setText(toQt(LangText("gmAutoRange_20")));
    findChild<QAction*>("gmRestoreRange")->setText(toQt(LangText("gmRestoreRange_20")));
    findChild<QAction*>("gmRefresh")->setText(toQt(LangText("gmRefresh_15")));
}

void TfrmGraph::fill(const TGraphData& graph, bool autoRange) {
    translate();
    graph_ = graph;
    plot_ = fillGraphPlot(graph, autoRange);
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    qDeleteAll(labels_);
    labels_.clear();

    c->setTitle(toQt(plot_.title));
    QAbstractAxis* time = makeAxis(plot_.time, Qt::black);
    QAbstractAxis* left = makeAxis(plot_.left, kGreen);
    QAbstractAxis* right = makeAxis(plot_.right, kBlue);
    c->addAxis(time, Qt::AlignBottom);
    c->addAxis(left, Qt::AlignLeft);
    c->addAxis(right, Qt::AlignRight);
    right->setVisible(plot_.voltageShown);

    resistance_ = new QLineSeries;
    resistance_->setName(toQt(LangText("LeftAxis_15")));
    resistance_->setColor(kGreen);
    resistanceMarks_ = marks(QScatterSeries::MarkerShapeRectangle, kGreen, 7);
    redMarks_ = marks(QScatterSeries::MarkerShapeRectangle, kRed, 8);
    // A logarithmic axis cannot show 0: such points sit on its lower end.
    auto shown = [&](double v) {
        return plot_.left.log && v <= plot_.left.min ? plot_.left.min : v;
    };
    for (const GraphPoint& p : plot_.resistance) {
        const QPointF point(p.t, shown(p.value));
        resistance_->append(point);
        (p.red ? redMarks_ : resistanceMarks_)->append(point);
        if (!p.label.empty()) {
            auto* label = new QGraphicsSimpleTextItem(toQt(p.label), c);
            label->setBrush(p.red ? kRed : kGreen);
            QFont f = label->font();
            f.setPointSize(7);
            label->setFont(f);
            label->setData(0, point);
            labels_.append(label);
        }
    }
    voltage_ = new QLineSeries;
    voltage_->setName(toQt(LangText("RightAxis_15")));
    voltage_->setColor(kBlue);
    voltageMarks_ = marks(QScatterSeries::MarkerShapeCircle, kBlue, 7);
    for (const GraphPoint& p : plot_.voltage) {
        double v = plot_.right.log && p.value <= plot_.right.min ? plot_.right.min : p.value;
        voltage_->append(p.t, v);
        voltageMarks_->append(p.t, v);
    }
    for (QXYSeries* s :
         {static_cast<QXYSeries*>(resistance_), static_cast<QXYSeries*>(resistanceMarks_),
          static_cast<QXYSeries*>(redMarks_)}) {
        c->addSeries(s);
        s->attachAxis(time);
        s->attachAxis(left);
    }
    for (QXYSeries* s :
         {static_cast<QXYSeries*>(voltage_), static_cast<QXYSeries*>(voltageMarks_)}) {
        c->addSeries(s);
        s->attachAxis(time);
        s->attachAxis(right);
        s->setVisible(plot_.voltageShown);
    }
    c->legend()->setVisible(plot_.legendShown);
    for (QXYSeries* s :
         {static_cast<QXYSeries*>(resistanceMarks_), static_cast<QXYSeries*>(redMarks_),
          static_cast<QXYSeries*>(voltageMarks_)})
        for (QLegendMarker* m : c->legend()->markers(s)) m->setVisible(false);

    for (int i = 0; i < 3; ++i) panels_[i]->setText(toQt(plot_.panels[size_t(i)]));
    QString start;
    if (graph.start.valid) {
        const QDateTime when(QDate(graph.start.year, graph.start.month, graph.start.day),
                             QTime(graph.start.hour, graph.start.minute, graph.start.second));
        start = QLocale::system().toString(when, QLocale::ShortFormat);
    }
    panels_[3]->setText(toQt(LangText("MeasStart_35") + "  ") + start);
    placeLabels();
}

void TfrmGraph::placeLabels() {
    if (!resistance_) return;
    const QRectF area = chart()->plotArea();
    // Labels of dense series would cover each other: a label that would overlap the one
    // shown before it is left out, except the red ones of readings above the range.
    QRectF previous;
    for (QGraphicsSimpleTextItem* label : labels_) {
        const QPointF at = chart()->mapToPosition(label->data(0).toPointF(), resistance_);
        const QRectF box = label->boundingRect();
        label->setPos(at.x() - box.width() / 2, at.y() - box.height() - 4);
        const QRectF placed = label->sceneBoundingRect();
        const bool red = label->brush().color() == kRed;
        bool visible = area.adjusted(-2, -box.height() - 6, 2, 2).contains(at);
        if (visible && !red && previous.isValid() && placed.intersects(previous)) visible = false;
        label->setVisible(visible);
        if (visible) previous = placed;
    }
}

void TfrmGraph::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeLabels();
}

void TfrmGraph::showValuesAt(const QPointF& position) {
    if (!resistance_ || !chart()->plotArea().contains(position)) return;
    const QPointF r = chart()->mapToValue(position, resistance_);
    panels_[0]->setText(toQt(plot_.panels[0] + formatElapsed(r.x())));
    panels_[1]->setText(toQt(plot_.panels[1] + formatResistance(r.y(), plot_.scaling.prefix)));
    if (plot_.voltageShown) {
        const QPointF u = chart()->mapToValue(position, voltage_);
        panels_[2]->setText(toQt(plot_.panels[2]) + QString::number(std::round(u.y())) + " V");
    }
}

bool TfrmGraph::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::MouseMove)
        showValuesAt(view_->mapToScene(static_cast<QMouseEvent*>(event)->position().toPoint()));
    return QDialog::eventFilter(watched, event);
}

std::string TfrmGraph::saveImage(const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString lower = pathToQt(path).toLower();
    if (lower.endsWith(".pdf")) {
        QPdfWriter pdf(&buffer);
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(toQt(plot_.title));
        QPainter painter(&pdf);
        view_->render(&painter);
        painter.end();
    } else {
        const QPixmap picture = view_->grab();
        if (!picture.save(&buffer, "PNG")) return "the picture could not be made";
    }
    buffer.close();
    return writeFileSafely(path, std::string(bytes.constData(), size_t(bytes.size())));
}

void TfrmGraph::print() {
    QPrinter printer;
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (runModal(dialog) != QDialog::Accepted) return;
    QPainter painter(&printer);
    if (painter.isActive()) view_->render(&painter);
}

void TfrmGraph::saveAs() {
    QString selected;
    const QString path = QFileDialog::getSaveFileName(
        this, toQt(LangText("gmGraphSave_20")), QString(), "PNG (*.png);;PDF (*.pdf)", &selected);
    if (path.isEmpty()) return;
    QString target = path;
    if (!target.toLower().endsWith(".png") && !target.toLower().endsWith(".pdf"))
        target += selected.startsWith("PDF") ? ".pdf" : ".png";
    const std::string failure = saveImage(pathFromQt(target));
    if (!failure.empty())
        QMessageBox::information(this, windowTitle(),
                                 toQt(LangText("msgWriteError_35")) + "\n" + target + ": " +
                                     QString::fromStdString(failure));
}

}  // namespace pelvoro
