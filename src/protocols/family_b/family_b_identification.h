#pragma once
// How the tester's identification reply fills the instrument data record.
// Family B: "MWH" answered by a binary block; "MHW" by the hardware version.

#include <optional>
#include <string>
#include <string_view>

#include "document/structure_document.h"

namespace pelvoro {

// How the brand splits the firmware field: stored whole, split at "HW" into firmware
// and hardware version, or not stored at all.
enum class FirmwareFieldRule { Whole, SplitAtHW, Ignore };
FirmwareFieldRule firmwareFieldRuleForBrand(std::string_view brandTitle);

// Fills items 1, 2, 3, (4, 5 by the brand rule), 6, 7, 8, 9 from the block. Fields are
// separated by 0x00 or CR; a last field without its separator is lost.
void applyFamilyBBlock(TInstrumentData& data, std::string_view block, FirmwareFieldRule rule);

// The hardware version that "MHW" returns: the block up to its first 0x00 or CR.
std::string hardwareVersionFromBlock(std::string_view block);

// The firmware version read as a number: its digits and "." characters, dots before
// the first digit skipped. Empty when that is not a decimal number.
std::optional<double> firmwareVersionNumber(std::string_view firmware);

// Models whose hardware version is asked for separately ("MHW").
bool hasHardwareVersionStep(std::string_view modelKey);
// The step runs for those models when the firmware version is 1.1 or more.
bool wantsHardwareVersion(std::string_view modelKey, std::string_view firmware);

}  // namespace pelvoro
