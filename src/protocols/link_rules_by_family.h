#pragma once
// The link rules of a protocol family, for the code that knows the family only from the
// selected model.

#include "instrument/family_link_rules.h"
#include "instrument/models.h"

namespace pelvoro {

// The rules of family A, B or C; for None, rules that send nothing and never connect.
const FamilyLinkRules& linkRulesOf(ProtocolFamily family);

}  // namespace pelvoro
