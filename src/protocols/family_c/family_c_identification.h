#pragma once
// How the tester's identification reply fills the instrument data record.
// Family C: "t" answered by a 362-byte block.

#include <string_view>

#include "document/structure_document.h"

namespace pelvoro {

inline constexpr int kFamilyCIdentificationSize = 362;
// Fills items 2, 4, 7 and 8 (firm data without leading blanks).
void applyFamilyCBlock(TInstrumentData& data, std::string_view block);

}  // namespace pelvoro
