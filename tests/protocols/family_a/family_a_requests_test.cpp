#include "protocols/family_a/family_a_requests.h"

#include <gtest/gtest.h>

#include "protocols/instrument_fixture.h"
#include "support/scripted_link.h"

namespace pelvoro {
namespace {

using instrdata_testing::familyAReply;
using instrdata_testing::LinkBench;
using testing::ScriptedPort;
using testing::ScriptedPrompts;

const char* kTexts =
    "[Language]\r\n"
    "msgCommunFail_35=Communication failure\r\n"
    "msgDataCorrupt_35=Corrupted data\r\n";

class FamilyARequests : public ::testing::Test, public testing::ScriptedLink {
  protected:
    FamilyARequests() : ScriptedLink(kTexts) {}
    void openPort() { ASSERT_TRUE(link.ensurePortOpen()); }
};

TEST_F(FamilyARequests, CommandsWithAnArgumentByModelFamily) {
    EXPECT_EQ(familyACommand("MN1", "5", 1), "MN1\r5\r");
    EXPECT_EQ(familyACommand("MN1", "5", 2), "MN1\r5\r");
    EXPECT_EQ(familyACommand("MPR", "17", 3), "MPR;17\r");
}

TEST_F(FamilyARequests, CountRequests) {
    port.on("MNS\r", "12\rOK\r", 0.1);
    port.on("MNU\r", "340\r\nx\r", 0.1);
    port.on("MNN\r", "3\r%\r%\rSER0\r", 0.1, 0.05);
    openPort();
    CountReply entries = familyAEntryCount(link);
    EXPECT_TRUE(entries.ok);
    EXPECT_EQ(entries.count, 12);
    CountReply results = familyAResultCount(link);
    EXPECT_TRUE(results.ok);
    EXPECT_EQ(results.count, 340);
    CountReply named = familyANamedEntryCount(link);
    EXPECT_TRUE(named.ok);
    EXPECT_EQ(named.count, 3);
    EXPECT_EQ(port.bytesWaiting(), 0u);  // everything up to the status line was read
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FamilyARequests, CountThatIsNotANumberIsCorruptData) {
    const char* replies[] = {"1x\rnext\r", "\rnext\r", "12.5\rnext\r"};
    for (const char* reply : replies) {
        SCOPED_TRACE(reply);
        ScriptedPort p(clock);
        ScriptedPrompts pp;
        Link l(p, clock, progress, pp);
        p.on("MNU\r", reply, 0.1);
        ASSERT_TRUE(l.ensurePortOpen());
        EXPECT_FALSE(familyAResultCount(l).ok);
        EXPECT_EQ(pp.texts(), std::vector<std::string>{"Corrupted data"});
        EXPECT_EQ(p.bytesWaiting(), 0u);  // the follow-up line was read all the same
    }
    // A silent tester: the empty text of a time-out is no number either.
    openPort();
    EXPECT_FALSE(familyAEntryCount(link).ok);
    EXPECT_TRUE(prompts.showed("Corrupted data"));
}

TEST_F(FamilyARequests, NamedEntryAndResultPointer) {
    port.on("MN1\r2\r", "P;001;002;000;05;Kitchen;\r", 0.1);
    port.on("MPR;7\r", "%\rSER3\r", 0.1);
    openPort();
    ReplyLine entry = familyANamedEntry(link, 2, 2);
    EXPECT_TRUE(entry.ok);
    EXPECT_EQ(entry.text, "P;001;002;000;05;Kitchen;");
    EXPECT_TRUE(familyAResultPointer(link, 7, 3));  // the status is not examined
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(familyANamedEntry(link, 3, 2).ok);  // no answer
}

TEST_F(FamilyARequests, StatusWaitIsBoundedWhenBusyLinesNeverEnd) {
    openPort();
    port.arrive(std::string(2000, '%').insert(0, ""), 0.0);
    std::string busy;
    for (int i = 0; i < 200; ++i) busy += "%\r";
    port.arrive(busy, 0.0, 0.05);  // a busy line every 0.1 s for 20 s
    EXPECT_FALSE(familyAResultPointer(link, 1, 2));
    EXPECT_LT(clock.now, link_limits::kStatusWaitLimit + 1.5);
}

// ---- The instrument data ----------------------------------------------------------------

TEST(FamilyARequest, FillsTheItemsUpToTheStatusLine) {
    LinkBench b;
    ASSERT_TRUE(b.port.open());
    b.ctx.data.line(6) = "untouched";
    b.port.on("MWH\r", familyAReply("TQ 41"));
    EXPECT_TRUE(requestFamilyAData(b.link, b.ctx.data));
    EXPECT_EQ(b.ctx.data.line(1), "51");
    EXPECT_EQ(b.ctx.data.line(3), "TQ 41");
    EXPECT_EQ(b.ctx.data.line(8), "Firm\rLine two");
    EXPECT_EQ(b.ctx.data.line(11), "2024-01-31");
    EXPECT_EQ(b.ctx.data.line(6), "");  // not sent: not kept from before
}

TEST(FamilyARequest, EmptyLineOrSilenceFailsAndACutLineIsNotStored) {
    LinkBench b;
    ASSERT_TRUE(b.port.open());
    b.port.on("MWH\r", "02.Name\r\r03.never\rSER\r");
    EXPECT_FALSE(requestFamilyAData(b.link, b.ctx.data));
    EXPECT_EQ(b.ctx.data.line(2), "Name");
    EXPECT_EQ(b.ctx.data.line(3), "");

    LinkBench silent;
    ASSERT_TRUE(silent.port.open());
    // No CR: the line is cut off, and a cut line is never stored as if it were whole.
    silent.port.on("MWH\r", "02.Partial");
    EXPECT_FALSE(requestFamilyAData(silent.link, silent.ctx.data));
    EXPECT_EQ(silent.ctx.data.line(2), "");
    EXPECT_LT(silent.clock.now, 3 * 1.296);
}

TEST(FamilyARequest, EndlessLinesDoNotHoldTheProgram) {
    LinkBench b;
    ASSERT_TRUE(b.port.open());
    std::string flood;
    for (int i = 0; i < 5000; ++i) flood += "%busy\r";
    b.port.on("MWH\r", flood);
    EXPECT_FALSE(requestFamilyAData(b.link, b.ctx.data));
    EXPECT_GT(b.port.pending(), 0u);  // it stopped listening long before the flood ended
}

// Replies that must not end as success with data, nor hold the program: the late "SER"
// of a repeated ready probe ahead of the real reply, a line that never ends (bytes and
// no CR, for ever) and Cancel during such a line.
TEST(FamilyARequest, LateStatusEndlessLineAndCancelEndTheReplyInTime) {
    struct Case {
        const char* name;
        std::string reply;
        double perByte;
        double cancelAt;  // clock time of the Cancel press, < 0 none
        double within;    // the request ends before this clock time
    };
    const std::string endless(200000, 'x');
    const Case cases[] = {
        {"late status first", "SER\r" + familyAReply("TQ 71"), 0, -1, 1.0},
        {"busy lines then late status", "%\r%\rSER0\r01.51\rSER\r", 0, -1, 1.0},
        {"bytes without CR", endless, 0.01, -1, 8.64 + 1.5},
        {"cancel in an endless line", endless, 0.01, 2.0, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench b;
        ASSERT_TRUE(b.port.open());
        b.port.on("MWH\r", c.reply, 0.01, c.perByte);
        if (c.cancelAt >= 0)
            b.clock.onEvents = [&] { b.progress.cancelled = b.clock.now >= c.cancelAt; };
        EXPECT_FALSE(requestFamilyAData(b.link, b.ctx.data));
        EXPECT_LT(b.clock.now, c.within);
    }
    // The bound grows with the transmission time at slow rates only.
    EXPECT_DOUBLE_EQ(familyADataReplyLimit(4800), 8.64);
    EXPECT_DOUBLE_EQ(familyADataReplyLimit(300), 50.0);
}

}  // namespace
}  // namespace pelvoro
