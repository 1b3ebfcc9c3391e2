#include "reports/export_text.h"

#include "common/lang_text.h"
#include "common/prompts.h"
#include "results/result_rows.h"

namespace pelvoro {

std::string exportTableText(const ResultRows& rows, const ExportFormat& format,
                            const MarkupInterpreter& interpreter) {
    if (rows.itemCount() == 0) return {};
    // A fresh staging table for every export: nothing of an earlier one carries over.
    ClipboardStaging staging = renderTableText(rows, true, interpreter);
    return joinStaging(staging, true, true, format.delimiterText(), format.eolText());
}

bool runExportCommand(const ResultRows* shownTable, ExportCommandHost& host) {
    Prompts& prompts = *host.prompts;
    if (!shownTable) {
        prompts.information(LangText("msgNoDatToExp_50"));
        return false;
    }
    std::optional<ExportFormat> format = host.chooseFormat ? host.chooseFormat() : ExportFormat{};
    if (!format) return false;

    FileDialogRequest request;
    request.filter =
        LangText("TextFiles_25") == "**" ? std::string("Text Files") : LangText("TextFiles_25");
    request.filter += " (*.TXT)|*.TXT";
    request.defaultExtension = "txt";
    request.directory = host.initialFolder;
    request.title = host.title;
    request.fileName = host.fileName;
    std::optional<std::string> path = prompts.chooseSaveFile(request);
    if (!path || path->empty()) return false;

    std::string failure;
    {
        BusyCursor busy(prompts);
        const std::string bytes = exportTableText(*shownTable, *format);
        failure = host.writeFile(*path, bytes);
    }
    if (!failure.empty()) {
        prompts.error(LangText("msgWriteError_35") + "\n" + *path + ": " + failure);
        return false;
    }
    if (host.written) host.written(*path);
    return true;
}

}  // namespace pelvoro
