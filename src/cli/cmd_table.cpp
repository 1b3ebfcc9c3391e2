// table DOC: the results table of a document's root as text, the way copying and export
// write it (number cell, TAB, results cell; one line per text row).

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "common/identity.h"
#include "cli/cli.h"
#include "common/codepage.h"
#include "document/structure_document.h"
#include "files/document_file.h"
#include "results/result_rows.h"

namespace pelvoro::cli {
namespace {

int runTable(Context& ctx) {
    const bool raw = ctx.takeFlag("--raw");
    const bool noSub = ctx.takeFlag("--no-sub");
    const std::string level = ctx.takeOption("--level", "full");
    int viewMode = -1;
    if (level == "full") viewMode = kViewFull;
    if (level == "medium") viewMode = kViewMedium;
    if (level == "low") viewMode = kViewLow;
    if (ctx.args.size() != 1 || viewMode < 0) {
        ctx.err << "usage: pelvoro-cli table DOC [--level full|medium|low] [--no-sub] [--raw]\n";
        return 2;
    }
    const std::string& path = ctx.args[0];
    std::error_code ec;
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec) || !in) {
        ctx.err << "table: " << path << ": no such file\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();

    // Read like Open: the installed hook parses every coded result and generates its lines.
    StructureDocument doc;
    DocumentReadResult r = readDocumentFromBytes(doc, bytes.str());
    if (!r.ok) {
        ctx.err << "table: " << path << ": " << r.error << "\n";
        return 1;
    }
    ResultRows rows = AssignResultRows(doc, &doc.root(), viewMode, !noSub);
    if (rows.itemCount() == 0) return 0;
    ClipboardStaging staging = renderTableText(rows, true);
    const CodePage cp = appEnvironment().codePage;
    for (int i = 0; i < staging.total; ++i) {
        const auto& cells = staging.rows[size_t(i)];
        std::string line = cells[0] + "\t" + cells[1];
        ctx.out << (raw ? line : toUtf8(line, cp)) << "\n";
    }
    if (doc.NewFunctionsSeen)
        ctx.err << "table: the document holds codes or fields this program does not know\n";
    return 0;
}

Registration reg({"table", "table DOC [--level full|medium|low] [--no-sub] [--raw]",
                  "prints the results table of the document's root as text, one line per "
                  "text row: the item number, a TAB and the results, as Copy and Export "
                  "write them (--raw: the document's bytes without conversion to UTF-8)",
                  runTable});

}  // namespace
}  // namespace pelvoro::cli
