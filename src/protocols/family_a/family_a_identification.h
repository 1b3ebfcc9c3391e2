#pragma once
// How the tester's identification reply fills the instrument data record.
// Family A: "MWH\r" answered by numbered lines, one item each.

#include <string>
#include <string_view>

#include "document/structure_document.h"

namespace pelvoro {

// Firm and user data arrive on one line: control characters below 30 are dropped (30
// and 31 stay) and "_" separates the lines (it becomes CR).
std::string filterMultilineText(std::string_view text);

// Applies one reply line "NN.value" (NN = 01 .. 11) to the record. Returns false for a
// line that is not an item line (it is ignored).
bool applyFamilyALine(TInstrumentData& data, std::string_view line);

}  // namespace pelvoro
