#include "protocols/family_a/family_a_requests.h"

#include <gtest/gtest.h>

#include "support/language_fixture.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::ProgressRecorder;
using testing::ScopedLanguage;
using testing::ScriptedPort;
using testing::ScriptedPrompts;
using testing::VirtualClock;

const char* kTexts =
    "[Language]\r\n"
    "msgCommunFail_35=Communication failure\r\n"
    "msgDataCorrupt_35=Corrupted data\r\n";

class FamilyARequests : public ::testing::Test {
  protected:
    FamilyARequests() : port(clock), link(port, clock, progress, prompts) {
        port.setBaudRate(4800);
    }
    void openPort() { ASSERT_TRUE(link.ensurePortOpen()); }

    ScopedLanguage language{kTexts};
    VirtualClock clock;
    ScriptedPort port;
    ProgressRecorder progress;
    ScriptedPrompts prompts;
    Link link;
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

}  // namespace
}  // namespace pelvoro
