#pragma once
// The link rules of the binary-protocol (family B) testers: "MRD" is answered by five
// bytes beginning "SER"; "MEX" ends the connection. A command "Mxx" is echoed "Sxx" and a
// length field, two bytes high first for most; "MNU" has a byte more before its count;
// "MRE" and "MRG" give the record length in one byte and move the tester to its next
// record.

#include "instrument/family_link_rules.h"

namespace pelvoro {

inline constexpr CommandEcho kFamilyBEchoes[] = {
    {"MNU", {.bytes = 6, .length = EchoLength::Bytes4And5, .compared = 3, .advances = false}},
    {"MRE", {.bytes = 4, .length = EchoLength::Byte3, .compared = 3, .advances = true}},
    {"MRG", {.bytes = 4, .length = EchoLength::Byte3, .compared = 3, .advances = true}},
};

inline constexpr FamilyLinkRules kFamilyBLinkRules{
    .probe = "MRD",
    .readyAsLines = false,
    .readyBytes = 5,
    .readyPrefix = "SER",
    .busyPrefix = {},
    .goodbye = "MEX",
    .echoes = kFamilyBEchoes,
    .usualEcho = {.bytes = 5, .length = EchoLength::Bytes3And4, .compared = 3, .advances = false},
};

}  // namespace pelvoro
