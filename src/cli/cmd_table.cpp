// table DOC: the results table of a document's root as text, the way copying and export
// write it (number cell, TAB, results cell; one line per text row).

#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/cli.h"
#include "cli/command_options.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "document/structure_document.h"
#include "files/document_file.h"
#include "files/file_bytes.h"
#include "results/result_rows.h"

namespace pelvoro::cli {
namespace {

int runTable(Context& ctx) {
    const bool raw = ctx.takeFlag("--raw");
    const bool noSub = ctx.takeFlag("--no-sub");
    const int viewMode = takeLevel(ctx);
    if (ctx.args.size() != 1 || viewMode < 0) return ctx.usage();
    const std::string& path = ctx.args[0];
    std::string bytes;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec) ||
        !readFileBytes(path, bytes)) {
        ctx.err << "table: " << path << ": no such file\n";
        return 1;
    }

    // Read like Open: every coded result is parsed and its lines generated.
    StructureDocument doc;
    DocumentReadOptions options;
    options.hook = ctx.results;
    DocumentReadResult r = readDocumentFromBytes(doc, bytes, options);
    if (!r.ok) {
        ctx.err << "table: " << path << ": " << r.error << "\n";
        return 1;
    }
    std::string().swap(bytes);  // the items hold what they need of it
    ResultRows rows = AssignResultRows(doc, &doc.root(), viewMode, !noSub);
    if (rows.itemCount() == 0) return 0;
    const CodePage cp = appEnvironment().codePage;
    // The text goes out in large pieces, each row appended in place.
    std::string out;
    forEachTableTextRow(rows, true, [&](const std::string& number, const std::string& results) {
        if (raw) {
            out.append(number).append(1, '\t').append(results);
        } else {
            appendAsUtf8(out, number, cp);
            out += '\t';
            appendAsUtf8(out, results, cp);
        }
        out += '\n';
        if (out.size() >= (1u << 16)) {
            ctx.out.write(out.data(), std::streamsize(out.size()));
            out.clear();
        }
    });
    ctx.out.write(out.data(), std::streamsize(out.size()));
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
