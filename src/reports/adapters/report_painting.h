#pragma once
// Printing the light report and the structure print on a paged device: a printer (from the
// print preview) or a PDF file (pelvoro-cli). Both lay the pages out in the device's own
// dots and draw them with the same code, so a PDF saved from the preview and one written
// by the command-line program hold the same pages.

#include <QDate>
#include <QFont>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <functional>
#include <string>

#include "common/text_measure.h"
#include "reports/light_report.h"
#include "reports/report_header.h"
#include "reports/structure_print.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace pelvoro {

class StructureDocument;

// The locale of the current language's dates ("ReportLocale_10", such as "en_GB").
QLocale reportLocale();
// The date format of the current language ("ReportDateFormat_20", a Qt date pattern such
// as "d MMM yyyy" or "dd.MM.yyyy"); the system's short format when the language has none.
QString reportDateFormat();
// The report date as printed, in the current language's format.
QString reportDateText(const QDate& date);

// The resolution reports are laid out and written at (dots per inch).
inline constexpr int kReportResolution = 1200;

// The font of a report text (fonts this system lacks replaced by one of the same kind).
QFont reportFont(const FontSpec& spec);

// Text measurement on a paint device, in its dots.
class DeviceTextMeasure : public TextMeasure {
  public:
    explicit DeviceTextMeasure(const QPaintDevice* device) : device_(device) {}
    int width(const std::string& text, const FontSpec& font) override;
    int lineHeight(const FontSpec& font) override;

  private:
    const QPaintDevice* device_;
};

// A measure at the report resolution for callers without a printer at hand (the header
// dialog's width rules); kept for the whole run.
TextMeasure& reportMeasure();

// The rules of the report head's texts (comment lines, footer, summary) as the light
// report prints them: its fonts and band width, measured with `reportMeasure`.
ReportTextRules lightReportTextRules();
// Dots per millimetre of `device`.
double dotsPerMm(const QPaintDevice& device);

// Portrait with 10 mm margins on the device's paper (A4 when `paper` is given as A4, the
// device's own size otherwise).
void setReportPageLayout(QPagedPaintDevice& device, bool a4 = false);
// The paper of a device, portrait, in millimetres.
ReportPaper reportPaperOf(const QPagedPaintDevice& device);

// Lays the light report out for `device` and draws it page by page; `pageStarted` (may be
// empty) hears of every page before it is drawn. Returns the plan drawn.
LightReportPlan printLightReport(QPagedPaintDevice& device, const LightReportTexts& texts,
                                 const ResultRows* rows, int viewMode,
                                 const std::function<void(int page)>& pageStarted = {});

StructurePrintPlan printStructure(QPagedPaintDevice& device, const StructureDocument& document,
                                  const StructurePrintTitle& title = {});

// Writes a PDF file through a temporary file beside it: on failure nothing is left at
// `path` and `error` says why. `paint` draws on the writer.
bool writeReportPdf(const QString& path, const std::function<void(QPagedPaintDevice&)>& paint,
                    QString* error, QPageSize::PageSizeId paper = QPageSize::A4);

}  // namespace pelvoro
