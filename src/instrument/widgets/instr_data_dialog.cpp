#include "instrument/widgets/instr_data_dialog.h"

#include <QDate>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/widgets/dialog_buttons.h"
#include "protocols/identification.h"
#include "protocols/instrument_requests.h"

namespace pelvoro {

namespace {

constexpr int kBoxMaxLength = 37;

QPlainTextEdit* makeBox(QWidget* parent, const char* name, int lines) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);
    QFontMetrics fm(box->font());
    box->setMinimumWidth(fm.horizontalAdvance(QString(kBoxMaxLength, '0')) + 24);
    box->setFixedHeight(fm.lineSpacing() * lines + 2 * box->frameWidth() +
                        2 * int(box->document()->documentMargin()) + 6);
    return box;
}

}  // namespace

TfrmInstrData::TfrmInstrData(InstrumentContext& ctx, ServiceSwitches switches, bool compact,
                             QWidget* parent)
    : QDialog(parent), ctx_(ctx), switches_(switches) {
    setObjectName("frmInstrData");
    setModal(true);

    labInstrument_ = new QLabel(this);
    mmInstrument_ = makeBox(this, "mmInstrument", 6);
    mmInstrument_->setReadOnly(!switches_.factory);
    mmInstrument_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmInstrument_->setPlainText(toQt(instrumentBoxTemplate()));

    labSerialNum_ = new QLabel(this);
    edSerialNum_ = new QLineEdit(this);
    edSerialNum_->setObjectName("edSerialNum");
    edSerialNum_->setMaxLength(kSerialNumberMaxLength);
    edSerialNum_->setReadOnly(!switches_.factory);
    edSerialNum_->installEventFilter(this);
    labSerialNum_->setBuddy(edSerialNum_);
    btnIncrement_ = namedButton(this, "btnIncrement");
    btnIncrement_->setVisible(switches_.factory);

    labDatTime_ = new QLabel(this);
    edCalDate_ = new QLineEdit(this);
    edCalDate_->setObjectName("edCalDate");
    edCalDate_->setReadOnly(true);
    labDatTime_->setBuddy(edCalDate_);
    labDatTime_->setVisible(switches_.calibration);
    edCalDate_->setVisible(switches_.calibration);
    if (switches_.calibration)
        edCalDate_->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));

    labFirmData_ = new QLabel(this);
    mmFirmData_ = makeBox(this, "mmFirmData", 3);
    mmFirmData_->setReadOnly(!switches_.factory);
    labFirmData_->setBuddy(mmFirmData_);
    labUserData_ = new QLabel(this);
    mmUserData_ = makeBox(this, "mmUserData", 3);
    labUserData_->setBuddy(mmUserData_);

    btnReceive_ = namedButton(this, "btnReceive");
    btnReceive_->setDefault(true);
    btnSend_ = namedButton(this, "btnSend");
    btnCancel_ = namedButton(this, "btnCancel");

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(labInstrument_, row, 0, Qt::AlignTop);
    grid->addWidget(mmInstrument_, row++, 1, 1, 2);
    grid->addWidget(labSerialNum_, row, 0);
    grid->addWidget(edSerialNum_, row, 1);
    grid->addWidget(btnIncrement_, row++, 2);
    grid->addWidget(labDatTime_, row, 0);
    grid->addWidget(edCalDate_, row++, 1);
    grid->addWidget(labFirmData_, row, 0, Qt::AlignTop);
    grid->addWidget(mmFirmData_, row++, 1, 1, 2);
    grid->addWidget(labUserData_, row, 0, Qt::AlignTop);
    grid->addWidget(mmUserData_, row++, 1, 1, 2);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttonRow({}, {btnReceive_, btnSend_, btnCancel_}));
    main->setSizeConstraint(QLayout::SetFixedSize);

    if (compact) {
        btnSend_->setVisible(false);
        labUserData_->setVisible(false);
        mmUserData_->setVisible(false);
    }

    connect(btnReceive_, &QPushButton::clicked, this, [this] { receive(); });
    connect(btnSend_, &QPushButton::clicked, this, [this] { send(); });
    connect(btnCancel_, &QPushButton::clicked, this, [this] { reject(); });
    connect(btnIncrement_, &QPushButton::clicked, this, [this] { increment(); });
    connect(edSerialNum_, &QLineEdit::textEdited, this,
            [this](const QString& t) { serialEdited(t); });
    connect(mmFirmData_, &QPlainTextEdit::textChanged, this, [this] { limitBox(mmFirmData_); });
    connect(mmUserData_, &QPlainTextEdit::textChanged, this, [this] { limitBox(mmUserData_); });

    translate();
}

void TfrmInstrData::translate() {
    setWindowTitle(toQt(LangText("frmInstrData_25")));
    labInstrument_->setText(toQt(LangText("labInstrument_25")));
    labSerialNum_->setText(toQt(LangText("labSerialNum_25")));
    labDatTime_->setText(toQt(LangText("labDatTime_25")));
    labFirmData_->setText(toQt(LangText("labFirmData_25")));
    labUserData_->setText(toQt(LangText("labUserData_25")));
    btnIncrement_->setText(toQt(LangText("btnIncrement_25")));
    btnSend_->setText(toQt(LangText("btnSend_8")));
    btnReceive_->setText(toQt(LangText("btnReceive_10")));
    btnCancel_->setText(toQt(LangText("btnCancel_8")));
}

