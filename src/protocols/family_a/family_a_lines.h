#pragma once
// What the text-protocol (family A) testers send, as values: hexadecimal numbers, the
// "F" lines rewritten into the program's function codes, result names, position lines,
// named structure entries, and the item blocks a results download writes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/document_writer.h"

namespace pelvoro {

// A text of decimal digits only, as a number; nullopt for any other text.
std::optional<int> familyADigits(std::string_view text);
// Characters `from` .. `from + n - 1` (1-based) as far as the text has them.
std::string_view familyAChars(std::string_view s, std::size_t from, std::size_t n);

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
std::vector<ItemBlock> resultsItemBlocks(const std::string& key, const std::string& typeCode,
                                         const std::vector<FamilyAResult>& results,
                                         const std::vector<FamilyANamedEntry>& named);

}  // namespace pelvoro
