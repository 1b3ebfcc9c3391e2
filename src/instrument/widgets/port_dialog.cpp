#include "instrument/widgets/port_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"

namespace pelvoro {

TfrmCOM_Port::TfrmCOM_Port(InstrumentContext& ctx, SettingsStore& settings,
                           std::function<void()> refreshCommands, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      settings_(settings),
      refreshCommands_(std::move(refreshCommands)) {
    setObjectName("frmCOM_Port");
    setModal(true);

    gbPorts_ = new QGroupBox(this);
    gbPorts_->setObjectName("rgComPort");
    portGroup_ = new QButtonGroup(this);
    auto* portGrid = new QGridLayout(gbPorts_);
    for (int i = 0; i < kPortCount; ++i) {
        auto* b = new QRadioButton(gbPorts_);
        b->setObjectName(QString("rbCOM%1").arg(i + 1));
        portGroup_->addButton(b, i);
        portGrid->addWidget(b, i % 8, i / 8);
        ports_.push_back(b);
    }

    gbBauds_ = new QGroupBox(this);
    gbBauds_->setObjectName("rgBaudRate");
    baudGroup_ = new QButtonGroup(this);
    auto* baudBox = new QVBoxLayout(gbBauds_);
    // The five rates replace whatever list the dialog was designed with.
    for (int i = 0; i < int(kBaudRates.size()); ++i) {
        auto* b = new QRadioButton(QString::fromStdString(baudText(i)), gbBauds_);
        b->setObjectName(QString("rbBaud%1").arg(kBaudRates[size_t(i)]));
        baudGroup_->addButton(b, i);
        baudBox->addWidget(b);
        bauds_.push_back(b);
    }
    baudBox->addStretch();

    labModelCaption_ = new QLabel(this);
    labModelCaption_->setObjectName("labInstrModel");
    labModel_ = new QLabel(this);
    labModel_->setObjectName("labModel");
    labSearching_ = new QLabel(this);
    labSearching_->setObjectName("labAutoFinding");
    labSearching_->setVisible(false);

    okCancel_.create(this);
    btnCancelAF_ = namedButton(this, "btnCancelAF");
    btnCancelAF_->setVisible(false);
    btnAutoFind_ = namedButton(this, "btnAutoFind");

    auto* groups = new QHBoxLayout;
    groups->addWidget(gbPorts_, 3);
    groups->addWidget(gbBauds_, 1);
    auto* model = new QHBoxLayout;
    model->addWidget(labModelCaption_);
    model->addWidget(labModel_, 1);
    auto* main = new QVBoxLayout(this);
    main->addLayout(groups);
    main->addLayout(model);
    main->addWidget(labSearching_);
    main->addLayout(buttonRow({btnAutoFind_}, {okCancel_.ok, okCancel_.cancel, btnCancelAF_}));

    connect(okCancel_.ok, &QPushButton::clicked, this, [this] { acceptSettings(); });
    connect(okCancel_.cancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(btnCancelAF_, &QPushButton::clicked, this, [this] { cancelAutoFind(); });
    connect(btnAutoFind_, &QPushButton::clicked, this, [this] { runAutoFind(); });

    // While the search walks the ports, the radio buttons follow it.
    followSearch_ = new QTimer(this);
    followSearch_->setInterval(100);
    connect(followSearch_, &QTimer::timeout, this, [this] {
        if (searchSelection_) select(*searchSelection_);
    });

    // The stored choice is live from the start.
    select(loadPortSelection(settings_));
    applyPortSettings(ctx_.link, selection());
    translate();
    refreshPortTexts();
}

void TfrmCOM_Port::translate() {
    setWindowTitle(toQt(LangText("frmCOMPort_35")));
    gbPorts_->setTitle(toQt(" " + LangText("rgComPort_10") + " "));
    gbBauds_->setTitle(toQt(" " + LangText("rgBaudRate_15") + " "));
    okCancel_.translate();
    btnCancelAF_->setText(toQt(LangText("btnCancel_8")));
    btnAutoFind_->setText(toQt(LangText("btnAutoFind_12")));
    labSearching_->setText(toQt(LangText("AutoFinding_50")));
    labModelCaption_->setText(toQt(LangText("InstrModel_25")));
}

void TfrmCOM_Port::refreshPortTexts() {
    for (int i = 0; i < kPortCount; ++i) {
        std::string device = ctx_.link.port().deviceName(i + 1);
        QString text = QString::fromStdString(portText(i));
        if (!device.empty()) text += "   " + pathToQt(device);
        ports_[size_t(i)]->setText(text);
        ports_[size_t(i)]->setToolTip(device.empty() ? QString() : pathToQt(device));
    }
}

PortSelection TfrmCOM_Port::selection() const {
    PortSelection s;
    s.portIndex = portGroup_->checkedId() >= 0 ? portGroup_->checkedId() : 0;
    s.baudIndex = baudGroup_->checkedId() >= 0 ? baudGroup_->checkedId() : 0;
    return s;
}

void TfrmCOM_Port::select(const PortSelection& s) {
    // An index outside the lists leaves that choice as it is.
    if (s.portIndex >= 0 && s.portIndex < kPortCount) ports_[size_t(s.portIndex)]->setChecked(true);
    if (s.baudIndex >= 0 && s.baudIndex < int(bauds_.size()))
        bauds_[size_t(s.baudIndex)]->setChecked(true);
}

void TfrmCOM_Port::showModel() {
    std::string key = ctx_.models.checkedModelKey();
    const InstrumentModel* m = modelByKey(key);
    if (!m || key == kAutoFindKey)
        labModel_->setText(toQt(LangText("mmInstrModelAutoFind_15")));
    else
        labModel_->setText(toQt(m->portDialogText));
}

void TfrmCOM_Port::showEvent(QShowEvent* event) {
    labSearching_->setVisible(false);
    select(loadPortSelection(settings_, selection()));
    refreshPortTexts();
    showModel();
    QDialog::showEvent(event);
}

void TfrmCOM_Port::reject() {
    if (searching_) return;  // "Cancel AF" ends a search; the dialog stays
    QDialog::reject();
}

void TfrmCOM_Port::acceptSettings() {
    if (searching_) return;
    PortSelection s = selection();
    applyPortSettings(ctx_.link, s);
    storePortSelection(settings_, s);
    applyPortSettings(ctx_.link, s);
    if (refreshCommands_) refreshCommands_();
    accept();
}

void TfrmCOM_Port::showSearching(bool on) {
    labSearching_->setVisible(on);
    gbPorts_->setEnabled(!on);
    gbBauds_->setEnabled(!on);
    okCancel_.cancel->setVisible(!on);
    okCancel_.ok->setEnabled(!on);
    btnAutoFind_->setEnabled(!on);
    btnCancelAF_->setVisible(on);
    if (on) btnCancelAF_->setFocus();
}

AutoFindResult TfrmCOM_Port::runAutoFind() {
    if (searching_) return {};
    searching_ = true;
    cancelAutoFind_ = false;
    showSearching(true);
    PortSelection s = selection();
    searchSelection_ = &s;
    followSearch_->start();
    AutoFindResult r = autoFind(ctx_, s, [this] { return cancelAutoFind_; });
    followSearch_->stop();
    searchSelection_ = nullptr;
    select(s);
    if (!r.modelLabel.empty())
        labModel_->setText(toQt(r.modelLabel));
    else if (r.found)
        showModel();
    log_ = r.log;
    showSearching(false);
    searching_ = false;
    return r;
}

}  // namespace pelvoro
