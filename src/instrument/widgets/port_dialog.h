#pragma once
// The port dialog (Configuration > COM Port): sixteen ports with the device behind each,
// five baud rates, the selected model, and Auto Find, which searches every port and rate
// for a tester.

#include <QDialog>
#include <functional>
#include <vector>

#include "common/widgets/dialog_buttons.h"
#include "protocols/identification.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace pelvoro {

class TfrmCOM_Port : public QDialog {
    Q_OBJECT
  public:
    // `refreshCommands` runs after OK (the main window's RefreshCommandState).
    TfrmCOM_Port(InstrumentContext& ctx, SettingsStore& settings,
                 std::function<void()> refreshCommands, QWidget* parent = nullptr);

    PortSelection selection() const;
    void select(const PortSelection& selection);
    // The texts of the port list: "COM1", or "COM1   /dev/ttyUSB0" with a device.
    void refreshPortTexts();
    bool searching() const { return searching_; }

    // The dialog's Auto Find button.
    AutoFindResult runAutoFind();
    // The "Cancel AF" button.
    void cancelAutoFind() { cancelAutoFind_ = true; }
    // OK: apply, store, apply again, refresh the commands.
    void acceptSettings();

    QRadioButton* portButton(int index) const { return ports_.at(size_t(index)); }
    QRadioButton* baudButton(int index) const { return bauds_.at(size_t(index)); }
    QLabel* modelLabel() const { return labModel_; }
    QLabel* searchingLabel() const { return labSearching_; }
    QPushButton* autoFindButton() const { return btnAutoFind_; }
    QPushButton* cancelAutoFindButton() const { return btnCancelAF_; }
    QPushButton* okButton() const { return okCancel_.ok; }
    const std::vector<std::string>& lastSearchLog() const { return log_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void translate();
    void showSearching(bool on);
    void showModel();

    InstrumentContext& ctx_;
    SettingsStore& settings_;
    std::function<void()> refreshCommands_;
    QGroupBox* gbPorts_ = nullptr;
    QGroupBox* gbBauds_ = nullptr;
    QButtonGroup* portGroup_ = nullptr;
    QButtonGroup* baudGroup_ = nullptr;
    std::vector<QRadioButton*> ports_;
    std::vector<QRadioButton*> bauds_;
    QLabel* labModelCaption_ = nullptr;
    QLabel* labModel_ = nullptr;
    QLabel* labSearching_ = nullptr;
    OkCancelButtons okCancel_;
    QPushButton* btnCancelAF_ = nullptr;
    QPushButton* btnAutoFind_ = nullptr;
    QTimer* followSearch_ = nullptr;
    PortSelection* searchSelection_ = nullptr;
    bool searching_ = false;
    bool cancelAutoFind_ = false;
    std::vector<std::string> log_;
};

}  // namespace pelvoro
