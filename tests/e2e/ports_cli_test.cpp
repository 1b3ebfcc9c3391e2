// pelvoro-cli ports: the device of each port number and the wire log's place.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

TEST(PortsCli, ListsEveryPortWithItsDeviceAndTheWireLog) {
    RunResult r = runProgram("pelvoro-cli", {"ports"}, milliseconds(10000),
                             {"PELVORO_PORT_3=/dev/pts/42", "PELVORO_WIRE_LOG=/tmp/pelvoro-w.log"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("COM3   /dev/pts/42\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("COM16  "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("wire log  /tmp/pelvoro-w.log\n"), std::string::npos) << r.out;
}

TEST(PortsCli, ExchangeOverThePortIsInTheWireLog) {
    // The simulator answers on a pty; the program's exchange must show up in the log.
    Simulator sim({"--model", "TQ72"});
    ASSERT_FALSE(sim.device().empty());
    const std::string log =
        ::testing::TempDir() + "pelvoro-wire-" + std::to_string(getpid()) + ".log";
    RunResult r = runProgram(
        "pelvoro-cli", {"info", "--model", "TQ72", "--device", sim.device(), "--baud", "4800"},
        milliseconds(30000), {"PELVORO_WIRE_LOG=" + log});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(log, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(" open port 1 (" + sim.device() + ") at 4800 baud"), std::string::npos)
        << text;
    EXPECT_NE(text.find(">  4D 52 44 0D"), std::string::npos);  // MRD CR
    EXPECT_NE(text.find(">  4D 45 58 0D"), std::string::npos);  // MEX CR
    EXPECT_NE(text.find(" close port 1"), std::string::npos);
    std::remove(log.c_str());
}

}  // namespace
}  // namespace pelvoro::e2e
