// report DOC OUT.pdf and structure DOC OUT.pdf: the light report of a document's root and
// the structure print, written as PDF files without a display.

#include <QDate>
#include <QFile>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "cli/cli.h"
#include "cli/command_documents.h"
#include "cli/command_options.h"
#include "common/adapters/qt_text.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/structure_document.h"
#include "files/document_file.h"
#include "reports/adapters/report_painting.h"
#include "reports/report_header.h"
#include "results/result_rows.h"

namespace pelvoro::cli {
namespace {

// "a4" or "letter"; false for anything else.
bool paperOption(const std::string& text, QPageSize::PageSizeId& paper) {
    if (text == "a4")
        paper = QPageSize::A4;
    else if (text == "letter")
        paper = QPageSize::Letter;
    else
        return false;
    return true;
}

bool writePdf(Context& ctx, const std::string& command, const std::string& out,
              const std::function<void(QPagedPaintDevice&)>& paint, QPageSize::PageSizeId paper) {
    QString error;
    if (writeReportPdf(pathToQt(out), paint, &error, paper)) return true;
    ctx.err << command << ": " << out << ": cannot be written: " << error.toStdString() << "\n";
    return false;
}

int runReport(Context& ctx) {
    const int viewMode = takeLevel(ctx);
    const std::string dateArg = ctx.takeOption("--date");
    const std::string paperArg = ctx.takeOption("--paper", "a4");
    const bool overview = !ctx.takeFlag("--no-overview");
    QPageSize::PageSizeId paper = QPageSize::A4;
    const bool paperOk = paperOption(paperArg, paper);
    QDate date = QDate::currentDate();
    if (!dateArg.empty()) date = QDate::fromString(QString::fromStdString(dateArg), Qt::ISODate);
    if (ctx.args.size() != 2 || viewMode < 0 || !date.isValid() || !paperOk) return ctx.usage();
    StructureDocument doc;
    if (!readDocumentForCommand(ctx, "report", ctx.args[0], doc)) return 1;
    const ResultRows rows = AssignResultRows(doc, &doc.root(), viewMode, true);
    LightReportTexts texts = lightReportTexts(doc, fromQt(reportDateText(date)));
    texts.overview = overview;
    LightReportPlan plan;
    if (!writePdf(
            ctx, "report", ctx.args[1],
            [&](QPagedPaintDevice& device) {
                plan = printLightReport(device, texts, &rows, viewMode);
            },
            paper))
        return 1;
    // The report is written all the same, long texts wrapped; the message names them.
    const std::string message =
        headerCheckMessage(plan.footerTooLong, plan.firstLongComment, texts.comments);
    if (!message.empty())
        ctx.err << "report: " << toUtf8(message, appEnvironment().codePage) << "\n";
    ctx.out << plan.pages.size() << " pages\n";
    return 0;
}

int runStructure(Context& ctx) {
    const std::string dateArg = ctx.takeOption("--date");
    const std::string paperArg = ctx.takeOption("--paper", "a4");
    QPageSize::PageSizeId paper = QPageSize::A4;
    const bool paperOk = paperOption(paperArg, paper);
    QDate date = QDate::currentDate();
    if (!dateArg.empty()) date = QDate::fromString(QString::fromStdString(dateArg), Qt::ISODate);
    if (ctx.args.size() != 2 || !paperOk || !date.isValid()) return ctx.usage();
    StructureDocument doc;
    if (!readDocumentForCommand(ctx, "structure", ctx.args[0], doc)) return 1;
    StructurePrintTitle title;
    title.document = std::filesystem::path(ctx.args[0]).filename().string();
    title.date = fromQt(reportDateText(date));
    title.pageOf = LangText("qrlPageOf_20");
    StructurePrintPlan plan;
    if (!writePdf(
            ctx, "structure", ctx.args[1],
            [&](QPagedPaintDevice& device) { plan = printStructure(device, doc, title); }, paper))
        return 1;
    ctx.out << plan.pages.size() << " pages\n";
    return 0;
}

Registration regReport({"report",
                        "report DOC OUT.pdf [--level full|medium|low] [--date YYYY-MM-DD] "
                        "[--paper a4|letter] [--no-overview]",
                        "writes the light report of the document's root as a PDF file, at the "
                        "detail level given (full by default), dated the day given or today, "
                        "on A4 (default) or Letter paper, with the results overview unless "
                        "--no-overview",
                        runReport, true});
Registration regStructure({"structure",
                           "structure DOC OUT.pdf [--date YYYY-MM-DD] [--paper a4|letter]",
                           "writes the structure print of the document as a PDF file", runStructure,
                           true});

}  // namespace
}  // namespace pelvoro::cli
