// convert IN OUT: reads a document file of any version, or a transcript ("*.KRD"), and
// writes it as a current document file.

#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/cli.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "document/structure_document.h"
#include "files/byte_sink.h"
#include "files/document_file.h"
#include "files/file_bytes.h"
#include "files/safe_save.h"
#include "files/transcript_import.h"

namespace pelvoro::cli {
namespace {

namespace fs = std::filesystem;

int runConvert(Context& ctx) {
    if (ctx.args.size() != 2) return ctx.usage();
    const std::string& in = ctx.args[0];
    const std::string& out = ctx.args[1];
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(in), ec)) {
        ctx.err << "convert: " << in << ": no such file\n";
        return 1;
    }
    std::string bytes;
    if (!readFileBytes(in, bytes)) {
        ctx.err << "convert: " << in << ": cannot be read\n";
        return 1;
    }
    StructureDocument doc;
    DocumentReadOptions options;
    if (isTranscriptPath(in)) {
        std::string converted;
        StringSink sink(converted);
        TranscriptConversion c = convertTranscript(bytes, sink);
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
        bytes = std::move(converted);
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
    std::string().swap(bytes);  // the items hold what they need of it
    // OUT is either left as it was or replaced whole (see SafeFileWriter).
    SafeFileWriter file(out);
    writeDocument(doc, file);
    SafeSaveResult saved = file.commit();
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
