// Every family's instrument data request, Receive and Send on the scripted port.

#include "protocols/instrument_requests.h"

#include <gtest/gtest.h>

#include <functional>

#include "protocols/family_a/family_a_requests.h"
#include "protocols/family_b/family_b_requests.h"
#include "protocols/family_c/family_c_requests.h"
#include "protocols/instrument_fixture.h"

namespace pelvoro {
namespace {

using instrdata_testing::familyAReply;
using instrdata_testing::familyBBlock;
using instrdata_testing::familyBReply;
using instrdata_testing::familyCBlock;
using instrdata_testing::hwReply;
using instrdata_testing::LinkBench;

// ---- Every family ------------------------------------------------------------------------

TEST(EveryRequest, StartsFromAnEmptyRecord) {
    // The record held another tester's data (an imported TQ 71 transcript): after a
    // request it holds only what this tester sent, compared whole.
    TInstrumentData earlier;
    for (int n = 1; n <= TInstrumentData::kLines; ++n)
        earlier.line(n) = "TQ71 item " + std::to_string(n);
    earlier.InstrVariant = "KORVEN";
    auto record = [](std::vector<std::pair<int, std::string>> items) {
        TInstrumentData d;
        for (auto& [n, v] : items) d.line(n) = v;
        return d;
    };
    struct Case {
        const char* key;
        int family;
        std::function<bool(LinkBench&)> request;
        TInstrumentData expected;
    } cases[] = {
        {"CV61", 1,
         [](LinkBench& b) {
             b.port.on("P", "E");
             b.port.on("t", familyCBlock());
             return requestFamilyCData(b.link, b.ctx.data);
         },
         record({{2, "CV 61"}, {4, "2.01"}, {7, "000042"}, {8, "Firm"}})},
        {"TQ60", 1,
         [](LinkBench& b) {
             b.port.open();
             b.port.on("MWH", familyBReply(familyBBlock(20, {"N", "TQ 60", "v1"})));
             return requestFamilyBData(b.link, b.ctx.data, FirmwareFieldRule::Ignore);
         },
         record({{1, "20"}, {2, "N"}, {3, "TQ 60"}})},
        {"TQ41", 2,
         [](LinkBench& b) {
             b.port.open();
             b.port.on("MWH\r", "02.Name\r03.TQ 41\rSER\r");
             return requestFamilyAData(b.link, b.ctx.data);
         },
         record({{2, "Name"}, {3, "TQ 41"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        LinkBench b(c.key, c.family);
        b.ctx.data = earlier;
        EXPECT_TRUE(c.request(b));
        EXPECT_EQ(b.ctx.data.lines, c.expected.lines);
        EXPECT_EQ(b.ctx.data.InstrVariant, "");
    }
}

// ---- Receive -----------------------------------------------------------------------------

TEST(Receive, FamilyATesterEndsWithMexAndShowsTheData) {
    LinkBench b("TQ71", 2);
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("TQ 71"));
    EXPECT_TRUE(receiveInstrumentData(b.ctx).received);
    EXPECT_EQ(b.ctx.data.line(3), "TQ 71");
    EXPECT_EQ(b.port.writes.back(), "MEX\r");
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_TRUE(b.prompts.shown.empty());
}

TEST(Receive, FamilyARequestFailureShowsTheConnectionError) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    EXPECT_FALSE(receiveInstrumentData(b.ctx).showData);
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Connection error"});
    EXPECT_EQ(b.port.writes.back(), "MEX\r");
    EXPECT_FALSE(b.port.isOpen());
}

TEST(Receive, FailedHandshakeStillShowsTheRecordKept) {
    LinkBench b("TQ41", 2);
    b.ctx.data.line(2) = "earlier";
    ReceiveOutcome r = receiveInstrumentData(b.ctx);
    EXPECT_TRUE(r.showData);
    EXPECT_FALSE(r.received);
    EXPECT_EQ(b.ctx.data.line(2), "earlier");
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Connection error"});
    EXPECT_FALSE(b.port.isOpen());
}

TEST(Receive, FamilyBTesterWithHardwareVersion) {
    LinkBench b("TQ42H", 1, "Pelvoro");
    b.port.on("MRD", "SER00");
    b.port.on("MWH", familyBReply(familyBBlock(25, {"N", "TQ 42H", "v1.3"})));
    b.port.on("MHW", hwReply("B\r"));
    EXPECT_TRUE(receiveInstrumentData(b.ctx).received);
    EXPECT_EQ(b.ctx.data.line(5), "B");
    EXPECT_EQ(b.port.writes.back(), "MEX");
    EXPECT_FALSE(b.port.isOpen());
}

TEST(Receive, AutoFindIdentifiesFirstThenReadsAgain) {
    LinkBench b;
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("TQ 73"));
    EXPECT_TRUE(receiveInstrumentData(b.ctx).received);
    EXPECT_EQ(b.models.checkedModelKey(), "TQ73");
    EXPECT_EQ(b.port.count("MWH\r"), 2);
    EXPECT_EQ(b.port.count("MEX\r"), 2);
}

TEST(Receive, FamilyCClosesThePort) {
    LinkBench b("CV61", 1);
    b.port.on("P", "E");
    b.port.on("t", familyCBlock());
    EXPECT_TRUE(receiveInstrumentData(b.ctx).received);
    EXPECT_EQ(b.ctx.data.line(2), "CV 61");
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_EQ(b.port.count("MEX"), 0);
}

// ---- Send --------------------------------------------------------------------------------

InstrumentWrites serviceWrites() {
    InstrumentWrites w;
    w.switches = {true, true};
    w.serialNumber = "12";
    w.firmData = "F1\r\nF2";
    w.userData = "U";
    w.now = {2024, 2, 29, 23, 59, 1};
    return w;
}

TEST(Send, ServiceModesWriteEverythingInOrder) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    b.port.onWrite = [&](std::string_view w) {
        if (w.size() > 4 && w.substr(0, 1) == "M" && w != "MRD\r")
            b.port.arrive("SER0\r", b.clock.now);
    };
    EXPECT_TRUE(sendInstrumentData(b.ctx, serviceWrites()));
    std::vector<std::string> writes(b.port.writes.begin() + 1, b.port.writes.end());
    ASSERT_EQ(writes.size(), 6u);
    EXPECT_EQ(writes[0], "MDT\r7E8\r02\r1D\r17\r3B\r01\r");
    EXPECT_EQ(writes[1], std::string("MWN\r\x80\x58"
                                     "12\0",
                                     9));
    EXPECT_EQ(writes[2], boxTextWriteCommand("MWF", "F1\r\nF2"));
    EXPECT_EQ(writes[2].substr(6), std::string("F1\rF2\0", 6));
    EXPECT_EQ(writes[3], std::string("MWU\r\x55\x00U\0", 8));
    EXPECT_EQ(writes[4], "MCD\r7E8\r02\r1D\r17\r3B\r01\r");
    EXPECT_EQ(writes[5], "MEX\r");
    EXPECT_TRUE(b.prompts.shown.empty());
    EXPECT_FALSE(b.port.isOpen());
}

TEST(Send, WithoutSwitchesOnlyClockAndUserData) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    b.port.onWrite = [&](std::string_view w) {
        if (w.size() > 4 && w != "MRD\r") b.port.arrive("SER\r", b.clock.now);
    };
    InstrumentWrites w = serviceWrites();
    w.switches = {};
    EXPECT_TRUE(sendInstrumentData(b.ctx, w));
    EXPECT_EQ(b.port.writes.size(), 4u);  // MRD, MDT, MWU, MEX
    EXPECT_EQ(b.port.writes[2].substr(0, 4), "MWU\r");
}

TEST(Send, ErrorStatusStopsTheWrites) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    b.port.onWrite = [&](std::string_view w) {
        if (w.substr(0, 3) == "MDT") b.port.arrive("SER0\r", b.clock.now);
        if (w.substr(0, 3) == "MWN") b.port.arrive("SER7\r", b.clock.now);
    };
    EXPECT_FALSE(sendInstrumentData(b.ctx, serviceWrites()));
    ASSERT_EQ(b.prompts.shown.size(), 2u);
    EXPECT_EQ(b.prompts.shown[0].kind, "plain");
    EXPECT_EQ(b.prompts.shown[0].text, "Error: #7");
    EXPECT_EQ(b.prompts.shown[1].text, "Send error\nRefused: Serial number");
    EXPECT_EQ(b.port.count("MWF"), 0);
    EXPECT_EQ(b.port.writes.back(), "MEX\r");
}

