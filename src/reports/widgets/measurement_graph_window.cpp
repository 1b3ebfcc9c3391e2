#include "reports/widgets/measurement_graph_window.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QImage>
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
#include <algorithm>
#include <cmath>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "reports/adapters/qt_safe_file.h"
#include "reports/adapters/report_painting.h"
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
        if (a.step > 0) {
            // Ticks on whole steps of 1, 2 or 5 times a power of ten.
            lin->setTickType(QValueAxis::TicksDynamic);
            lin->setTickAnchor(0);
            lin->setTickInterval(a.step);
        }
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
    belowMarks_ = marks(QScatterSeries::MarkerShapeTriangle, kGreen, 10);
    // A logarithmic axis cannot show 0: such points sit on its lower end.
    auto shown = [&](double v) {
        return plot_.left.log && v <= plot_.left.min ? plot_.left.min : v;
    };
    for (const GraphPoint& p : plot_.resistance) {
        const QPointF point(p.t, shown(p.value));
        resistance_->append(point);
        (p.below ? belowMarks_ : p.red ? redMarks_ : resistanceMarks_)->append(point);
        if (!p.label.empty()) {
            auto* label = new QGraphicsSimpleTextItem(toQt(p.label), c);
            label->setBrush(p.red ? kRed : kGreen);
            label->setData(1, p.below);
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
        if (!p.corner) voltageMarks_->append(p.t, v);
    }
    for (QXYSeries* s :
         {static_cast<QXYSeries*>(resistance_), static_cast<QXYSeries*>(resistanceMarks_),
          static_cast<QXYSeries*>(redMarks_), static_cast<QXYSeries*>(belowMarks_)}) {
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
          static_cast<QXYSeries*>(belowMarks_), static_cast<QXYSeries*>(voltageMarks_)})
        for (QLegendMarker* m : c->legend()->markers(s)) m->setVisible(false);

    for (int i = 0; i < 3; ++i) panels_[i]->setText(toQt(plot_.panels[size_t(i)]));
    QString start;
    if (graph.start.valid) {
        const QDateTime when(QDate(graph.start.year, graph.start.month, graph.start.day),
                             QTime(graph.start.hour, graph.start.minute, graph.start.second));
        start = reportLocale().toString(when, reportDateFormat() + QStringLiteral(" HH:mm:ss"));
    }
    panels_[3]->setText(toQt(LangText("MeasStart_35") + "  ") + start);
    start_ = start;
    placeLabels();
}

void TfrmGraph::placeLabels() {
    if (!resistance_) return;
    const QRectF area = chart()->plotArea();
    // Labels never cover each other: the red ones of readings above the range and the
    // "<" ones of readings below it are placed first, then the others where there is room.
    // A label stays inside the plot; one that finds no room of its own is left out.
    QList<QRectF> taken;
    // The markers of readings outside the range stay visible.
    for (const QXYSeries* marks :
         {static_cast<QXYSeries*>(redMarks_), static_cast<QXYSeries*>(belowMarks_)})
        for (const QPointF& p : marks->points()) {
            const QPointF at = chart()->mapToPosition(p, resistance_);
            taken.append(QRectF(at.x() - 5, at.y() - 5, 10, 10));
        }
    auto place = [&](QGraphicsSimpleTextItem* label) {
        const QPointF at = chart()->mapToPosition(label->data(0).toPointF(), resistance_);
        const QRectF box = label->boundingRect();
        const bool below = label->data(1).toBool();
        if (!area.adjusted(-2, -2, 2, 2).contains(at)) {
            label->setVisible(false);
            return;
        }
        const qreal above = at.y() - box.height() - 6, under = at.y() + 6;
        for (qreal y : below ? QList<qreal>{above} : QList<qreal>{above, under}) {
            qreal x = at.x() - box.width() / 2;
            x = std::clamp(x, area.left(), std::max(area.left(), area.right() - box.width()));
            y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() - box.height()));
            const QRectF r(x, y, box.width(), box.height());
            bool free = true;
            for (const QRectF& t : taken)
                if (t.intersects(r)) free = false;
            if (!free) continue;
            label->setPos(x, y);
            label->setVisible(true);
            taken.append(r);
            return;
        }
        label->setVisible(false);
    };
    for (QGraphicsSimpleTextItem* label : labels_)
        if (label->brush().color() == kRed || label->data(1).toBool()) place(label);
    for (QGraphicsSimpleTextItem* label : labels_)
        if (label->brush().color() != kRed && !label->data(1).toBool()) place(label);
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

