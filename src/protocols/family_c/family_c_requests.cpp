#include "protocols/family_c/family_c_requests.h"

#include "common/lang_text.h"
#include "protocols/family_c/family_c_identification.h"
#include "protocols/family_c/family_c_link_rules.h"

namespace pelvoro {

bool requestFamilyCData(Link& link, TInstrumentData& data) {
    if (!link.ensurePortOpen()) return false;
    if (!link.connectInstrument(kFamilyCLinkRules)) return false;
    // The tester is reached: a download goes on even when its data cannot be read, and
    // must then carry none of an earlier tester's.
    data = TInstrumentData{};
    // Without the acknowledgement the block would only fail a second time.
    if (!link.sendAwaitEcho("P", "E", kFamilyCLinkRules).ok) return false;
    // The block takes 12 s at 300 baud: its gauge follows the bytes, and Cancel (also Esc
    // and the window's close box) ends the wait.
    link.showProgress(LangText("DLoadData_35"), true, true);
    link.progress().setGauge(0, 100);
    link.send("t");
    bool ok = link.readBlockShowingBytes(kFamilyCIdentificationSize);
    if (ok) applyFamilyCBlock(data, link.transferBuffer().substr(0, kFamilyCIdentificationSize));
    link.hideProgress();
    return ok;
}

}  // namespace pelvoro
