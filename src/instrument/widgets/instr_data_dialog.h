#pragma once
// The Instrument data dialog (Instrument > Instrument data ...): shows the data of the
// connected tester (Receive) or of the active document, and writes the clock, the user
// text and, in the service modes, the serial number, the firm text and the calibration
// date of a text-protocol tester (Send).

#include <QDialog>

#include "instrument/instrument_context.h"
#include "instrument/instrument_data.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pelvoro {

class TfrmInstrData : public QDialog {
    Q_OBJECT
  public:
    // `compact`: this brand hides Send and the user data (its testers take no writes).
    TfrmInstrData(InstrumentContext& ctx, ServiceSwitches switches, bool compact = true,
                  QWidget* parent = nullptr);

    // Prepares the fields and the Send button as showing the dialog does, then runs it.
    void showDialog();
    void prepareToShow();

    // Fills the fields from a record (Receive, the active document).
    void showData(const TInstrumentData& data);
    void clearData();

    void receive();
    void send();
    void increment();
    // Identification recognised a model: Send is disabled until the dialog is shown again.
    void modelIdentified();

    const ServiceSwitches& switches() const { return switches_; }
    QPlainTextEdit* instrumentBox() const { return mmInstrument_; }
    QLineEdit* serialNumberField() const { return edSerialNum_; }
    QLineEdit* calibrationDateField() const { return edCalDate_; }
    QPlainTextEdit* firmDataBox() const { return mmFirmData_; }
    QPlainTextEdit* userDataBox() const { return mmUserData_; }
    QPushButton* receiveButton() const { return btnReceive_; }
    QPushButton* sendButton() const { return btnSend_; }
    QPushButton* cancelButton() const { return btnCancel_; }
    QPushButton* incrementButton() const { return btnIncrement_; }

    // Box texts as the core keeps them: lines separated by CR LF.
    static std::string boxText(const QPlainTextEdit* box);
    static QString displayText(const std::string& bytes);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void translate();
    void setButtonsBusy(bool busy);
    void serialEdited(const QString& text);
    void limitBox(QPlainTextEdit* box);
    static void showBoxText(QPlainTextEdit* box, const QString& text);

    InstrumentContext& ctx_;
    ServiceSwitches switches_;
    SerialNumberFieldRules serialRules_;
    bool sendWasEnabled_ = true;
    // The fields show what Receive just read from the tester (not a document's data).
    bool fieldsReceived_ = false;

    QLabel* labInstrument_ = nullptr;
    QLabel* labSerialNum_ = nullptr;
    QLabel* labDatTime_ = nullptr;
    QLabel* labFirmData_ = nullptr;
    QLabel* labUserData_ = nullptr;
    QPlainTextEdit* mmInstrument_ = nullptr;
    QLineEdit* edSerialNum_ = nullptr;
    QLineEdit* edCalDate_ = nullptr;
    QPlainTextEdit* mmFirmData_ = nullptr;
    QPlainTextEdit* mmUserData_ = nullptr;
    QPushButton* btnIncrement_ = nullptr;
    QPushButton* btnReceive_ = nullptr;
    QPushButton* btnSend_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

}  // namespace pelvoro
