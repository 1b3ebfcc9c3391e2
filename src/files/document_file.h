#pragma once
// The document file: the one text format in which documents are saved and from which
// every document that is not new is built (opened files, imports and downloads alike).
//
// Version 20 is written; versions 1 to 25 are read. Lines end with CR LF; the text is in
// the single-byte code page and is neither transcoded nor escaped. A value never holds a
// line break: the writer replaces every CR LF, CR or LF inside a value by one blank.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace pelvoro {

class ByteSink;
class ResultsHook;
class StructureDocument;
struct TInstrumentData;

inline constexpr int kDocumentFileVersion = 20;

// Writes the whole document. Afterwards every item's ID, PID and BID hold the numbers
// written and the document is no longer modified.
void writeDocument(StructureDocument& document, ByteSink& sink);
void writeDocument(StructureDocument& document, std::ostream& out);
std::string writeDocumentToString(StructureDocument& document);

struct DocumentReadOptions {
    // Reads the coded results of the loaded items into lines (the results subsystem's
    // ResultsParsingHook); null: the FP strings are kept as they are, without lines.
    std::shared_ptr<ResultsHook> hook;
    // Called once the instrument data section has been read (the instrument data
    // window shows it).
    std::function<void(const TInstrumentData&)> instrumentDataRead;
};

struct DocumentReadResult {
    // False for a document read only in part: a malformed number ended the load, the file
    // is cut inside an item block, or a section marker line that the file's version has
    // ("$InstrumentData%" from version 2 on, "$StructureItems%") is missing. What could be
    // read is in the document all the same; it must not be saved over the file.
    bool ok = true;
    int version = 0;
    // Set when the document was read only in part: the message names the line.
    std::string error;
    int errorLine = 0;  // 1-based line number of the file
    // The file had an item list (the root was built).
    bool hasItemList = false;
    int itemsLoaded = 0;
    // Items whose parent was missing and which were placed under the "UnKnown" container.
    int orphans = 0;
};

// Fills a fresh document (only its root) from a whole file's bytes or a stream. A
// malformed number ends the load with an error; what was read before it stays in the
// document. The document is not modified afterwards.
DocumentReadResult readDocument(StructureDocument& document, std::istream& in,
                                const DocumentReadOptions& options = {});
DocumentReadResult readDocumentFromBytes(StructureDocument& document, const std::string& bytes,
                                         const DocumentReadOptions& options = {});

// Whether `bytes` can be a document file, told by its head: the lines that end within
// its first kDocumentHeadBytes bytes (a last line without line end counts when the text
// ends there). Its first non-empty line is a version line, or one of those lines is a
// section marker ("$InstrumentData%", "$HeaderOperator%", "$HeaderInstrData%",
// "$ReportComments%", "$StructureItems%"). Version 1 files have no version line but their
// header sections. A file's head (readFileHead) tells the same as the whole file.
inline constexpr std::size_t kDocumentHeadBytes = 64 * 1024;
bool looksLikeDocument(std::string_view bytes);

// The text of a value as written: line breaks replaced by blanks.
std::string flattenValue(const std::string& value);

// A result text beginning with "D" is a date record "D;dd;mm;yyyy;hh;mm;"; it is stored
// as "X#PD" followed by "dd.mm.yyyy  hh:mm". Returns the text to store (possibly empty).
std::string rewriteDateRecord(const std::string& value);

}  // namespace pelvoro