TEST(Send, SilentStatusIsASendError) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    EXPECT_FALSE(sendInstrumentData(b.ctx, serviceWrites()));
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Send error\nNo status: Date and time"});
    EXPECT_EQ(b.port.writes.size(), 3u);  // MRD, MDT, MEX
}

TEST(Send, OnlyAStatusZeroAfterTheWriteIsSuccess) {
    struct Case {
        const char* name;
        std::string handshakeReply;  // what is left over after it is a stray line
        std::string clockReply, userReply;
        bool ok;
        std::vector<std::string> messages;
    } cases[] = {
        {"stray status before the write", "SER\rSER7\r", "SER0\r", "SER\r", true, {}},
        {"busy and empty lines before the status", "SER\r", "%\r\rSER0\r", "SER0\r", true, {}},
        {"refusal names the item",
         "SER\r",
         "SER0\r",
         "SER3\r",
         false,
         {"Error: #3", "Send error\nRefused: User data"}},
        {"empty line, then nothing",
         "SER\r",
         "\r",
         "",
         false,
         {"Send error\nNo status: Date and time"}},
        {"a line that is no status",
         "SER\r",
         "OK\r",
         "",
         false,
         {"Send error\nNo status: Date and time"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench b("TQ41", 2);
        b.port.on("MRD\r", c.handshakeReply);
        b.port.onWrite = [&](std::string_view w) {
            if (w.substr(0, 3) == "MDT") b.port.arrive(c.clockReply, b.clock.now);
            if (w.substr(0, 3) == "MWU") b.port.arrive(c.userReply, b.clock.now);
        };
        InstrumentWrites w = serviceWrites();
        w.switches = {};
        EXPECT_EQ(sendInstrumentData(b.ctx, w), c.ok);
        EXPECT_EQ(b.prompts.texts(), c.messages);
        EXPECT_EQ(b.port.writes.back(), "MEX\r");
    }
}

TEST(Send, TheQuestionListsWhatGoesAndWarnsAboutADocumentsData) {
    testing::ScopedLanguage language(
        "[Language]\nmsgSendConfirm_70=Write?\nwrClock_35=Clock:\nlabSerialNum_25=Serial:\n"
        "labFirmData_25=Firm:\nlabUserData_25=User:\nlabDatTime_25=Calibration:\n"
        "msgSendNotReceived_70=Not from this tester!\n");
    InstrumentWrites w = serviceWrites();
    EXPECT_EQ(sendQuestion(w, true),
              "Write?\nClock: 2024-02-29 23:59:01\nSerial: 12\nFirm: F1 / F2\nUser: U\n"
              "Calibration: 2024-02-29 23:59:01");
    w.switches = {};
    EXPECT_EQ(sendQuestion(w, false),
              "Write?\nClock: 2024-02-29 23:59:01\nUser: U\n\nNot from this tester!");
}

TEST(Send, FamilyBModelIsRefused) {
    LinkBench b("TQ42", 1);
    EXPECT_FALSE(sendInstrumentData(b.ctx, serviceWrites()));
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Connection error"});
    EXPECT_TRUE(b.port.writes.empty());
}

TEST(Send, SlowTesterGetsHalfASecondBeforeItsStatus) {
    LinkBench b("TQ95M", 3);
    b.ctx.data.line(3) = "TQ 95S";
    b.port.on("MRD\r", "SER\r");
    double clockWritten = -1, userWritten = -1;
    b.port.onWrite = [&](std::string_view w) {
        if (w.substr(0, 3) == "MDT") {
            clockWritten = b.clock.now;
            b.port.arrive("SER\r", b.clock.now + 0.1);
        }
        if (w.substr(0, 3) == "MWU") userWritten = b.clock.now;
    };
    sendInstrumentData(b.ctx, InstrumentWrites{});
    ASSERT_GE(userWritten, 0);
    EXPECT_GE(userWritten - clockWritten, 0.5);
}

}  // namespace
}  // namespace pelvoro
