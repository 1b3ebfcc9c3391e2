#pragma once
// The link rules of the text-protocol (family A) testers: "MRD" CR is answered by CR-ended
// lines, "%" lines while the tester is busy and a "SER" status line when it is ready;
// "MEX" CR ends the connection. Family A commands have no echo.

#include "instrument/family_link_rules.h"

namespace pelvoro {

inline constexpr FamilyLinkRules kFamilyALinkRules{
    .probe = "MRD\r",
    .readyAsLines = true,
    .readyBytes = 0,
    .readyPrefix = "SER",
    .busyPrefix = "%",
    .goodbye = "MEX\r",
    .echoes = {},
    .usualEcho = {},
};

}  // namespace pelvoro
