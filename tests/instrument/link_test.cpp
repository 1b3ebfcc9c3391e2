#include "instrument/link.h"

#include <gtest/gtest.h>

#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_c/family_c_link_rules.h"
#include "support/scripted_link.h"

namespace pelvoro {
namespace {

using testing::ProgressRecorder;
using testing::ScriptedPort;
using testing::ScriptedPrompts;
using testing::VirtualClock;
using Reply = ScriptedPort::Reply;

const char* kTexts =
    "[Language]\r\n"
    "frmTransfering_35=Transfering  data\r\n"
    "ConnectInstr_35=Connecting\r\n"
    "msgNotAvailPort_35=Port not available\r\n"
    "msgConnectError_35=No answer\r\n"
    "msgCommunFail_35=Communication failure\r\n"
    "msgDataCorrupt_35=Corrupted data\r\n";

class LinkTest : public ::testing::Test, public testing::ScriptedLink {
  protected:
    LinkTest() : ScriptedLink(kTexts) {}

    void openPort() { ASSERT_TRUE(link.ensurePortOpen()); }
    // Presses Cancel once the virtual clock reaches `at`.
    void cancelAt(double at) {
        clock.onEvents = [this, at] {
            if (clock.now >= at) progress.cancelled = true;
        };
    }
};

// --- opening and the handshake ------------------------------------------------------

TEST_F(LinkTest, FailedOpenShowsTheMessageWithTheSystemsReason) {
    port.failOpen = true;
    port.failReason = "Permission denied for /dev/ttyUSB0.";
    EXPECT_FALSE(link.connectInstrument(kFamilyALinkRules));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Port not available\n\nPermission denied for /dev/ttyUSB0.");
    EXPECT_TRUE(port.writes.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(progress.visible);
}

TEST_F(LinkTest, BusyLinesBeforeTheReadyLineAreAccepted) {
    // Each "%" line comes well within the reply window; the ready line only after 1.2 s.
    port.on("MRD\r", "%10\r%50\r%90\rSER0\r", 0.05, 0.1);
    EXPECT_TRUE(link.connectInstrument(kFamilyALinkRules));
    EXPECT_EQ(port.count("MRD\r"), 1);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(progress.captions.back(), "Transfering  data");
    EXPECT_EQ(progress.steps.back(), "Connecting");
    EXPECT_FALSE(progress.visible);
}

TEST_F(LinkTest, ShortReadyLineIsRefusedUntilTheLimit) {
    port.on("MRD\r", "SE\r", 0.05);
    EXPECT_FALSE(link.connectInstrument(kFamilyALinkRules));
    EXPECT_GE(clock.now, link_limits::kHandshakeLimit);
    EXPECT_LT(clock.now, link_limits::kHandshakeLimit + 3);
    EXPECT_GT(port.count("MRD\r"), 3);  // probed again and again
    EXPECT_TRUE(prompts.showed("No answer"));
    EXPECT_FALSE(port.isOpen());
}

TEST_F(LinkTest, TesterThatStaysBusyIsGivenUpEventually) {
    openPort();
    std::string busy;
    for (int i = 0; i < 1000; ++i) busy += "%\r";
    port.arrive(busy, 0.3, 0.25);  // a busy line every half second for 500 s
    EXPECT_FALSE(link.connectInstrument(kFamilyALinkRules));
    EXPECT_GE(clock.now, link_limits::kBusyLimit);
    EXPECT_LT(clock.now, link_limits::kBusyLimit + 4);
    EXPECT_TRUE(prompts.showed("No answer"));
}

struct ReadyCase {
    const FamilyLinkRules& family;
    const char* probe;
    const char* reply;
    bool ready;
};

TEST_F(LinkTest, ReadyRepliesOfEachFamily) {
    const ReadyCase cases[] = {
        {kFamilyALinkRules, "MRD\r", "SER\r", true},
        {kFamilyALinkRules, "MRD\r", "xyz\rSER5\r", true},  // any status counts as ready
        {kFamilyALinkRules, "MRD\r", "SER", false},         // never completed by CR
        {kFamilyBLinkRules, "MRD", "SER00", true},
        {kFamilyBLinkRules, "MRD", "SER0", false},  // fewer than five bytes
        {kFamilyBLinkRules, "MRD", "XSER0", false},
        {kFamilyCLinkRules, "P", "E", true},
        {kFamilyCLinkRules, "P", "e", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.probe) + " -> " + c.reply);
        VirtualClock clk;
        ScriptedPort p(clk);
        ProgressRecorder pr;
        ScriptedPrompts pp;
        Link l(p, clk, pr, pp);
        p.on(c.probe, {Reply{c.reply, 0.1}}, /*repeatLast=*/false);
        EXPECT_EQ(l.connectInstrument(c.family), c.ready);
        EXPECT_EQ(p.isOpen(), c.ready);
        EXPECT_EQ(pp.showed("No answer"), !c.ready);
    }
}

TEST_F(LinkTest, CancelDuringTheHandshakeIsQuietAndClosesThePort) {
    cancelAt(2.0);  // the tester never answers
    EXPECT_FALSE(link.connectInstrument(kFamilyBLinkRules));
    EXPECT_LT(clock.now, 2.1);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(link.cancelRequested());  // cleared, although the window still says pressed
}

TEST_F(LinkTest, CancelAtTheStartOfTheHandshake) {
    progress.cancelAtStep = "Connecting";
    EXPECT_FALSE(link.connectInstrument(kFamilyALinkRules));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_LE(port.count("MRD\r"), 1);
}

TEST_F(LinkTest, AnOldCancelPressDoesNotStopTheNextConnection) {
    cancelAt(0.5);
    EXPECT_FALSE(link.connectInstrument(kFamilyCLinkRules));
    clock.onEvents = nullptr;  // the recorder keeps reporting the old press
    port.on("P", "E", 0.1);
    EXPECT_TRUE(link.connectInstrument(kFamilyCLinkRules));
}

TEST_F(LinkTest, EndConnectionSaysGoodbyeByFamilyAndClosesThePort) {
    const std::pair<const FamilyLinkRules*, std::vector<std::string>> cases[] = {
        {&kFamilyALinkRules, {"MEX\r"}}, {&kFamilyBLinkRules, {"MEX"}}, {&kFamilyCLinkRules, {}}};
    for (const auto& [family, expected] : cases) {
        port.writes.clear();
        openPort();
        link.requestCancel();
        link.endConnection(*family);
        EXPECT_EQ(port.writes, expected);
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(link.cancelRequested());
    }
}

// --- reply lines ----------------------------------------------------------------------

TEST_F(LinkTest, ReplyLineKeepsItsLineFeedAndDropsTheCR) {
    openPort();
    port.arrive("\nABC\rnext", 0.1, 0.01);
    ReplyLine line = link.readReplyLine();
    EXPECT_TRUE(line.ok);
    EXPECT_EQ(line.text, "\nABC");
    EXPECT_EQ(link.lastReply(), "\nABC");
}

TEST_F(LinkTest, LineWithoutCRFailsAfterTheOverallBoundWhileBytesKeepComing) {
    openPort();
    port.arrive(std::string(1000, 'x'), 0.0, 0.01);  // 10 s of bytes, no CR
    ReplyLine line = link.readReplyLine();
    EXPECT_FALSE(line.ok);
    const double bound = replyLineLimit(4800);
    EXPECT_NEAR(bound, 1.296 + 34.56 * 256 / 4800, 1e-9);
    EXPECT_GE(clock.now, bound);
    EXPECT_LT(clock.now, bound + 0.02);
    EXPECT_NEAR(double(line.text.size()), bound * 100, 3);
}

// The limit of a line counts from its last byte: long lines at low rates come whole, a
// pause in the middle of a line still ends it, and nothing that arrived while the program
// was held up elsewhere (a modal dialog running in the event loop) is missed.
TEST_F(LinkTest, ReplyLineTimingTable) {
    struct Case {
        const char* name;
        int baud;
        std::string bytes;
        double perByte;
        double stallAt;  // the event loop is held up for stallFor seconds at this time
        double stallFor;
        bool ok;
        std::size_t length;  // of the text
    };
    const std::string longLine = "F;22;1;5;" + std::string(81, '7');  // 90 characters
    const Case cases[] = {
        {"long line at 300 baud", 300, longLine + "\r", 10.0 / 300, -1, 0, true, 90},
        {"long line at 600 baud", 600, longLine + "\r", 10.0 / 600, -1, 0, true, 90},
        {"pause of 1.3 s inside the line", 300, "ABC", 1.3, -1, 0, false, 1},
        {"pause of 1.2 s inside the line", 300, "ABC\r", 1.2, -1, 0, true, 3},
        {"trickle without CR at 300 baud", 300, std::string(2000, 'x'), 1.0, -1, 0, false, 0},
        {"line arrives during a 10 s stall", 4800, longLine + "\r", 0.002, 0.01, 10, true, 90},
        {"stall with half a line then silence", 4800, "ABC", 0.002, 0.01, 10, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clk;
        ScriptedPort p(clk);
        ScriptedPrompts pp;
        ProgressRecorder pr;
        Link l(p, clk, pr, pp);
        p.setBaudRate(c.baud);
        ASSERT_TRUE(l.ensurePortOpen());
        p.arrive(c.bytes, 0.05, c.perByte);
        bool stalled = false;
        clk.onEvents = [&] {
            if (!stalled && c.stallAt >= 0 && clk.now >= c.stallAt) {
                stalled = true;
                clk.now += c.stallFor;
            }
        };
        ReplyLine line = l.readReplyLine();
        EXPECT_EQ(line.ok, c.ok);
        if (c.length) {
            EXPECT_EQ(line.text.size(), c.length);
        }
        if (!c.ok) {
            EXPECT_LT(clk.now, replyLineLimit(c.baud) + c.stallFor + 0.1);
        }
        if (std::string(c.name).rfind("trickle", 0) == 0) {
            EXPECT_GE(clk.now, replyLineLimit(300));
            EXPECT_GT(line.text.size(), 25u);
        }
    }
}

TEST_F(LinkTest, ReplyLineOnAClosedPortFailsAtOnce) {
    ReplyLine line = link.readReplyLine();
    EXPECT_FALSE(line.ok);
    EXPECT_EQ(clock.now, 0);
}

// --- echoes -------------------------------------------------------------------------

struct EchoCase {
    std::string command;
    std::string expected;
    const FamilyLinkRules& family;
    std::string reply;
    bool ok;
    int length;
};

TEST_F(LinkTest, EchoTable) {
    const EchoCase cases[] = {
        {"MWH", "SWH", kFamilyBLinkRules, std::string("SWH\x01\x02", 5), true, 258},
        {"MHW", "SHW", kFamilyBLinkRules, std::string("SHW\x00\x07", 5), true, 7},
        {"MNU", "SNU", kFamilyBLinkRules, std::string("SNU\x09\x01\x00", 6), true, 256},
        {"MRE", "SRE", kFamilyBLinkRules, std::string("SRE\x15", 4), true, 21},
        {"MRG", "SRG", kFamilyBLinkRules, std::string("SRG\xF0", 4), true, 240},
        // Bytes that are not the echo are taken in whole replies and dropped.
        {"MWH", "SWH", kFamilyBLinkRules, std::string("xxxxxSWH\x00\x10", 10), true, 16},
        {"P", "E", kFamilyCLinkRules, "E", true, 0},
        {"P", "E", kFamilyCLinkRules, "zzE", true, 0},
        // The count of "R" 0xFF is byte 2 + 256 * byte 3: all four bytes are awaited.
        {std::string("R\xFF", 2), "\x02", kFamilyCLinkRules, std::string("\x02\x00\x34\x12", 4),
         true, 0x1234},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ScriptedPort p(clock);
        ScriptedPrompts pp;
        Link l(p, clock, progress, pp);
        p.on(c.command, c.reply, 0.05, 0.01);
        ASSERT_TRUE(l.ensurePortOpen());
        EchoReply echo = l.sendAwaitEcho(c.command, c.expected, c.family);
        EXPECT_EQ(echo.ok, c.ok);
        EXPECT_EQ(echo.length, c.length);
        EXPECT_TRUE(pp.shown.empty());
    }
}

TEST_F(LinkTest, FamilyCCountOfAThreeByteReplyIsByteTwo) {
    // The count is byte 2 + 256 * byte 3; when the fourth byte never comes, byte 2 alone.
    struct Case {
        std::string reply;
        int count;
    };
    for (const Case& c :
         {Case{std::string("\x02\x05\x01", 3), 1}, Case{std::string("\x02\x00\x2C", 3), 0x2C},
          Case{std::string("\x02\x00\x2C\x01", 4), 0x12C}}) {
        SCOPED_TRACE(c.count);
        ScriptedPort p(clock);
        ScriptedPrompts pp;
        Link l(p, clock, progress, pp);
        p.on(std::string("R\xFF", 2), {Reply{c.reply, 0.05, 0.002}}, false);
        p.setBaudRate(300);
        ASSERT_TRUE(l.ensurePortOpen());
        EchoReply echo = l.sendAwaitEcho(std::string("R\xFF", 2), "\x02", kFamilyCLinkRules);
        EXPECT_TRUE(echo.ok);
        EXPECT_EQ(echo.length, c.count);
        EXPECT_TRUE(pp.shown.empty());
        EXPECT_EQ(p.count(std::string("R\xFF", 2)), 1);
        EXPECT_EQ(p.bytesWaiting(), 0u);
    }
}

TEST_F(LinkTest, FamilyCCountWhoseLastByteIsSlowAtLowBaud) {
    // At 300 baud a byte takes 33 ms: the fourth byte is still waited for.
    port.on(std::string("R\xFF", 2), {Reply{std::string("\x02\x00\x07\x00", 4), 0.05, 0.033}},
            false);
    port.setBaudRate(300);
    openPort();
    EchoReply echo = link.sendAwaitEcho(std::string("R\xFF", 2), "\x02", kFamilyCLinkRules);
    EXPECT_TRUE(echo.ok);
    EXPECT_EQ(echo.length, 7);
    EXPECT_EQ(port.bytesWaiting(), 0u);
}

TEST_F(LinkTest, MissingEchoIsResentThenReported) {
    openPort();
    progress.visible = true;
    EchoReply echo = link.sendAwaitEcho("MWH", "SWH", kFamilyBLinkRules);
    EXPECT_FALSE(echo.ok);
    // Each reply window is 0.864 s and the time "MWH" and a 5-byte reply take at 4800 baud.
    const double window = 0.864 + transmissionSeconds(3 + 5, 4800);
    EXPECT_EQ(port.count("MWH"), 3);  // at 0, 0.881 and 1.761 s
    EXPECT_GE(clock.now, 3 * window);
    EXPECT_LT(clock.now, 3 * window + 0.03);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Communication failure   Error #2C"});
    EXPECT_FALSE(progress.visible);
}

// A request that moves a family B tester to its next record is never sent twice: a tester
// that answers after the reply window would otherwise skip a record. Asking requests are
// sent again; and a reply that came while the program was held up is taken.
TEST_F(LinkTest, AdvancingRequestsAreSentOnceAndLateRepliesTaken) {
    struct Case {
        const char* name;
        std::string command, echo;
        double delay;     // of the reply
        double stallFor;  // the event loop is held up this long at the first poll
        bool ok;
        int sends;
    };
    const Case cases[] = {
        {"MRE answered after 1.5 s", "MRE", "SRE", 1.5, 0, true, 1},
        {"MRG answered after 2.5 s", "MRG", "SRG", 2.5, 0, true, 1},
        {"MRE never answered", "MRE", "SRE", 100, 0, false, 1},
        {"MWH answered after 1.5 s", "MWH", "SWH", 1.5, 0, true, 2},
        {"MRE answered during a 10 s stall", "MRE", "SRE", 0.1, 10, true, 1},
        {"MWH answered during a 10 s stall", "MWH", "SWH", 0.1, 10, true, 1},
        {"MNU answered during a 10 s stall", "MNU", "SNU", 0.1, 10, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clk;
        ScriptedPort p(clk);
        ScriptedPrompts pp;
        ProgressRecorder pr;
        Link l(p, clk, pr, pp);
        p.setBaudRate(4800);
        // The length field: one byte after "SRx", two after "SWH", "SNU" 02 and two.
        const std::size_t fieldBytes = c.command == "MNU" ? 3 : c.command == "MWH" ? 2 : 1;
        const std::string reply = c.echo + std::string("\x02\x00\x05", 3).substr(3 - fieldBytes);
        p.on(c.command, {Reply{reply, c.delay, 0.002}}, false);
        ASSERT_TRUE(l.ensurePortOpen());
        bool stalled = false;
        clk.onEvents = [&] {
            // Held up in the first pause of the wait, after the request went out.
            if (!stalled && c.stallFor > 0 && clk.now > 0 && p.count(c.command) > 0) {
                stalled = true;
                clk.now += c.stallFor;
            }
        };
        EchoReply echo = l.sendAwaitEcho(c.command, c.echo, kFamilyBLinkRules);
        EXPECT_EQ(echo.ok, c.ok);
        EXPECT_EQ(p.count(c.command), c.sends);
        EXPECT_EQ(pp.shown.empty(), c.ok);
        if (c.ok) {
            EXPECT_EQ(echo.length, 5);
        }
        if (!c.ok) {
            EXPECT_NEAR(clk.now, 2.592, 0.02);
        }
    }
}

TEST_F(LinkTest, EchoOnAClosedPortIsReportedAtOnce) {
    EXPECT_FALSE(link.sendAwaitEcho("MWH", "SWH", kFamilyBLinkRules).ok);
    EXPECT_TRUE(prompts.showed("Communication failure   Error #2C"));
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(LinkTest, CancelWhileAwaitingAnEchoIsQuiet) {
    openPort();
    cancelAt(1.0);
    EXPECT_FALSE(link.sendAwaitEcho("MRE", "SRE", kFamilyBLinkRules).ok);
    EXPECT_LT(clock.now, 1.1);
    EXPECT_TRUE(prompts.shown.empty());
}

// --- blocks -------------------------------------------------------------------------

TEST_F(LinkTest, BlockAllowanceGrowsWithSizeAndFallsWithBaud) {
    EXPECT_NEAR(blockAllowance(362, 300), 41.70, 0.01);
    EXPECT_DOUBLE_EQ(blockAllowance(362, 4800), 2.6064);
    EXPECT_DOUBLE_EQ(blockAllowance(360, 4800), 2.592);
    EXPECT_DOUBLE_EQ(blockAllowance(10, 4800), 2.592);
    EXPECT_DOUBLE_EQ(blockAllowance(0, 0), 2.592);
}

TEST_F(LinkTest, MissingBlockFailsAfterItsAllowance) {
    const std::pair<int, double> cases[] = {{300, 41.70}, {4800, 2.6064}, {2400, 5.2128}};
    for (auto [baud, limit] : cases) {
        SCOPED_TRACE(baud);
        clock.now = 0;
        prompts.shown.clear();
        port.setBaudRate(baud);
        openPort();
        port.arrive(std::string(361, 'b'), 0.0);  // one byte short
        EXPECT_FALSE(link.readBlock(362));
        EXPECT_GE(clock.now, limit - 0.01);
        EXPECT_LT(clock.now, limit + 0.02);
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Communication failure   Error #3"});
        EXPECT_FALSE(link.interrupted());
        link.closePort();
    }
}

TEST_F(LinkTest, SlowBlockWithinItsAllowanceIsTakenWhole) {
    port.setBaudRate(300);
    openPort();
    std::string block(362, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i);
    port.arrive(block + "extra", 0.0, 1.0 / 30);  // 300 baud: 30 bytes a second
    ASSERT_TRUE(link.readBlock(362));
    EXPECT_EQ(link.transferBuffer(), block);
    EXPECT_EQ(port.bytesWaiting(), 0u);  // "extra" is still on its way
}

TEST_F(LinkTest, CancelDuringABlockSetsTheInterruptedFlagQuietly) {
    openPort();
    progress.visible = true;
    cancelAt(1.0);
    EXPECT_FALSE(link.readBlock(21));
    EXPECT_TRUE(link.interrupted());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(progress.visible);
    link.clearInterrupted();
    EXPECT_FALSE(link.interrupted());
}

// --- counted text blocks ------------------------------------------------------------

TEST_F(LinkTest, CountedBlockMovesTheSecondGaugeAndKeepsTheMarker) {
    openPort();
    port.arrive("#4;\n\ra\n\rb\n\rc\n\rd\n\r#EOF;", 0.1, 0.01);
    std::vector<int> positions;
    ReplyLine block = link.readUntilEof();
    EXPECT_TRUE(block.ok);
    EXPECT_EQ(block.text, "a\n\rb\n\rc\n\rd\n\r#EOF;");
    EXPECT_EQ(progress.secondGauge, 75);  // three lines counted past the first, of four
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LinkTest, CountedBlockWithoutAUsableCountStillCompletes) {
    for (const char* header : {"#0;\n\r", "#;\n\r", "#x;\n\r"}) {
        SCOPED_TRACE(header);
        progress.secondGauge = -1;
        openPort();
        port.arrive(std::string(header) + "1\n\r2\n\r3\n\r#EOF;", clock.now + 0.1, 0.01);
        ReplyLine block = link.readUntilEof();
        EXPECT_TRUE(block.ok);
        EXPECT_EQ(block.text, "1\n\r2\n\r3\n\r#EOF;");
        EXPECT_EQ(progress.secondGauge, -1);
        link.closePort();
    }
}

TEST_F(LinkTest, SilentCountedBlockFails) {
    openPort();
    port.arrive("#9;\n\r1\n\r2", 0.1, 0.01);
    ReplyLine block = link.readUntilEof();
    EXPECT_FALSE(block.ok);
    EXPECT_EQ(block.text, "1\n\r2");
    EXPECT_NEAR(clock.now, 0.1 + 0.08 + 1.296, 0.01);
    EXPECT_TRUE(prompts.showed("Communication failure   Error #4"));
}

TEST_F(LinkTest, EndlessCountedBlockIsCutOff) {
    openPort();
    port.arrive(std::string(link_limits::kMaxCountedBlock + 10, 'g'), 0.0);
    EXPECT_FALSE(link.readUntilEof().ok);
    EXPECT_TRUE(prompts.showed("Communication failure   Error #4"));
}

TEST_F(LinkTest, StatusLines) {
    EXPECT_TRUE(Link::statusSuccess("SER"));
    EXPECT_TRUE(Link::statusSuccess("SER0"));
    EXPECT_FALSE(Link::statusSuccess("SER12"));
    EXPECT_FALSE(Link::statusSuccess("%SER"));
    EXPECT_EQ(Link::statusCode("SER12"), "12");
    EXPECT_TRUE(link.checkStatus("SER0"));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(link.checkStatus("SER4B"));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "plain");
    EXPECT_EQ(prompts.shown[0].text, "Error: #4B");
    EXPECT_FALSE(link.checkStatus("OK"));
    EXPECT_EQ(prompts.shown.size(), 1u);
}

}  // namespace
}  // namespace pelvoro
