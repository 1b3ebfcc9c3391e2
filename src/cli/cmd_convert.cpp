// convert IN OUT: reads a document file of any version, or a transcript ("*.KRD"), and
// writes it as a current document file.

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
#include "files/safe_save.h"
#include "files/transcript_import.h"

namespace pelvoro::cli {
namespace {

namespace fs = std::filesystem;

// The whole file in one buffer of its size, read once.
bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(fs::path(path), std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    bytes.resize(size_t(size));
    in.seekg(0);
    in.read(bytes.data(), size);
    bytes.resize(size_t(in.gcount()));
    return !in.bad();
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
        // A transcript read only in part is not written: the document would look whole.
        if (!c.complete()) {
            ctx.err << "convert: " << in << ": read only in part, nothing written ("
                    << c.structureRecords << " structure records, " << c.resultRecords
                    << " results read)\n";
            for (const std::string& loss : transcriptLosses(c))
                ctx.err << "convert: " << toUtf8(loss, appEnvironment().codePage) << "\n";
            return 1;
        }
        doc.InstrumentData = c.instrument;
        bytes = std::move(converted).str();
    } else if (!looksLikeDocument(bytes)) {
        ctx.err << "convert: " << in << ": not a document file"
                << (looksLikeTranscript(bytes) ? " (a transcript? name it *.KRD)" : "") << "\n";
        return 1;
    }
    DocumentReadResult r = readDocumentFromBytes(doc, bytes, options);
    if (!r.ok) {
        ctx.err << "convert: " << in << ": " << r.error << "\n";
        return 1;
    }
    // OUT is either left as it was or replaced whole (see saveFileSafely).
    SafeSaveResult saved = saveFileSafely(out, writeDocumentToString(doc));
    if (!saved.ok) {
        ctx.err << "convert: " << out << ": " << saved.reason << "\n";
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
