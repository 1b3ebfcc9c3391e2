#include "instrument/wire_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/language_fixture.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::ScriptedPort;
using testing::TempDir;
using testing::VirtualClock;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(WireLog, HexAndPrintableText) {
    EXPECT_EQ(WireLog::hexLine("MRD\r"), "4D 52 44 0D                                      |MRD.|");
    EXPECT_EQ(WireLog::hexLine(std::string("\x00\xFF~ ", 4)),
              "00 FF 7E 20                                      |..~ |");
}

TEST(WireLog, LongWritesAreSplitIntoLinesOfSixteen) {
    TempDir dir;
    WireLog log(dir.file("wire.log"));
    log.timeStamp = [] { return std::string("T"); };
    log.sent(std::string(20, 'A'));
    EXPECT_EQ(fileText(dir.file("wire.log")),
              "T >  41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41  |AAAAAAAAAAAAAAAA|\n"
              "  >  41 41 41 41                                      |AAAA|\n");
}

TEST(WireLog, FullFileIsRotatedOnce) {
    TempDir dir;
    const std::string path = dir.file("wire.log");
    WireLog log(path, 4096);
    log.timeStamp = [] { return std::string("T"); };
    for (int i = 0; i < 400; ++i) log.note("line " + std::to_string(i));
    ASSERT_TRUE(std::filesystem::exists(path + ".1"));
    EXPECT_FALSE(std::filesystem::exists(path + ".2"));
    EXPECT_LE(std::filesystem::file_size(path), 4096u);
    EXPECT_LE(std::filesystem::file_size(path + ".1"), 4096u);
    // The newest lines are in the current file, nothing is lost at the seam.
    const std::string current = fileText(path), older = fileText(path + ".1");
    EXPECT_NE(current.find("T line 399\n"), std::string::npos);
    const std::size_t firstCurrent = std::stoul(current.substr(current.find("line ") + 5));
    EXPECT_NE(older.find("T line " + std::to_string(firstCurrent - 1) + "\n"), std::string::npos);
}

TEST(WireLog, LoggedPortRecordsEveryByteBothWays) {
    TempDir dir;
    VirtualClock clock;
    auto scripted = std::make_unique<ScriptedPort>(clock);
    ScriptedPort& inner = *scripted;
    auto log = std::make_shared<WireLog>(dir.file("wire.log"));
    log->timeStamp = [] { return std::string("T"); };
    LoggedSerialPort port(std::move(scripted), log);
    inner.on("MRD\r", "SER0\r");
    inner.arrive("junk", 0);
    port.setPortNumber(3);
    port.setBaudRate(2400);
    ASSERT_TRUE(port.open());
    port.purgeInput();  // the junk is dropped but logged
    port.write("MRD\r");
    std::string got;
    while (port.bytesWaiting() > 0) got += port.read(1);  // byte by byte, as reply lines are
    EXPECT_EQ(got, "SER0\r");
    port.close();
    EXPECT_EQ(fileText(dir.file("wire.log")),
              "T open port 3 at 2400 baud\n"
              "T <  6A 75 6E 6B                                      |junk|\n"
              "T purged 4 received bytes\n"
              "T >  4D 52 44 0D                                      |MRD.|\n"
              "T <  53 45 52 30 0D                                   |SER0.|\n"
              "T close port 3 at 2400 baud\n");
}

TEST(WireLog, GatheredBytesCarryTheTimeOfTheirFirstByte) {
    TempDir dir;
    VirtualClock clock;
    auto scripted = std::make_unique<ScriptedPort>(clock);
    ScriptedPort& inner = *scripted;
    auto log = std::make_shared<WireLog>(dir.file("wire.log"));
    int tick = 0;
    log->timeStamp = [&tick] { return "T" + std::to_string(++tick); };
    LoggedSerialPort port(std::move(scripted), log);
    ASSERT_TRUE(port.open());  // T1
    inner.arrive("OK\r", 0);
    port.read(1);  // T2: the line's stamp
    port.read(1);
    port.read(1);
    port.write("X");  // T3 (the gathered line is written first, with T2)
    port.flushReceived();
    const std::string text = fileText(dir.file("wire.log"));
    EXPECT_NE(text.find("T2 <  4F 4B 0D"), std::string::npos) << text;
    EXPECT_NE(text.find("T3 >  58"), std::string::npos) << text;
}

TEST(WireLog, FailedOpenIsLoggedWithItsReason) {
    TempDir dir;
    VirtualClock clock;
    auto scripted = std::make_unique<ScriptedPort>(clock);
    scripted->failOpen = true;
    scripted->failReason = "The device /dev/ttyUSB0 does not exist.";
    auto log = std::make_shared<WireLog>(dir.file("wire.log"));
    log->timeStamp = [] { return std::string("T"); };
    LoggedSerialPort port(std::move(scripted), log);
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.openFailure(), "The device /dev/ttyUSB0 does not exist.");
    EXPECT_EQ(fileText(dir.file("wire.log")),
              "T cannot open port 1 at 115200 baud: The device /dev/ttyUSB0 does not exist.\n");
}

}  // namespace
}  // namespace pelvoro