bool TfrmGraph::imageFormatKnown(const std::string& path) {
    const QString suffix = QFileInfo(pathToQt(path)).suffix().toLower();
    return suffix == "png" || suffix == "jpg" || suffix == "jpeg" || suffix == "pdf";
}

QStringList TfrmGraph::titleLines() const {
    QStringList lines;
    lines << toQt(plot_.title);
    if (!info_.path.empty()) lines << toQt(info_.path);
    QString facts = toQt(LangText("MeasStart_35")) + "  " + start_;
    if (!info_.limit.empty()) facts += "     " + toQt(info_.limit);
    if (!info_.verdict.empty()) facts += "     " + toQt(info_.verdict);
    lines << facts;
    return lines;
}

void TfrmGraph::renderWithTitle(QPainter& painter, const QRectF& target) {
    const QStringList lines = titleLines();
    QFont font = painter.font();
    font.setPixelSize(std::max(10, int(target.height() / 40)));
    const QFontMetricsF fm(font, painter.device());
    const qreal lineH = fm.height() * 1.15;
    qreal y = target.top() + lineH * 0.5;
    for (int i = 0; i < lines.size(); ++i) {
        QFont f = font;
        f.setBold(i == 0);
        painter.setFont(f);
        painter.setPen(Qt::black);
        const QString text = QFontMetricsF(f, painter.device())
                                 .elidedText(lines[i], Qt::ElideMiddle, target.width() - lineH);
        painter.drawText(QPointF(target.left() + lineH * 0.5, y + fm.ascent()), text);
        y += lineH;
    }
    y += lineH * 0.3;
    painter.setPen(QPen(Qt::black, std::max<qreal>(1, lineH / 20)));
    painter.drawLine(QPointF(target.left(), y), QPointF(target.right(), y));
    view_->render(&painter, QRectF(target.left(), y + lineH * 0.3, target.width(),
                                   target.bottom() - y - lineH * 0.3));
}

std::string TfrmGraph::saveImage(const std::string& path) {
    if (!imageFormatKnown(path)) return LangText("msgGraphFormat_70");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString suffix = QFileInfo(pathToQt(path)).suffix().toLower();
    if (suffix == "pdf") {
        QPdfWriter pdf(&buffer);
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(toQt(plot_.title));
        QPainter painter(&pdf);
        renderWithTitle(painter, QRectF(painter.viewport()));
        painter.end();
    } else {
        // The chart at its size on the screen, the title block above it.
        const QSize chart = view_->size();
        const int titleHeight = std::max(60, chart.height() / 5);
        QImage image(chart.width(), chart.height() + titleHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderWithTitle(painter, QRectF(image.rect()));
        }
        const char* format = suffix == "png" ? "PNG" : "JPEG";
        if (!image.save(&buffer, format)) return "the picture could not be made";
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
    if (painter.isActive()) renderWithTitle(painter, QRectF(painter.viewport()));
}

void TfrmGraph::saveAs() {
    QString selected;
    const QString path =
        QFileDialog::getSaveFileName(this, toQt(LangText("gmGraphSave_20")), QString(),
                                     "PNG (*.png);;JPEG (*.jpg *.jpeg);;PDF (*.pdf)", &selected);
    if (path.isEmpty()) return;
    QString target = path;
    if (!imageFormatKnown(pathFromQt(target)))
        target += selected.startsWith("PDF")    ? ".pdf"
                  : selected.startsWith("JPEG") ? ".jpg"
                                                : ".png";
    const std::string failure = saveImage(pathFromQt(target));
    if (!failure.empty())
        QMessageBox::critical(this, windowTitle(),
                              toQt(LangText("msgWriteError_35")) + "\n" + target + ": " +
                                  QString::fromStdString(failure));
}

}  // namespace pelvoro
