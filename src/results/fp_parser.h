#pragma once
// Reading one FP string into the parsed-result record.
//
// An FP string is "F", ";", the function code, ";", then numbered fields each closed by
// ";" (the first field after the code is number 3: the sub-function; field 4 is the status
// digit). Text after the last ";" is ignored. The code decides how every field is read.

#include <string_view>

#include "results/results_data.h"

namespace pelvoro {

class StructureDocument;

// What a parse needs to know about the document and the item the string belongs to.
struct FpParseContext {
    // Line 1 of the document's instrument data: "51".."54" add 50 to codes below 50.
    std::string_view typeCode;
    // The document's variant word: "KORVEN" reads some limit fields as impedance limits.
    std::string_view variant;
    // The item's ProtVer: the coding version of its FP strings.
    int protVer = 0;
};

// Clears `results` (status "no verdict at all", 3; every other byte 0; every text empty)
// and fills the sub-record of the string's function code. Only the sub-record of the
// previous parse and that of this string are touched: the others are still clear. Never fails: an
// unknown function code, a field beyond those its code defines and an enumerated text outside its
// map set `newFunctionsSeen` and parsing goes on. results.FunctionCode tells what was parsed.
void ParseFpString(std::string_view fp, const FpParseContext& context, TResultsData& results,
                   bool& newFunctionsSeen);

// The same for an FP string of an item of `document`: its instrument type code and variant,
// the item's ProtVer, and the document's NewFunctionsSeen flag.
void ParseFpString(std::string_view fp, int protVer, StructureDocument& document,
                   TResultsData& results);

// Divides a value field into the value (the longest leading run of blanks, digits and
// "#,-.<=>S") and the rest, which is put in front of the unit. An empty field and the
// not-delivered placeholder stay whole.
void splitValueField(std::string_view text, TResultValue& target);

}  // namespace pelvoro
