// pelvoro-cli find (the port dialog's search) against the tester simulator.

#include <gtest/gtest.h>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

TEST(CliFind, FindsTheRateOfATesterThatAnswersOnlyAtItsOwnRate) {
    if (!cliHasCommand("find")) GTEST_SKIP() << "pelvoro-cli has no find command";
    Simulator sim({"--scenario", scenarioPath("tq41.sim"), "--baud", "2400", "--strict-baud"});
    ASSERT_FALSE(sim.device().empty());
    // The first pass tries 300 baud and fails; the full pass starts at COM1 with 4800.
    RunResult r = runProgram("pelvoro-cli",
                             {"find", "--model", "TQ41", "--port", "1", "--baud", "300", "--device",
                              "1=" + sim.device()},
                             milliseconds(60000));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "port: 1\nbaud: 2400\nfamily: Instr_A\nmodel: TQ41\n");
    // The result box names the port and the rate.
    EXPECT_NE(r.err.find(englishText("rgBaudRate_15") + ":  2400"), std::string::npos) << r.err;
    // The port is free again.
    Line line(sim.device());
    EXPECT_TRUE(line.isOpen());
}

TEST(CliFind, RefusesAnUnknownModel) {
    if (!cliHasCommand("find")) GTEST_SKIP() << "pelvoro-cli has no find command";
    RunResult r = runProgram("pelvoro-cli", {"find", "--model", "XX1"}, milliseconds(10000));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("unknown model"), std::string::npos);
}

}  // namespace
}  // namespace pelvoro::e2e
