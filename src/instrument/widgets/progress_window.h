#pragma once
// The transfer progress window: a small window on top of the others, without system
// buttons, holding a step text, the main gauge, a second gauge (counted text blocks only)
// and Cancel. Cancel (the button or Esc) is remembered until the window is shown again,
// lets pending events run and hides the window.

#include <QDialog>
#include <QPointer>

#include "common/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pelvoro {

class TfrmProgress : public QDialog, public ProgressWindow {
    Q_OBJECT
  public:
    explicit TfrmProgress(QWidget* parent = nullptr);

    using QDialog::show;
    // ProgressWindow
    void show(const std::string& caption) override;
    void hide() override;
    void setStep(const std::string& text) override;
    void setGauge(int position, int maximum) override;
    void setSecondGauge(int position, int maximum) override;
    bool cancelPressed() override { return cancelPressed_; }
    void setGaugeVisible(bool visible) override;
    void setSecondGaugeVisible(bool visible) override;
    void setCancelVisible(bool visible) override;

    QLabel* stepLabel() const { return step_; }
    QProgressBar* gauge() const { return gauge_; }
    QProgressBar* secondGauge() const { return secondGauge_; }
    QPushButton* cancelButton() const { return cancel_; }

  public slots:
    void pressCancel();

  protected:
    void reject() override;  // Esc
    void closeEvent(QCloseEvent* event) override;

  private:
    void centre();
    // Back under the window that created it (it may have stood above a modal dialog).
    void returnToOwner();

    QLabel* step_;
    QProgressBar* gauge_;
    QProgressBar* secondGauge_;
    QPushButton* cancel_;
    bool cancelPressed_ = false;
    bool cancelAllowed_ = true;
    QPointer<QWidget> owner_;
};

}  // namespace pelvoro
