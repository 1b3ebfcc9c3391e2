// Feeds arbitrary tester replies to the instrument data requests of the three protocol
// families, to identification and to the status reads of the writes, and arbitrary
// blocks and lines to the parsers. Everything must end within its time limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocols/family_a/family_a_identification.h"
#include "protocols/family_a/family_a_requests.h"
#include "protocols/family_b/family_b_identification.h"
#include "protocols/family_b/family_b_requests.h"
#include "protocols/family_c/family_c_identification.h"
#include "protocols/family_c/family_c_requests.h"
#include "protocols/identification.h"
#include "protocols/instrument_requests.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace {

using namespace pelvoro;
using testing::ScriptedPort;
using testing::VirtualClock;

void parsers(const std::string& bytes) {
    TInstrumentData d;
    applyFamilyALine(d, bytes);
    applyFamilyBBlock(d, bytes, FirmwareFieldRule::Whole);
    applyFamilyBBlock(d, bytes, FirmwareFieldRule::SplitAtHW);
    applyFamilyBBlock(d, bytes, FirmwareFieldRule::Ignore);
    applyFamilyCBlock(d, bytes);
    firmwareVersionNumber(bytes);
    hardwareVersionFromBlock(bytes);
    std::string serial = bytes.substr(0, 8);
    std::string next = incrementSerialNumber(serial);
    if (next.size() > 9) std::abort();
    boxTextWriteCommand("MWU", bytes);
    interpretWriteStatus(true, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int op = data[0] % 8;
    static const char* kBrands[] = {"Tamvisto", "Pelvoro", "Quorrel", "ULVANOR"};
    const char* brand = kBrands[data[1] % 4];
    data += 2;
    size -= 2;
    std::string bytes(reinterpret_cast<const char*>(data), size);

    VirtualClock clock;
    ScriptedPort port(clock);
    port.clearOnClose = false;
    port.setBaudRate(4800);
    NullProgress progress;
    NullPrompts prompts;
    Link link(port, clock, progress, prompts);
    SimpleModelSelection models(op == 6 ? "AutoFind" : "TQ42", op == 6 ? 0 : 1);
    InstrumentContext ctx(link, models, brand);
    // Pairs of (gap in 5 ms steps, byte): the tester's side of the exchange.
    double at = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        at += data[i] * 0.005;
        port.arrive(std::string(1, static_cast<char>(data[i + 1])), at);
    }
    const double replyEnd = at;

    if (!link.ensurePortOpen()) return 0;
    switch (op) {
        case 0:
            requestFamilyAData(link, ctx.data);
            break;
        case 1:
            requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(brand), "TQ42");
            break;
        case 2:
            requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(brand));
            break;
        case 3:
            requestFamilyCData(link, ctx.data);
            break;
        case 4: {
            InstrumentWrites w;
            w.switches = {true, true};
            w.serialNumber = "12345678";
            writeInstrumentData(link, ctx.data, w);
            break;
        }
        case 5:
            receiveInstrumentData(ctx);
            break;
        case 6:
            autoIdentify(ctx);
            break;
        default:
            parsers(bytes);
            break;
    }
    // No request waits much beyond the last byte the tester sent: a handshake and a
    // family B exchange with its hardware step at the slowest rate, or a hundred lines.
    if (clock.now > replyEnd + 400) std::abort();
    return 0;
}
