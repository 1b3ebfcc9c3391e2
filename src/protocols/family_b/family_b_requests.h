#pragma once
// The instrument data request of the binary-protocol (family B) testers on the link.

#include <string>

#include "instrument/instrument_data.h"
#include "instrument/link.h"
#include "protocols/family_b/family_b_identification.h"

namespace pelvoro {

// "MWH" and its block; with `hardwareStepKey` naming one of the models that have it, the
// hardware version is read with "MHW" when the firmware is 1.1 or newer. Runs inside a
// connection made by the caller.
bool requestFamilyBData(Link& link, TInstrumentData& data, FirmwareFieldRule rule,
                        const std::string& hardwareStepKey = {});

}  // namespace pelvoro
