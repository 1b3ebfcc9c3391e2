#pragma once
// The instrument data request of the family C testers on the link.

#include "instrument/instrument_data.h"
#include "instrument/link.h"

namespace pelvoro {

// Makes its own handshake, then "P" and "t" and the 362-byte block. The caller closes
// the port.
bool requestFamilyCData(Link& link, TInstrumentData& data);

}  // namespace pelvoro
