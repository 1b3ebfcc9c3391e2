#pragma once
// File ▸ Export: the results table of the active document as delimited text, and the
// command around it (format question, save dialog, safe write, messages).

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "results/markup.h"

namespace pelvoro {

class Prompts;
struct ResultRows;

// The choices of the Export Format dialog.
struct ExportFormat {
    int delimiter = 0;  // 0 TAB, 1 semicolon
    int eol = 0;        // 0 CR LF, 1 CR, 2 LF

    std::string_view delimiterText() const { return delimiter == 1 ? ";" : "\t"; }
    std::string_view eolText() const {
        return eol == 1 ? std::string_view("\r") : eol == 2 ? std::string_view("\n") : "\r\n";
    }
};

// A cell as written to an export: as it stands, or, when it holds the delimiter, a quote
// or a line break, in quotes with its quotes doubled (as spreadsheets read it).
std::string exportField(const std::string& field, std::string_view delimiter);

// The bytes of an export: the heading row ("No_3", "Results_10"), then the number and
// results cells of every text row of the table, each row "number, delimiter, results",
// rows separated by the end of line and none after the last. Empty when the table lists
// no items.
std::string exportTableText(const ResultRows& rows, const ExportFormat& format,
                            const MarkupInterpreter& interpreter = MarkupInterpreter());

struct ExportCommandHost {
    Prompts* prompts = nullptr;
    // The Export Format dialog; nullopt on Cancel.
    std::function<std::optional<ExportFormat>()> chooseFormat;
    std::string initialFolder;
    std::string title;     // of the save dialog
    std::string fileName;  // suggested, e.g. the document's name with ".txt"
    // Told the path of every file written (the next export starts in its folder).
    std::function<void(const std::string& path)> written;
    // Writes the whole file so that an older file is either kept or fully replaced;
    // returns the reason of a failure, empty on success.
    std::function<std::string(const std::string& path, const std::string& bytes)> writeFile;
};

// The Export command for the table shown (null: no table is shown). True when a file
// was written.
bool runExportCommand(const ResultRows* shownTable, ExportCommandHost& host);

}  // namespace pelvoro
