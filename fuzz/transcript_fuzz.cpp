// Fuzz target: transcript import. Any transcript converts into a document file that the
// reader accepts without error.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "document/structure_document.h"
#include "files/document_file.h"
#include "files/transcript_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelvoro;
    std::string transcript(reinterpret_cast<const char*>(data), size);
    std::ostringstream out;
    TranscriptConversion c = convertTranscript(transcript, out);
    if (!c.ok && c.error.empty()) __builtin_trap();

    StructureDocument doc;
    doc.InstrumentData = c.instrument;
    DocumentReadOptions options;
    DocumentReadResult r = readDocumentFromBytes(doc, out.str(), options);
    if (!r.ok || r.version != 9) __builtin_trap();
    // Every converted record becomes an item (empty results are dropped by the reader).
    if (doc.itemCount() > 1 + c.structureRecords + c.resultRecords + 1) __builtin_trap();
    return 0;
}
