// Fuzz target: the document reader, with any bytes as a file of any version, and with the
// results hook on as Open runs it: every FP string is parsed and its lines generated. A
// document read and written once must read back into exactly the same file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/structure_document.h"
#include "files/document_file.h"
#include "results/render_result.h"
#include "results/results_loading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelvoro;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    DocumentReadOptions options;
    static const std::shared_ptr<ResultsHook> hook =
        makeResultsParsingHook(makeLineRenderer(std::make_shared<CharacterCellMeasure>()));
    options.hook = hook;

    StructureDocument first;
    DocumentReadResult r = readDocumentFromBytes(first, bytes, options);
    if (!r.ok && r.error.empty()) __builtin_trap();
    if (first.Modified) __builtin_trap();
    std::string once = writeDocumentToString(first);

    // What this program wrote always reads without error.
    StructureDocument second;
    if (!readDocumentFromBytes(second, once, options).ok) __builtin_trap();
    std::string twice = writeDocumentToString(second);

    StructureDocument third;
    if (!readDocumentFromBytes(third, twice, options).ok) __builtin_trap();
    if (writeDocumentToString(third) != twice) __builtin_trap();
    return 0;
}
