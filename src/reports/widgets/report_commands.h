#pragma once
// The report commands of the main window: File > Header Setup, File > Light report Print
// Preview (and the Report toolbar's button) and the structure print preview. Both prints
// open Qt's print preview, from which the user prints on a printer or into a PDF file.

#include <QPrintPreviewDialog>
#include <functional>
#include <memory>

class QPrinter;

namespace pelvoro {

class TfrmHeader;
class TfrmMainForm;

// The modal dialogs of printing, replaceable so that tests never wait for a user.
class ReportDialogs {
  public:
    virtual ~ReportDialogs() = default;
    // Shows the preview modally.
    virtual void showPreview(QPrintPreviewDialog& preview);
    // The print dialog of the preview's Print button: true when the user chose to print.
    // Printing into a PDF file suggests the preview's suggestedPdf() (parent is the preview).
    virtual bool choosePrinter(QPrinter& printer, QWidget* parent);
};

// A print preview of portrait pages whose Print button asks `dialogs` for the printer.
// The reports lay out for the printer's paper (page setup chooses it); orientation is
// not offered: the reports are portrait.
// It opens over most of the screen with the pages at the window's width.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
  public:
    ReportPreview(ReportDialogs& dialogs, QWidget* parent = nullptr);
    ~ReportPreview() override;
    QPrinter& reportPrinter() { return *printer_; }
    // What the preview's Print button does.
    void printFromPreview();
    QAction* printAction() const { return printAction_; }
    // The file that printing into a PDF file suggests: the document's folder and name.
    void setSuggestedPdf(const QString& path) { suggestedPdf_ = path; }
    const QString& suggestedPdf() const { return suggestedPdf_; }

  private:
    QString suggestedPdf_;
    std::unique_ptr<QPrinter> printer_;
    ReportDialogs& dialogs_;
    QAction* printAction_ = nullptr;
};

// Attaches HeadSetUp, LightReportPreview and PrintStrucrure; the header dialog is made now
// (its report date is the day the program started).
void installReportCommands(TfrmMainForm& mainWindow);

// The header dialog of a main window (null before installReportCommands).
TfrmHeader* headerDialog(TfrmMainForm& mainWindow);
// Replaces the dialogs of printing (tests); null puts the real ones back.
void setReportDialogs(TfrmMainForm& mainWindow, std::unique_ptr<ReportDialogs> dialogs);

}  // namespace pelvoro
