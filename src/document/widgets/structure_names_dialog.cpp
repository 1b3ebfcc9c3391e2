#include "document/widgets/structure_names_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/adapters/qt_text.h"
#include "common/ini_file.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "common/text.h"

namespace pelvoro {

namespace {

struct Row {
    int type;
    const char* labelKey;  // null: the fixed label below
    const char* fixedLabel;
};

const Row kObjectRow{1, "labObject_15", nullptr};
const Row kInstallation[] = {
    {2, "labBlock_15", nullptr},         {5, "labFuse_15", nullptr},
    {14, "labConnection_15", nullptr},   {6, "labRCD_15", nullptr},
    {3, "labLightRod_15", nullptr},      {7, "labElectrode_15", nullptr},
    {8, "labConnectionEl_15", nullptr},  {4, "labMPE_15", nullptr},
    {9, "labConnectionMPE_15", nullptr}, {10, "labEarthing_15", nullptr},
};
const Row kGeneral[] = {
    {11, "labFloor_15", nullptr}, {12, "labRoom_15", nullptr}, {13, "labTable_15", nullptr}};
const Row kSecondInstallation[] = {
    {31, "labDistBoard_15", nullptr}, {32, nullptr, "SUB. D. BOARD:"},
    {33, "labCicuit_15", nullptr},    {34, "labEarthCond_15", nullptr},
    {35, nullptr, "MAIN EQ. BOND.:"}, {36, "labWaterServ_15", nullptr},
    {37, "labOilServ_15", nullptr},   {38, "labLightProt_15", nullptr},
    {39, "labGasServ_15", nullptr},   {40, "labStructSteel_15", nullptr},
    {41, "labOtherServ_15", nullptr}, {42, "labEarthElectr_15", nullptr},
};

}  // namespace

TfrmStructNames::TfrmStructNames(StructureNames& names, SettingsStore* store,
                                 std::string originalsPath, QWidget* parent)
    : QDialog(parent), names_(names), store_(store), originalsPath_(std::move(originalsPath)) {
    setObjectName("frmStructNames");
    build();
    translate();
}

void TfrmStructNames::build() {
    auto* outer = new QVBoxLayout(this);
    auto addRow = [this](QFormLayout* form, const Row& row) {
        auto* label = new QLabel(this);
        auto* box = new QComboBox(this);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->setMaxLength(int(StructureNames::kMaxNameLength));
        box->setProperty("tag", row.type);
        box->setObjectName(QString("cbName%1").arg(row.type));
        box->setMinimumWidth(160);
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        label->setProperty("key", row.labelKey ? row.labelKey : "");
        label->setText(QString::fromLatin1(row.fixedLabel ? row.fixedLabel : ""));
        label->setBuddy(box);
        form->addRow(label, box);
        boxes_[row.type] = box;
        labels_[row.type] = label;
        connect(box, &QComboBox::editTextChanged, this, [this] { updateAddName(); });
        // The Connection row is not offered.
        if (row.type == 14) form->setRowVisible(box, false);
    };
    auto* top = new QFormLayout;
    addRow(top, kObjectRow);
    outer->addLayout(top);

    pages_ = new QTabWidget(this);
    auto makePage = [&](const Row* rows, int n) {
        auto* page = new QWidget(pages_);
        auto* form = new QFormLayout(page);
        for (int i = 0; i < n; ++i) addRow(form, rows[i]);
        return page;
    };
    pages_->addTab(makePage(kInstallation, int(std::size(kInstallation))), QString());
    pages_->addTab(makePage(kGeneral, int(std::size(kGeneral))), QString());
    pages_->addTab(makePage(kSecondInstallation, int(std::size(kSecondInstallation))), QString());
    outer->addWidget(pages_);

    btnAddName_ = namedButton(this, "btnAddName");
    btnDefNames_ = namedButton(this, "btnDefNames");
    okCancel_.create(this);
    outer->addLayout(okCancel_.row({btnAddName_, btnDefNames_}));
    btnAddName_->setEnabled(false);
    btnAddName_->setAutoDefault(false);
    btnDefNames_->setAutoDefault(false);
    connect(btnAddName_, &QPushButton::clicked, this, &TfrmStructNames::addName);
    connect(btnDefNames_, &QPushButton::clicked, this, &TfrmStructNames::loadOriginalBoxes);
    connect(okCancel_.ok, &QPushButton::clicked, this, [this] {
        applyBoxes();
        accept();
    });
    connect(okCancel_.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmStructNames::translate() {
    setWindowTitle(toQt(LangText("frmStructNames_30")));
    pages_->setTabText(0, toQt(LangText("tsInstalation_15")));
    pages_->setTabText(1, toQt(LangText("tsGeneral_15")));
    pages_->setTabText(2, toQt(LangText("tsInstalation_15")));
    btnAddName_->setText(toQt(LangText("btnAddName_10")));
    btnDefNames_->setText(toQt(LangText("btnDefNames_15")));
    okCancel_.translate();
    for (auto& [type, label] : labels_) {
        std::string key = label->property("key").toString().toStdString();
        if (!key.empty()) label->setText(toQt(upperAscii(LangText(key)) + " :"));
    }
}

QComboBox* TfrmStructNames::box(int type) const {
    auto it = boxes_.find(type);
    return it == boxes_.end() ? nullptr : it->second;
}

void TfrmStructNames::fillBoxes(const StructureNames& names) {
    for (auto& [type, box] : boxes_) {
        box->blockSignals(true);
        box->clear();
        for (const auto& n : names.alternatives(type)) box->addItem(toQt(n));
        box->setEditText(toQt(names.defaultName(type)));
        box->blockSignals(false);
    }
}

void TfrmStructNames::loadBoxes() {
    fillBoxes(names_);
    lastEntered_ = nullptr;
    btnAddName_->setEnabled(false);
}

void TfrmStructNames::loadOriginalBoxes() {
    StructureNames originals;
    originals.loadOriginals(IniFile::load(originalsPath_));
    fillBoxes(originals);
    updateAddName();
}

void TfrmStructNames::applyBoxes() {
    for (auto& [type, box] : boxes_) {
        names_.setDefaultName(type, fromQt(box->currentText()));
        std::vector<std::string> list;
        for (int i = 0; i < box->count(); ++i) list.push_back(fromQt(box->itemText(i)));
        names_.setAlternatives(type, std::move(list));
    }
    if (store_) names_.storeTo(*store_);
}

void TfrmStructNames::addName() {
    if (!lastEntered_) return;
    QString text = lastEntered_->currentText();
    if (text.isEmpty() ||
        lastEntered_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    lastEntered_->blockSignals(true);
    lastEntered_->insertItem(0, text);
    lastEntered_->setEditText(text);
    lastEntered_->blockSignals(false);
    btnAddName_->setEnabled(false);
}

void TfrmStructNames::updateAddName() {
    auto* box = qobject_cast<QComboBox*>(sender());
    if (box) lastEntered_ = box;
    if (!lastEntered_) {
        btnAddName_->setEnabled(false);
        return;
    }
    QString text = lastEntered_->currentText();
    // A name can be added when it is not empty and not in the list yet.
    btnAddName_->setEnabled(
        !text.isEmpty() &&
        lastEntered_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0);
}

bool TfrmStructNames::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        QObject* o = watched;
        if (auto* edit = qobject_cast<QLineEdit*>(o)) o = edit->parentWidget();
        if (auto* box = qobject_cast<QComboBox*>(o)) {
            lastEntered_ = box;
            btnAddName_->setEnabled(false);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmStructNames::showEvent(QShowEvent* event) {
    // Every showing starts from the names in effect; Cancel leaves them as they were.
    loadBoxes();
    QDialog::showEvent(event);
}

}  // namespace pelvoro
