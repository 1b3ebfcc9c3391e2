#include "protocols/family_b/family_b_requests.h"

#include "common/lang_text.h"
#include "protocols/family_b/family_b_link_rules.h"

namespace pelvoro {

// The transfer buffer of the instrument data requests.
constexpr std::size_t kFamilyBDataBuffer = 1000;

bool requestFamilyBData(Link& link, TInstrumentData& data, FirmwareFieldRule rule,
                        const std::string& hardwareStepKey) {
    bool ok = false;
    data = TInstrumentData{};
    EchoReply echo = link.sendAwaitEcho("MWH", "SWH", kFamilyBLinkRules);
    if (echo.ok) {
        if (link.readBlock(std::size_t(echo.length), kFamilyBDataBuffer)) {
            applyFamilyBBlock(data, link.transferBuffer().substr(0, std::size_t(echo.length)),
                              rule);
            ok = true;
        }
        deriveInstrVariant(data.line(4), data.InstrVariant);
    }
    if (hardwareStepKey.empty() || !wantsHardwareVersion(hardwareStepKey, data.line(4)) ||
        link.cancelRequested())
        return ok;
    EchoReply hw = link.sendAwaitEcho("MHW", "SHW", kFamilyBLinkRules);
    if (!hw.ok || !link.readBlock(std::size_t(hw.length), kFamilyBDataBuffer)) return false;
    data.line(5) =
        hardwareVersionFromBlock(link.transferBuffer().substr(0, std::size_t(hw.length)));
    return true;
}

}  // namespace pelvoro
