#include "reports/export_text.h"

#include "common/lang_text.h"
#include "common/prompts.h"
#include "results/result_rows.h"

namespace pelvoro {

std::string exportField(const std::string& field, std::string_view delimiter) {
    const bool quoted = field.find(delimiter) != std::string::npos ||
                        field.find_first_of("\"\r\n") != std::string::npos;
    if (!quoted) return field;
    std::string out = "\"";
    for (char c : field) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string exportTableText(const ResultRows& rows, const ExportFormat& format,
                            const MarkupInterpreter& interpreter) {
    if (rows.itemCount() == 0) return {};
    // A fresh staging table for every export: nothing of an earlier one carries over.
    const ClipboardStaging staging = renderTableText(rows, true, interpreter);
    const std::string_view delimiter = format.delimiterText();
    std::string out;
    for (int r = 0; r < staging.total; ++r) {
        if (r > 0) out += format.eolText();
        const auto& cells = staging.rows[size_t(r)];
        out += exportField(cells[0], delimiter);
        out += delimiter;
        out += exportField(cells[1], delimiter);
    }
    return out;
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
