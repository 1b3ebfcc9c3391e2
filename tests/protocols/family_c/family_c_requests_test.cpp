#include "protocols/family_c/family_c_requests.h"

#include <gtest/gtest.h>

#include "protocols/instrument_fixture.h"

namespace pelvoro {
namespace {

using instrdata_testing::familyCBlock;
using instrdata_testing::LinkBench;

TEST(FamilyCRequest, HandshakeAcknowledgeAndTheIdentificationBlock) {
    LinkBench b("CV61", 1);
    b.port.on("P", "E");
    b.port.on("t", familyCBlock(), 0.1, 0.002);
    EXPECT_TRUE(requestFamilyCData(b.link, b.ctx.data));
    EXPECT_EQ(b.ctx.data.line(8), "Firm");
    EXPECT_EQ(b.ctx.data.line(2), "CV 61");
    EXPECT_EQ(b.ctx.data.line(4), "2.01");
    EXPECT_EQ(b.ctx.data.line(7), "000042");
    EXPECT_EQ(b.port.writes, (std::vector<std::string>{"P", "P", "t"}));
    EXPECT_FALSE(b.progress.visible);
    EXPECT_TRUE(b.prompts.shown.empty());
}

TEST(FamilyCRequest, MissingAcknowledgeStopsBeforeTheBlock) {
    LinkBench b("CV61", 1);
    b.port.on("P", std::vector<testing::ScriptedPort::Reply>{{"E"}, {""}},
              true);            // the handshake is answered, the data request not
    b.ctx.data.line(1) = "51";  // an earlier tester's: a download goes on without it
    EXPECT_FALSE(requestFamilyCData(b.link, b.ctx.data));
    EXPECT_EQ(b.ctx.data.line(1), "");
    EXPECT_EQ(b.port.count("t"), 0);
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Communication failure   Error #2C"});
}

}  // namespace
}  // namespace pelvoro
