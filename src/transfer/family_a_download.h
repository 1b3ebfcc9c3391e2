#pragma once
// Downloads from the text-protocol (family A) testers into a new document.
//
// Two branches:
//   - the structure-and-results download of the earlier testers (type code "50": TQ 41,
//     TQ 45, LR 40000115, LS 40000118): "MST" sends the tester's structure entry by
//     entry, "MRA" then sends every result with the ID of the entry that owns it;
//   - the results download of the later testers (type codes "51" to "55" and "60"):
//     "MR1" sends one result at a time with its position (object, block, fuse numbers),
//     and the structure is rebuilt from those positions (for TQ 75 also from the
//     tester's named structure).
// Neither builds tree items: both write the document file format into the download's
// temporary file, which the frame of the Download command then reads like any document.

#include <string>
#include <string_view>
#include <vector>

#include "instrument/instrument_context.h"

namespace pelvoro {

// What a family A download needs from the Download command's frame.
class FamilyADownloadTarget {
  public:
    virtual ~FamilyADownloadTarget() = default;
    // Creates the download document and its empty temporary file. False when the file
    // could not be created (the frame has then told the user and ends the download).
    virtual bool createDocument() = 0;
    // Appends bytes to the temporary file.
    virtual void write(std::string_view text) = 0;
    // Reads the temporary file into the document and shows it.
    virtual void load() = 0;
};

// How a branch ended.
enum class FamilyAEnd {
    Complete,    // the document was loaded with everything the tester held
    Incomplete,  // the document was loaded with part of it (the user was told)
    Flawed,      // the document was loaded with every result, but the names of the
                 // tester's structure could not be read (the user was told) or Cancel
                 // ended their reading
    NoData,      // the tester holds nothing (the user was told)
    Cancelled,   // Cancel ended the download before a document was loaded; no message
    Failed,      // no document; the user was told why
};
struct FamilyAOutcome {
    FamilyAEnd end = FamilyAEnd::Failed;
    std::string messageKey;  // the message that told why, or empty
    // Results that came whole and the number the tester announced (-1: not known).
    long received = -1, expected = -1;
};

// The branches; each ends with the connection ended or handed to the frame's finish
// (which ends it again harmlessly). Every message is shown here (or by the link).
FamilyAOutcome downloadStructureAndResults(InstrumentContext& ctx, const std::string& key,
                                           FamilyADownloadTarget& target);
FamilyAOutcome downloadResultsOnly(InstrumentContext& ctx, const std::string& key,
                                   FamilyADownloadTarget& target);
// Dispatches by key (Failed with no message for keys of other families).
FamilyAOutcome downloadFamilyA(InstrumentContext& ctx, const std::string& key,
                               FamilyADownloadTarget& target);

// ---- The pieces, for the tests ------------------------------------------------------------

// The start of every family A and B temporary file: version 9, four empty sections and
// the item list marker.
std::string downloadFileHead(int version = 9);

// A hexadecimal text read digit by digit: 0-9, A-F, a-f; any other character counts as
// the digit 0; the empty text is 0.
long familyAHex(std::string_view text);

// The "F" line of a result as the program's function codes have it, from the line the
// tester of the given instrument type code sends.
std::string rewriteFamilyALine(std::string line, std::string_view typeCode);
// The name of a result from its rewritten "F" line (empty for unknown codes).
std::string familyAResultName(std::string_view rewrittenLine);

// One result of the results download.
struct FamilyAResult {
    int a = 0, b = 0, c = 0;   // position: object, level-2 node, level-3 node (0 = none)
    std::string positionLine;  // the "P" line
    std::string resultLine;    // the "X" line (or "D" line for ";"-style testers)
    std::string fpLine;        // the rewritten "F" line, closed by ";"
    std::string name;
    int protVer = 1;
};

// One entry of the named structure ("MN1").
struct FamilyANamedEntry {
    int a = 0, b = 0, c = 0;
    std::string name;
    int type = -1;
};

// Reads a position line's three level numbers into a, b, c; a number that is not one
// leaves the value it had.
void readPositionNumbers(std::string_view line, int& a, int& b, int& c);
// A named structure line: position, name and item type; false when it is no such line.
bool parseNamedEntry(std::string_view line, FamilyANamedEntry& entry);

// The item blocks of a results download: the nodes rebuilt from the results' positions
// (and the named structure), then the results under their nodes in the tester's order.
std::string buildResultsItemBlocks(const std::string& key, const std::string& typeCode,
                                   const std::vector<FamilyAResult>& results,
                                   const std::vector<FamilyANamedEntry>& named);

}  // namespace pelvoro
