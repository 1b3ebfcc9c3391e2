#include "instrument/widgets/progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"

namespace pelvoro {

TfrmProgress::TfrmProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
    setObjectName("frmTransfering");
    owner_ = parent;
    setModal(false);
    step_ = new QLabel(this);
    step_->setObjectName("labStep");
    step_->setMinimumWidth(280);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName("pbGauge");
    gauge_->setRange(0, 100);
    secondGauge_ = new QProgressBar(this);
    secondGauge_->setObjectName("pbSecondGauge");
    secondGauge_->setRange(0, 100);
    secondGauge_->hide();
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("btnCancel");
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &TfrmProgress::pressCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(step_);
    layout->addWidget(gauge_);
    layout->addWidget(secondGauge_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmProgress::show(const std::string& caption) {
    cancelPressed_ = false;
    // A modal dialog (Instrument data, say) blocks every window but its own: the window
    // goes above it so that Cancel and Esc reach it, and back to its owner afterwards.
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* owner = modal && modal != this && !isAncestorOf(modal) ? modal : owner_.data();
    if (parentWidget() != owner) setParent(owner, windowFlags());
    setWindowTitle(toQt(caption));
    cancel_->setText(toQt(LangText("btnCancel_8")));
    gauge_->show();
    secondGauge_->hide();
    setCancelVisible(true);
    adjustSize();
    centre();
    QDialog::show();
    raise();
}

void TfrmProgress::hide() {
    QDialog::hide();
    returnToOwner();
}

void TfrmProgress::returnToOwner() {
    if (parentWidget() != owner_.data()) setParent(owner_.data(), windowFlags());
}

void TfrmProgress::centre() {
    QRect area;
    if (QWidget* p = parentWidget(); p && p->isVisible())
        area = p->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - rect().center());
}

void TfrmProgress::setStep(const std::string& text) {
    step_->setText(toQt(text));
}

void TfrmProgress::setGauge(int position, int maximum) {
    gauge_->setRange(0, maximum > 0 ? maximum : 100);
    gauge_->setValue(std::clamp(position, 0, gauge_->maximum()));
}

void TfrmProgress::setSecondGauge(int position, int maximum) {
    secondGauge_->setRange(0, maximum > 0 ? maximum : 100);
    secondGauge_->setValue(std::clamp(position, 0, secondGauge_->maximum()));
}

void TfrmProgress::setGaugeVisible(bool visible) {
    gauge_->setVisible(visible);
}
void TfrmProgress::setSecondGaugeVisible(bool visible) {
    secondGauge_->setVisible(visible);
}

void TfrmProgress::setCancelVisible(bool visible) {
    cancelAllowed_ = visible;
    cancel_->setVisible(visible);
    if (visible) cancel_->setFocus();
}

void TfrmProgress::pressCancel() {
    if (!cancelAllowed_) return;
    cancelPressed_ = true;
    QCoreApplication::processEvents();
    QDialog::hide();
    returnToOwner();
}

void TfrmProgress::reject() {
    pressCancel();
}

void TfrmProgress::closeEvent(QCloseEvent* event) {
    // The window has no close button; a close from the window manager counts as Cancel
    // where Cancel is offered, and is refused otherwise.
    event->ignore();
    pressCancel();
}

}  // namespace pelvoro