QString TfrmInstrData::displayText(const std::string& bytes) {
    QString t = toQt(bytes);
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

std::string TfrmInstrData::boxText(const QPlainTextEdit* box) {
    QString t = box->toPlainText();
    t.replace('\n', "\r\n");
    return fromQt(t);
}

void TfrmInstrData::showBoxText(QPlainTextEdit* box, const QString& text) {
    box->setProperty("typingLimit", std::max(kBoxMaxLength, int(text.size())));
    box->setPlainText(text);
}

void TfrmInstrData::limitBox(QPlainTextEdit* box) {
    // Typing stops at the box's limit, or at the length of a longer text it was given.
    const int limit = std::max(kBoxMaxLength, box->property("typingLimit").toInt());
    QString t = box->toPlainText();
    if (t.size() <= limit) return;
    QSignalBlocker block(box);
    box->setPlainText(t.left(limit));
    box->moveCursor(QTextCursor::End);
}

void TfrmInstrData::prepareToShow() {
    edSerialNum_->setCursorPosition(0);
    edSerialNum_->deselect();
    serialRules_.reset(fromQt(edSerialNum_->text()));
    std::optional<bool> send = sendEnabledForModel(ctx_.models.checkedModelKey());
    if (send) btnSend_->setEnabled(*send);
}

void TfrmInstrData::showDialog() {
    prepareToShow();
    exec();
}

void TfrmInstrData::showData(const TInstrumentData& d) {
    fieldsReceived_ = false;
    // The length limits are for typing: what a tester sent shows whole.
    mmInstrument_->setPlainText(toQt(instrumentBoxText(d)));
    const QString serial = toQt(d.line(7));
    edSerialNum_->setMaxLength(std::max(kSerialNumberMaxLength, int(serial.size())));
    edSerialNum_->setText(serial);
    serialRules_.reset(d.line(7));
    showBoxText(mmFirmData_, displayText(d.line(8)));
    showBoxText(mmUserData_, displayText(d.line(9)));
    edCalDate_->setText(toQt(d.line(11)));
    edSerialNum_->setCursorPosition(0);
}

void TfrmInstrData::clearData() {
    fieldsReceived_ = false;
    mmInstrument_->setPlainText(toQt(instrumentBoxTemplate()));
    edSerialNum_->clear();
    edSerialNum_->setMaxLength(kSerialNumberMaxLength);
    serialRules_.reset({});
    showBoxText(mmFirmData_, {});
    showBoxText(mmUserData_, {});
}

void TfrmInstrData::setButtonsBusy(bool busy) {
    if (busy) sendWasEnabled_ = btnSend_->isEnabled();
    btnReceive_->setEnabled(!busy);
    btnCancel_->setEnabled(!busy);
    btnSend_->setEnabled(busy ? false : sendWasEnabled_);
}

void TfrmInstrData::receive() {
    if (!btnReceive_->isEnabled()) return;
    setButtonsBusy(true);
    ReceiveOutcome outcome = receiveInstrumentData(ctx_);
    setButtonsBusy(false);
    if (outcome.showData) showData(ctx_.data);
    if (outcome.received) fieldsReceived_ = true;
}

void TfrmInstrData::send() {
    if (!btnSend_->isEnabled()) return;
    InstrumentWrites w;
    w.switches = switches_;
    w.serialNumber = fromQt(edSerialNum_->text());
    w.firmData = boxText(mmFirmData_);
    w.userData = boxText(mmUserData_);
    w.now = currentClock();
    // Writing changes the tester: the user sees what goes, and whether the fields hold
    // what this tester just sent.
    if (ctx_.link.prompts().askYesNo(LangText("mbcConfirmation_20"),
                                     sendQuestion(w, fieldsReceived_)) != Answer::Yes)
        return;
    setButtonsBusy(true);
    sendInstrumentData(ctx_, w);
    setButtonsBusy(false);
}

void TfrmInstrData::increment() {
    std::string next = incrementSerialNumber(fromQt(edSerialNum_->text()));
    edSerialNum_->setText(toQt(next));
    serialRules_.reset(next);
}

void TfrmInstrData::modelIdentified() {
    btnSend_->setEnabled(false);
}

void TfrmInstrData::serialEdited(const QString& text) {
    int cursor = edSerialNum_->cursorPosition();
    std::string shown = serialRules_.changed(fromQt(text));
    if (toQt(shown) != text) {
        // A change that no digit or backspace asked for: the field snaps back, with the
        // caret where it was.
        int back = cursor - (text.size() - int(shown.size()));
        edSerialNum_->setText(toQt(shown));
        edSerialNum_->setCursorPosition(std::max(0, std::min(back, int(shown.size()))));
    }
}

bool TfrmInstrData::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edSerialNum_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            QString t = key->text();
            bool backspace = key->key() == Qt::Key_Backspace;
            char c = t.size() == 1 && t[0].unicode() < 128 ? char(t[0].unicode()) : '\0';
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) c = '\0';
            serialRules_.keyPressed(c, backspace);
        } else if (event->type() == QEvent::MouseButtonPress) {
            serialRules_.clicked(fromQt(edSerialNum_->text()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pelvoro
