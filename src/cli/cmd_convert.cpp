// convert IN OUT: reads a document file of any version, or a transcript ("*.KRD"), and
// writes it as a current document file.

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "cli/cli.h"
#include "document/structure_document.h"
#include "files/document_file.h"
#include "files/transcript_import.h"

namespace pelvoro::cli {
namespace {

namespace fs = std::filesystem;

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

// Writes beside the target and renames over it, so OUT is either the old file or the
// whole new one.
bool writeFileWhole(const std::string& path, const std::string& bytes, std::string& why) {
    fs::path target(path);
    fs::path temp = target;
    temp += ".saving~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            why = "cannot create " + temp.string();
            return false;
        }
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            why = "write error on " + temp.string();
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        why = ec.message();
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

int runConvert(Context& ctx) {
    if (ctx.args.size() != 2) {
        ctx.err << "usage: pelvoro-cli convert IN OUT\n";
        return 2;
    }
    const std::string& in = ctx.args[0];
    const std::string& out = ctx.args[1];
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(in), ec)) {
        ctx.err << "convert: " << in << ": no such file\n";
        return 1;
    }
    std::string bytes;
    if (!readFile(in, bytes)) {
        ctx.err << "convert: " << in << ": cannot be read\n";
        return 1;
    }
    StructureDocument doc;
    DocumentReadOptions options;
    options.useInstalledHook = false;  // the coded results are copied unchanged
    if (isTranscriptPath(in)) {
        std::ostringstream converted;
        TranscriptConversion c = convertTranscript(bytes, converted);
        if (!c.ok) {
            ctx.err << "convert: " << in << ": " << c.error << "\n";
            return 1;
        }
        doc.InstrumentData = c.instrument;
        bytes = converted.str();
    }
    DocumentReadResult r = readDocumentFromBytes(doc, bytes, options);
    if (!r.ok) {
        ctx.err << "convert: " << in << ": " << r.error << "\n";
        return 1;
    }
    std::string why;
    if (!writeFileWhole(out, writeDocumentToString(doc), why)) {
        ctx.err << "convert: " << out << ": " << why << "\n";
        return 1;
    }
    if (r.orphans > 0)
        ctx.err << "convert: " << r.orphans
                << " item(s) without their parent were collected under one container item\n";
    return 0;
}

Registration reg(
    {"convert", "convert IN OUT",
     "reads a document file of any version or a transcript (*.KRD, *.krd) and writes it as a "
     "version 20 document file",
     runConvert});

}  // namespace
}  // namespace pelvoro::cli
