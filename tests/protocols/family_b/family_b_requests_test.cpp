#include "protocols/family_b/family_b_requests.h"

#include <gtest/gtest.h>

#include "protocols/instrument_fixture.h"

namespace pelvoro {
namespace {

using instrdata_testing::familyBBlock;
using instrdata_testing::familyBReply;
using instrdata_testing::hwReply;
using instrdata_testing::LinkBench;

TEST(FamilyBRequest, HardwareVersionStepFromFirmwareOnePointOne) {
    struct Case {
        const char* key;
        const char* firmware;
        bool asksHardware;
    } cases[] = {{"TQ42", "v1.10", true},
                 {"TQ42", "v1.05", false},
                 {"TQ60", "v2.0", false},
                 {"", "v2.0", false}};
    for (const Case& c : cases) {
        LinkBench b;
        ASSERT_TRUE(b.port.open());
        b.port.on("MWH", familyBReply(familyBBlock(24, {"Name", "TQ 42", c.firmware, "777"})));
        b.port.on("MHW", hwReply(std::string("HW 3\0", 5)));
        EXPECT_TRUE(requestFamilyBData(b.link, b.ctx.data, FirmwareFieldRule::Whole, c.key))
            << c.firmware;
        EXPECT_EQ(b.ctx.data.line(4), c.firmware);
        EXPECT_EQ(b.ctx.data.line(7), "777");
        EXPECT_EQ(b.port.count("MHW"), c.asksHardware ? 1 : 0) << c.key << " " << c.firmware;
        EXPECT_EQ(b.ctx.data.line(5), c.asksHardware ? "HW 3" : "") << c.firmware;
    }
}

TEST(FamilyBRequest, FailedHardwareExchangeFailsTheRequest) {
    LinkBench b;
    ASSERT_TRUE(b.port.open());
    b.port.on("MWH", familyBReply(familyBBlock(24, {"Name", "TQ 42", "1.2"})));
    EXPECT_FALSE(requestFamilyBData(b.link, b.ctx.data, FirmwareFieldRule::Whole, "TQ42"));
    EXPECT_EQ(b.ctx.data.line(3), "TQ 42");
    EXPECT_TRUE(b.prompts.showed("Communication failure   Error #2C"));
}

TEST(FamilyBRequest, ShortBlockChangesNothing) {
    LinkBench b;
    ASSERT_TRUE(b.port.open());
    std::string reply = familyBReply(familyBBlock(24, {"Name", "TQ 42"}));
    reply.pop_back();
    b.port.on("MWH", reply);
    EXPECT_FALSE(requestFamilyBData(b.link, b.ctx.data, FirmwareFieldRule::Whole));
    EXPECT_EQ(b.ctx.data.line(1), "");
    EXPECT_EQ(b.ctx.data.line(2), "");
    EXPECT_TRUE(b.prompts.showed("Communication failure   Error #3"));
}

TEST(FamilyBRequest, GarbledLengthFailsAtOnce) {
    LinkBench b;
    // A length field of 65535 would allow about eight minutes at 300 baud: a length above
    // the request's buffer (1000 bytes for the instrument data) fails without waiting.
    b.port.setBaudRate(300);
    b.port.on("MWH", std::string("SWH\xFF\xFF", 5) + std::string(40, 'x'));
    ASSERT_TRUE(b.link.ensurePortOpen());
    TInstrumentData data;
    data.line(2) = "kept";
    EXPECT_FALSE(requestFamilyBData(b.link, data, FirmwareFieldRule::Whole));
    EXPECT_LT(b.clock.now, 1.0);
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Communication failure   Error #3"});
    EXPECT_EQ(data.line(2), "") << "what the record held came from another exchange";
    // Within the buffer the block is waited for as usual.
    b.prompts.shown.clear();
    EXPECT_FALSE(b.link.readBlock(1000, 1000));
    EXPECT_GE(b.clock.now, 2.592);
}

}  // namespace
}  // namespace pelvoro
