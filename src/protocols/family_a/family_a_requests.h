#pragma once
// The requests of the text-protocol (family A) testers on the link: counts, named
// structure entries and the result pointer.

#include <string>
#include <string_view>

#include "instrument/link.h"

namespace pelvoro {

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
