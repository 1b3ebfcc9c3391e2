#pragma once
// The Export Format dialog: delimiter (TAB, semicolon) and end of line (CR/LF, CR, LF).
// Made once per run; it keeps the last choices.

#include <QDialog>
#include <optional>

#include "reports/export_text.h"

class QButtonGroup;
class QGroupBox;

namespace pelvoro {

class TfrmExport : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmExport(QWidget* parent = nullptr);

    // Captions in the current language.
    void translate();
    ExportFormat format() const;
    void setFormat(const ExportFormat& format);
    // Shows the dialog; nullopt on Cancel.
    std::optional<ExportFormat> choose();

  private:
    QGroupBox* rgDelimiter_ = nullptr;
    QGroupBox* rgEOLSign_ = nullptr;
    QButtonGroup* delimiters_ = nullptr;
    QButtonGroup* eols_ = nullptr;
};

}  // namespace pelvoro
