#pragma once
// Family B records: what one "MRE" or "MRG" request brings, and the graph text that
// follows a high-voltage record holding the graph marker.

#include <string>
#include <string_view>

#include "transfer/download_tree.h"

namespace pelvoro {

// The head of every record: its position, three 16-bit numbers.
inline constexpr std::size_t kFamilyBHeaderSize = 6;

// The position of an installation record: three 16-bit numbers, high byte first.
TreePosition familyBPosition(std::string_view record);

struct GraphSplit {
    std::string record;  // the record without its graph part
    std::string graph;   // the graph text, line ends LF CR written as the single 0x14
};

// Splits a high-voltage record at its graph marker 0x00 "G" (searched from the sixth
// character on): the graph text starts four characters after the 0x00 and ends before
// any "*#"; the record keeps what comes before the 0x00. A record without the marker
// is kept whole with an empty graph.
GraphSplit splitGraph(std::string_view record);

}  // namespace pelvoro
