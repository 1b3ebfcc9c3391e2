#pragma once
// The requests of the text-protocol (family A) testers on the link: the instrument data,
// counts, named structure entries and the result pointer.

#include <string>
#include <string_view>

#include "instrument/instrument_data.h"
#include "instrument/link.h"

namespace pelvoro {

// "MWH\r", item lines up to the "SER" line. Runs inside a connection made by the caller.
// Fails on an empty line or a line time-out before any character. The variant word is
// derived from item 5 either way.
bool requestFamilyAData(Link& link, TInstrumentData& data);

// "XXX\r" + argument + "\r" for model family 1 and 2, "XXX;" + argument + "\r" for 3.
std::string familyACommand(std::string_view command, std::string_view argument, int modelFamily);
CountReply familyAEntryCount(Link& link);       // "MNS\r": count line, one more line ignored
CountReply familyAResultCount(Link& link);      // "MNU\r": count line, one more line ignored
CountReply familyANamedEntryCount(Link& link);  // "MNN\r": count line, then lines up to "SER"
// "MN1" with n: the entry line; a time-out fails.
ReplyLine familyANamedEntry(Link& link, long n, int modelFamily);
// "MPR" with n: lines up to "SER" (status not examined); false when no "SER" line came
// within the bounds of readUntilStatus.
bool familyAResultPointer(Link& link, long n, int modelFamily);

}  // namespace pelvoro
