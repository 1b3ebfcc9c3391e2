// pelvoro-cli find: the port search finds a simulated tester that understands only its
// own baud rate.

#include <gtest/gtest.h>

#include <ostream>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

struct FindCase {
    std::string model;       // the tester, and the model the search is told to look for
    std::string testerBaud;  // the only rate it understands
    std::string startBaud;   // where the search starts
    std::string family;
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.model << " at " << c.testerBaud << " from " << c.startBaud;
}

class CliFind : public ::testing::TestWithParam<FindCase> {
  protected:
    void SetUp() override {
        if (!cliHasCommand("find")) GTEST_SKIP() << "pelvoro-cli has no find command yet";
    }
};

TEST_P(CliFind, FindsTheTesterAtItsRateOnThePortOfItsDevice) {
    const FindCase& c = GetParam();
    Simulator sim({"--model", c.model, "--baud", c.testerBaud, "--strict-baud"});
    ASSERT_FALSE(sim.device().empty());
    RunResult r = runProgram("pelvoro-cli",
                             {"find", "--model", c.model, "--device", "1=" + sim.device(), "--port",
                              "1", "--baud", c.startBaud},
                             milliseconds(60000));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("port: 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("baud: " + c.testerBaud + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("family: " + c.family + "\n"), std::string::npos) << r.out;
    if (c.family != "Instr_C") {
        EXPECT_NE(r.out.find("model: " + c.model + "\n"), std::string::npos) << r.out;
    } else {
        EXPECT_TRUE(sim.logShows("the program's search has ended")) << "\"u\" was not sent";
    }
    EXPECT_TRUE(sim.logShows("wrong baud rate")) << "other rates were tried first";
    EXPECT_TRUE(sim.closeInputAndWait());
}

INSTANTIATE_TEST_SUITE_P(Rates, CliFind,
                         ::testing::Values(FindCase{"TQ61", "1200", "4800", "Instr_B"},
                                           FindCase{"TQ72", "2400", "300", "Instr_A"},
                                           FindCase{"CV61", "4800", "300", "Instr_C"}),
                         [](const ::testing::TestParamInfo<FindCase>& info) {
                             return info.param.model + "_" + info.param.testerBaud;
                         });

}  // namespace
}  // namespace pelvoro::e2e
