#include "document/widgets/installation_names_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/settings_store.h"

namespace pelvoro {

TfrmInstallation::TfrmInstallation(SettingsStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName("frmInstallation");
    setWindowTitle(toQt(LangText("Installation_20")));
    auto* outer = new QVBoxLayout(this);
    grid_ = new QTableWidget(InstallationNames::kRows, 3, this);
    grid_->setObjectName("sgInstallation");
    grid_->verticalHeader()->hide();
    grid_->setHorizontalHeaderLabels(
        {QString(), toQt(LangText("Connection_20")), toQt(LangText("Location_20"))});
    grid_->setColumnWidth(0, 36);
    grid_->setColumnWidth(1, 178);
    grid_->setColumnWidth(2, 178);
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int r = 0; r < InstallationNames::kRows; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled);  // the number column cannot be selected
        grid_->setItem(r, 0, number);
        auto* connection = new QTableWidgetItem;
        if (r >= InstallationNames::kConnections) connection->setFlags(Qt::NoItemFlags);
        grid_->setItem(r, 1, connection);
        grid_->setItem(r, 2, new QTableWidgetItem);
    }
    outer->addWidget(grid_);
    btnLoadOrig_ = namedButton(this, "btnLoadOrig");
    btnLoadOrig_->setText(toQt(LangText("LoadOrig_20")));
    btnLoadOrig_->setAutoDefault(false);
    okCancel_.create(this);
    okCancel_.translate();
    outer->addLayout(okCancel_.row({btnLoadOrig_}));
    connect(btnLoadOrig_, &QPushButton::clicked, this, &TfrmInstallation::loadOriginals);
    connect(okCancel_.ok, &QPushButton::clicked, this, [this] {
        okPressed();
        accept();
    });
    connect(okCancel_.cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Cancel, Escape and the close box all discard the edits.
    connect(this, &QDialog::rejected, this, &TfrmInstallation::cancelPressed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    resize(36 + 2 * 178 + 2 * grid_->frameWidth() +
               style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 40,
           560);
    setNames(initialInstallationNames(store_));
    shown_ = names();
}

InstallationNames TfrmInstallation::names() const {
    InstallationNames n;
    for (int r = 0; r < InstallationNames::kRows; ++r) {
        if (r < InstallationNames::kConnections)
            n.connection[r] = fromQt(grid_->item(r, 1)->text());
        n.location[r] = fromQt(grid_->item(r, 2)->text());
    }
    return n;
}

void TfrmInstallation::setNames(const InstallationNames& n) {
    for (int r = 0; r < InstallationNames::kRows; ++r) {
        if (r < InstallationNames::kConnections) grid_->item(r, 1)->setText(toQt(n.connection[r]));
        grid_->item(r, 2)->setText(toQt(n.location[r]));
    }
}

void TfrmInstallation::loadOriginals() {
    InstallationNames n = names();
    loadOriginalInstallationNames(n);
    setNames(n);
}

void TfrmInstallation::okPressed() {
    storeInstallationNames(names(), store_);
    shown_ = names();
}

void TfrmInstallation::cancelPressed() {
    setNames(shown_);
}

void TfrmInstallation::showEvent(QShowEvent* event) {
    shown_ = names();
    QDialog::showEvent(event);
}

}  // namespace pelvoro
