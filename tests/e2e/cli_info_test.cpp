// pelvoro-cli info against the tester simulator on a real pseudo terminal.

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

class CliInfo : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!cliHasCommand("info")) GTEST_SKIP() << "pelvoro-cli has no info command yet";
    }

    // At 4800 baud a block that never completes fails after the 2.592 s floor (at the
    // stored default of 300 baud the 362-byte block alone would be allowed 41.7 s).
    static RunResult info(const std::string& model, const std::string& device) {
        return runProgram("pelvoro-cli",
                          {"info", "--model", model, "--device", device, "--baud", "4800"},
                          milliseconds(40000));
    }

    // After the program has ended the line is free again and the tester still answers.
    static void expectLineFreeAndTesterAlive(const Simulator& sim, const std::string& model,
                                             bool probeAnswered = true) {
        Line line(sim.device());
        ASSERT_TRUE(line.isOpen()) << "the port was left open";
        if (!probeAnswered) return;
        if (model == "CV61") {
            line.send("P");
            EXPECT_EQ(line.readBytes(1), "E");
        } else if (model == "TQ42") {
            line.send("MRD");
            EXPECT_EQ(line.readBytes(5), std::string("SER\0\0", 5));
        } else {
            EXPECT_NE(line.ask("MRD\r").find("SER"), std::string::npos);
        }
    }
};

TEST_F(CliInfo, PrintsTheInstrumentDataOfATesterOfEachFamily) {
    struct Case {
        std::string model, scenario;
        std::vector<std::string> shown;
    } cases[] = {
        {"CV61", "cv61.sim", {"CV 61", "2.04", "61000042", "Tamvisto test bench"}},
        {"TQ72", "tq72.sim", {"Tamvisto Installation", "TQ 72", "3.21", "72000017", "15.03.2026"}},
        {"TQ42", "tq42.sim", {"Tamvisto Install", "TQ 42", "42000099", "Site B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Simulator sim({"--scenario", scenarioPath(c.scenario)});
        ASSERT_FALSE(sim.device().empty());
        RunResult r = info(c.model, sim.device());
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        for (const std::string& text : c.shown)
            EXPECT_NE(r.out.find(text), std::string::npos) << text << " in:\n" << r.out;
        expectLineFreeAndTesterAlive(sim, c.model);
        EXPECT_TRUE(sim.closeInputAndWait()) << "the simulator is left running";
    }
}

// One injected fault: the command ends in time with its message, the port is closed and
// the simulator is still there to be ended.
struct FaultCase {
    std::string model, fault;
    std::string messageKey;  // empty: no message at all
    std::string suffix;      // appended to the message
    bool succeeds;           // the command still ends with success
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.model << " " << c.fault;
}

class CliInfoFault : public CliInfo, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CliInfoFault, GivesItsMessageAndLeavesNothingOpen) {
    const FaultCase& c = GetParam();
    Simulator sim({"--model", c.model, "--fault", c.fault});
    RunResult r = info(c.model, sim.device());
    EXPECT_FALSE(r.timedOut) << "the command hangs";
    if (c.succeeds) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
    } else {
        EXPECT_NE(r.exitCode, 0) << r.out;
    }
    if (c.messageKey.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        std::string message = englishText(c.messageKey) + c.suffix;
        EXPECT_NE(r.err.find(message), std::string::npos) << message << " in:\n" << r.err;
    }
    bool probeAnswered = c.fault.find('@') != std::string::npos &&
                         c.fault.find("@MRD") == std::string::npos &&
                         c.fault.find("@P") == std::string::npos;
    expectLineFreeAndTesterAlive(sim, c.model, probeAnswered);
    EXPECT_TRUE(sim.closeInputAndWait()) << "the simulator is left running";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CliInfoFault,
    ::testing::Values(FaultCase{"TQ72", "silence", "msgConnectError_35", "", false},
                      FaultCase{"CV61", "silence", "msgConnectError_35", "", false},
                      FaultCase{"TQ42", "silence", "msgConnectError_35", "", false},
                      FaultCase{"CV61", "garbage@P", "msgConnectError_35", "", false},
                      FaultCase{"TQ72", "garbage@MWH", "msgConnectError_35", "", false},
                      FaultCase{"TQ72", "nocr@MWH", "msgConnectError_35", "", false},
                      FaultCase{"TQ72", "silence@MWH", "msgConnectError_35", "", false},
                      FaultCase{"TQ42", "silence@MWH", "msgCommunFail_35", "   Error #2C", false},
                      FaultCase{"TQ42", "short@MWH:5", "msgCommunFail_35", "   Error #3", false},
                      FaultCase{"CV61", "short@t:10", "msgCommunFail_35", "   Error #3", false},
                      FaultCase{"TQ72", "late@MWH:500", "", "", true}),
    [](const ::testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.model + "_";
        for (char ch : info.param.fault)
            name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

TEST_F(CliInfo, AutoIdentifiesTextAndBinaryTestersButNeverProbesTheSingleLetterOne) {
    struct Case {
        std::string model;
        bool found;
    } cases[] = {{"TQ95M", true}, {"RB7", true}, {"CV61", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Simulator sim({"--model", c.model});
        RunResult r = runProgram("pelvoro-cli",
                                 {"info", "--auto", "--device", sim.device(), "--baud", "4800"},
                                 milliseconds(40000));
        EXPECT_FALSE(r.timedOut);
        if (c.found) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_NE(r.out.find(c.model), std::string::npos) << r.out;
        } else {
            EXPECT_NE(r.exitCode, 0);
            EXPECT_NE(r.err.find(englishText("msgConnectError_35")), std::string::npos) << r.err;
            EXPECT_EQ(sim.log().find("rx P"), std::string::npos) << "\"P\" was sent";
        }
    }
}

TEST_F(CliInfo, CablePulledMidTransferEndsWithAMessage) {
    Simulator sim({"--scenario", scenarioPath("tq72.sim"), "--fault", "pull@MWH:40"});
    RunResult r = info("TQ72", sim.device());
    EXPECT_FALSE(r.timedOut);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(englishText("msgConnectError_35")), std::string::npos) << r.err;
    EXPECT_TRUE(sim.endedWithin(milliseconds(2000)));
}

TEST_F(CliInfo, PortNumberIsMappedToTheSimulatorByTheEnvironment) {
    Simulator sim({"--scenario", scenarioPath("tq72.sim")});
    RunResult r =
        runProgram("pelvoro-cli", {"info", "--model", "TQ72", "--port", "3", "--baud", "4800"},
                   milliseconds(40000), {"PELVORO_PORT_3=" + sim.device()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("72000017"), std::string::npos) << r.out;
}

TEST_F(CliInfo, MissingDeviceIsReportedAsAnUnavailablePort) {
    RunResult r = info("TQ72", "/dev/pts/pelvoro-no-such-device");
    EXPECT_FALSE(r.timedOut);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(englishText("msgNotAvailPort_35")), std::string::npos) << r.err;
}

TEST_F(CliInfo, ThrottledTesterIsReadAtItsBaudRate) {
    // 362 bytes at 2400 baud take 1.5 s on the line; the block allowance is 5.2 s.
    Simulator sim({"--scenario", scenarioPath("cv61.sim"), "--baud", "2400"});
    RunResult r = runProgram(
        "pelvoro-cli", {"info", "--model", "CV61", "--device", sim.device(), "--baud", "2400"},
        milliseconds(40000));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("61000042"), std::string::npos) << r.out;
    EXPECT_GE(r.seconds, 1.5);
}

}  // namespace
}  // namespace pelvoro::e2e
