#pragma once
// The report header dialog ("Print Header"): operators, test sites, footer and comment
// lines of the active document, its instrument data read-only, and the report date. Made
// once per main window and shown modally by File > Header Setup; its rules are the
// ReportHeaderEditor's.

#include <QDate>
#include <QDialog>
#include <array>
#include <memory>

#include "common/widgets/dialog_buttons.h"
#include "reports/report_header.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace pelvoro {

class Prompts;
class SettingsStore;
class StructureDocument;

class TfrmHeader : public QDialog {
    Q_OBJECT
  public:
    TfrmHeader(SettingsStore& settings, Prompts& prompts, QWidget* parent = nullptr);
    ~TfrmHeader() override;

    // Fills the dialog for `document` (null: no document window open).
    void prepare(StructureDocument* document);
    // Applies the way the dialog was closed: OK checks and stores, Cancel restores.
    void finish(bool accepted);
    // Header Setup: prepare, show modally, finish. Returns whether OK was pressed.
    bool run(StructureDocument* document);

    QDate reportDate() const;
    void setReportDate(const QDate& date);
    ReportHeaderEditor& editor() { return *editor_; }

    // Elements by name, for the main window and tests.
    QLineEdit* field(int headerField) const { return fields_[size_t(headerField)]; }
    QPlainTextEdit* comments() const { return memComments_; }
    QLineEdit* instrumentField(int i) const { return instrument_[size_t(i)]; }
    QPushButton* loadDefaultButton() const { return btnLoadDefault_; }
    QPushButton* saveDefaultButton() const { return btnSaveDefault_; }
    QCheckBox* overviewBox() const { return cbOverview_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void translateCaptions();
    void showEditor();
    void onFieldEdited(int field);
    void onCommentsChanged();

    std::unique_ptr<ReportTextRules> rules_;
    std::unique_ptr<ReportHeaderEditor> editor_;
    std::array<QLineEdit*, kHeaderFields> fields_{};
    std::array<QLineEdit*, 4> instrument_{};
    std::array<QLabel*, 6> labels_{};
    QGroupBox* gbHeader_ = nullptr;
    QGroupBox* gbInstrumentsData_ = nullptr;
    QGroupBox* gbTestDate_ = nullptr;
    QGroupBox* gbFooter_ = nullptr;
    QGroupBox* gbComments_ = nullptr;
    QGroupBox* logoFrame_ = nullptr;
    QDateEdit* dtpDate_ = nullptr;
    QCheckBox* cbOverview_ = nullptr;
    QPlainTextEdit* memComments_ = nullptr;
    QPushButton* btnLoadDefault_ = nullptr;
    QPushButton* btnSaveDefault_ = nullptr;
    QPushButton* btnInsLogo_ = nullptr;
    QPushButton* btnClrLogo_ = nullptr;
    OkCancelButtons okCancel_;
    bool filling_ = false;
};

}  // namespace pelvoro
