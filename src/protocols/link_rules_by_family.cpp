#include "protocols/link_rules_by_family.h"

#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_c/family_c_link_rules.h"

namespace pelvoro {

const FamilyLinkRules& linkRulesOf(ProtocolFamily family) {
    static constexpr FamilyLinkRules kNoFamily{};
    return family == ProtocolFamily::A   ? kFamilyALinkRules
           : family == ProtocolFamily::B ? kFamilyBLinkRules
           : family == ProtocolFamily::C ? kFamilyCLinkRules
                                         : kNoFamily;
}

}  // namespace pelvoro
