#pragma once
// The link rules of the machine testers (family C): "P" is acknowledged by "E", which is
// also the handshake; nothing ends the connection. "R" 0xFF is answered by 0x02 and the
// record count, byte 2 + 256 * byte 3 (byte 2 alone from a tester that sends three bytes).

#include "instrument/family_link_rules.h"

namespace pelvoro {

inline constexpr CommandEcho kFamilyCEchoes[] = {
    {"R\xFF", {.bytes = 3, .length = EchoLength::CountLowFirst, .compared = 1, .advances = false}},
};

inline constexpr FamilyLinkRules kFamilyCLinkRules{
    .probe = "P",
    .readyAsLines = false,
    .readyBytes = 1,
    .readyPrefix = "E",
    .busyPrefix = {},
    .goodbye = {},  // the tester needs no goodbye
    .echoes = kFamilyCEchoes,
    .usualEcho = {.bytes = 1, .length = EchoLength::None, .compared = 1, .advances = false},
};

}  // namespace pelvoro
