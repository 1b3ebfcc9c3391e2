// Feeds arbitrary reply bytes to each protocol family's requests through an in-memory
// port on a virtual clock. Every request must end, within its time limits, whatever
// the tester sends.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "instrument/link.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_a/family_a_requests.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_c/family_c_link_rules.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace {

using namespace pelvoro;
using testing::ScriptedPort;
using testing::VirtualClock;

// Virtual seconds an operation may take at most: its limits plus the handshake's settle
// pause, with room for the last poll. `replyBytes` is the number of bytes the tester sends.
double limitFor(int op, std::size_t blockSize, int baud, std::size_t replyBytes) {
    switch (op) {
        case 0:
            return 0.2 + link_limits::kBusyLimit + link_limits::kReplyWindow +
                   replyLineLimit(baud) + 1.1;
        case 1:
        case 2:
            return 0.2 + link_limits::kHandshakeLimit + link_limits::kReplyWindow + 1.1;
        // A line: silence of kLineLimit, or its overall bound at the rate.
        case 3:
            return replyLineLimit(baud) + 0.01;
        case 9:
            return blockAllowance(blockSize, baud) + 0.01;
        case 11:
        case 12:
        case 13:
            return 0.2 + replyLineLimit(baud) * 3 + link_limits::kStatusWaitLimit + 0.2;
        // A counted text block has no overall limit, only one between two bytes.
        case 10:
            return (static_cast<double>(replyBytes) + 1) * link_limits::kSilenceLimit + 0.01;
        case 14:
            return 1000 + (static_cast<double>(replyBytes) + 1) * link_limits::kSilenceLimit;
        // An echo: sends until the echo limit, then the last one's reply window, both grown
        // by the time the command and its reply take on the line (at most 3 + 6 bytes), and
        // the few byte times a family C count's fourth byte is waited for.
        default:
            return link_limits::kEchoLimit + link_limits::kReplyWindow +
                   2 * transmissionSeconds(9, baud) + 0.1 + 30.0 / baud + 0.04;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static const int kBauds[] = {300, 600, 1200, 2400, 4800};
    const int op = data[0] % 15;
    const int baud = kBauds[data[1] % 5];
    const std::size_t blockSize = data[2] * 4u;
    data += 3;
    size -= 3;

    VirtualClock clock;
    ScriptedPort port(clock);
    port.clearOnClose = false;
    testing::GaugeCheckingProgress progress;
    NullPrompts prompts;
    Link link(port, clock, progress, prompts);
    link.setBaudRate(baud);
    // Pairs of (gap in 5 ms steps, byte): the tester's side of the exchange.
    double at = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        at += data[i] * 0.005;
        port.arrive(std::string(1, static_cast<char>(data[i + 1])), at);
    }

    if (!link.ensurePortOpen()) return 0;
    const double start = clock.now;
    switch (op) {
        case 0:
            link.connectInstrument(kFamilyALinkRules);
            break;
        case 1:
            link.connectInstrument(kFamilyBLinkRules);
            break;
        case 2:
            link.connectInstrument(kFamilyCLinkRules);
            break;
        case 3:
            link.readReplyLine();
            break;
        case 4:
            link.sendAwaitEcho("MWH", "SWH", kFamilyBLinkRules);
            break;
        case 5:
            link.sendAwaitEcho("MNU", "SNU", kFamilyBLinkRules);
            break;
        case 6:
            link.sendAwaitEcho("MRG", "SRG", kFamilyBLinkRules);
            break;
        case 7:
            link.sendAwaitEcho("P", "E", kFamilyCLinkRules);
            break;
        case 8:
            link.sendAwaitEcho(std::string("R\xFF", 2), "\x02", kFamilyCLinkRules);
            break;
        case 9:
            link.readBlock(blockSize);
            break;
        case 10: {
            ReplyLine block = link.readUntilEof();
            if (block.text.size() > link_limits::kMaxCountedBlock + 1) std::abort();
            break;
        }
        case 11:
            familyAEntryCount(link);
            break;
        case 12:
            familyANamedEntryCount(link);
            break;
        case 13:
            familyAResultPointer(link, 7, 3);
            break;
        case 14: {
            // A family B record fetch: echo, block of the announced length, graph text.
            if (!link.connectInstrument(kFamilyBLinkRules)) break;
            EchoReply echo = link.sendAwaitEcho("MRG", "SRG", kFamilyBLinkRules);
            if (echo.ok && link.readBlock(static_cast<std::size_t>(echo.length)))
                link.readUntilEof();
            link.endConnection(kFamilyBLinkRules);
            break;
        }
    }
    // No wait may outlast its limits, and the port is left as the operation promises.
    if (std::getenv("LINK_FUZZ_DEBUG"))
        std::fprintf(stderr, "op %d took %.3f of %.3f\n", op, clock.now - start,
                     limitFor(op, blockSize, baud, size / 2));
    if (clock.now - start > limitFor(op, blockSize, baud, size / 2)) std::abort();
    if (op <= 2 && link.isPortOpen() != link.received()) std::abort();
    if (op == 14 && link.isPortOpen()) std::abort();
    return 0;
}
