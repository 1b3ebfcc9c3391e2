// The tester simulator, spoken to over its pseudo terminal as the program would.

#include <gtest/gtest.h>

#include <functional>

#include "sim_harness.h"
#include "support/language_fixture.h"

namespace pelvoro::e2e {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

unsigned sum16(const std::string& text) {
    unsigned s = 0;
    for (unsigned char c : text) s = (s + c) & 0xFFFF;
    return s;
}

// A write command of the text testers: checksum low, high, the text, 0x00.
std::string writeCommand(const std::string& name, const std::string& text, unsigned mask = 0) {
    unsigned sum = sum16(text) ^ mask;
    return name + "\r" + bytes({int(sum & 0xFF), int(sum >> 8)}) + text + std::string(1, '\0');
}

TEST(SimulatorProcess, AnnouncesARawTerminalAndEndsWhenItsInputCloses) {
    Simulator sim({"--model", "CV61"});
    ASSERT_EQ(sim.device().rfind("/dev/pts/", 0), 0u) << sim.device();
    int fd = open(sim.device().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(isatty(fd));
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    // Raw before anyone opened it: no echo, no line editing, CR not translated.
    EXPECT_EQ(tio.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(tio.c_iflag & (ICRNL | IGNCR), 0u);
    close(fd);
    EXPECT_TRUE(sim.closeInputAndWait());
    EXPECT_TRUE(WIFEXITED(sim.exitStatus()) && WEXITSTATUS(sim.exitStatus()) == 0);
}

TEST(SimulatorProcess, EndsOnTerminateAndInterrupt) {
    for (int sig : {SIGTERM, SIGINT}) {
        Simulator sim({"--model", "TQ72"});
        ASSERT_FALSE(sim.device().empty());
        EXPECT_TRUE(sim.signalAndWait(sig)) << sig;
        EXPECT_TRUE(WIFEXITED(sim.exitStatus()) && WEXITSTATUS(sim.exitStatus()) == 0);
    }
}

TEST(SimulatorProcess, RefusesUnknownModelsFaultsAndBrokenScenarios) {
    testing::TempDir dir;
    dir.write("bad.sim", "model TQ72\n\n[record]\ndata 01 0\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--model", "XX1"}, "unknown model XX1"},
        {{"--model", "TQ72", "--fault", "fizzle"}, "unknown fault"},
        {{"--model", "TQ72", "--fault", "late:soon"}, "must be a number"},
        {{"--scenario", dir.file("bad.sim")}, "line 4"},
        {{"--scenario", dir.file("missing.sim")}, "cannot read"},
    };
    for (const Case& c : cases) {
        RunResult r = runProgram("pelvoro-sim", c.args, milliseconds(5000));
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << "no device is announced on failure";
    }
}

TEST(SimulatorFamilyC, AnswersTheProbeCountIdentificationAndRecords) {
    Simulator sim({"--scenario", scenarioPath("cv61.sim")});
    Line line(sim.device());
    ASSERT_TRUE(line.isOpen());

    line.send("P");
    EXPECT_EQ(line.readBytes(1), "E");
    line.send("R\xFF");
    EXPECT_EQ(line.readBytes(4), bytes({0x02, 0x00, 3, 0}));

    line.send("Pt");
    std::string block = line.readBytes(363).substr(1);
    ASSERT_EQ(block.size(), 362u);
    auto field = [&](int i) {
        std::string f = block.substr(2 + 40 * size_t(i), 40);
        return f.substr(0, f.find('\xFF'));
    };
    EXPECT_EQ(field(0), "  Tamvisto test bench");
    EXPECT_EQ(field(1), "CV 61");
    EXPECT_EQ(field(2), "2.04");
    EXPECT_EQ(field(3), "61000042");
    EXPECT_EQ(field(8), "");

    // Each data command wants a "P" before it; the first record, then the next ones, then
    // an empty record (first byte 0) at the end of the memory.
    line.send("PR");
    line.send(std::string(1, '\0'));
    std::string first = line.readBytes(22);
    EXPECT_EQ(first.substr(1),
              bytes({0x01, 0x01, 0x00, 0x01, 0x04, 0x00, 0x0A, 0x10, 0x30, 0x09, 0x12,
                     0x26, 0xBA, 0x19, 0x99, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF}));
    std::string next;
    for (int i = 0; i < 3; ++i) {
        line.send("PR\x01");
        next = line.readBytes(22);
        ASSERT_EQ(next.size(), 22u);
    }
    EXPECT_EQ(next.substr(1), std::string(21, '\0'));
}

TEST(SimulatorFamilyC, IgnoresDataCommandsWithoutAProbeFirst) {
    Simulator sim({"--model", "CV61"});
    Line line(sim.device());
    line.send("t");
    EXPECT_EQ(line.readFor(milliseconds(300)), "");
    line.send(std::string("R\xFF"));
    EXPECT_EQ(line.readFor(milliseconds(300)), "");
    EXPECT_TRUE(sim.logShows("without a \"P\" first"));
}

TEST(SimulatorFamilyA, ReadyProbeWithBusyLinesInstrumentDataCountsAndResults) {
    Simulator sim({"--scenario", scenarioPath("tq72.sim")});
    Line line(sim.device());
    EXPECT_EQ(line.ask("MRD\r"), "%\rSER0\r");
    EXPECT_EQ(line.ask("MWH\r"),
              "01.52\r02.Tamvisto Installation\r03.TQ 72\r04.3.21\r05.1.0\r06.\r07.72000017\r"
              "08.Tamvisto_Test street 1\r09.Site A\r10.2.0\r11.15.03.2026\rSER0\r");
    EXPECT_EQ(line.ask("MNU\r"), "2\rSER0\r");
    line.send("MR1\r2\r");
    EXPECT_EQ(line.readUntil("F;10;1;0;231;50.0;\r"),
              "P;001;002;004;01;03;05\rX#PD 09.12.2026 10:17\rF;10;1;0;231;50.0;\r");
    // Unknown numbers and the other argument style are refused with a status.
    EXPECT_EQ(line.ask("MR1\r9\r"), "SER3\r");
    EXPECT_EQ(line.ask("MR1;1\r"), "SER1\r");
    EXPECT_EQ(line.ask("MXY\r"), "SER1\r");
    line.send("MEX\r");
    EXPECT_EQ(line.readFor(milliseconds(200)), "");
}

TEST(SimulatorFamilyA, BusyLinesComeAtTheGivenPace) {
    testing::TempDir dir;
    dir.write("busy.sim", "model TQ71\nbusy 3\nbusy-gap 150\n");
    Simulator sim({"--scenario", dir.file("busy.sim")});
    Line line(sim.device());
    Clock::time_point start = Clock::now();
    EXPECT_EQ(line.ask("MRD\r"), "%\r%\r%\rSER0\r");
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GE(seconds, 0.4);
    EXPECT_LT(seconds, 2.0);
}

TEST(SimulatorFamilyA, WritesAreCheckedAndRemembered) {
    Simulator sim({"--model", "TQ72"});
    Line line(sim.device());
    // The user text: LF dropped, CR kept as the line break the tester reports with "_".
    EXPECT_EQ(line.ask(writeCommand("MWU", "Site\rRoom 2")), "SER0\r");
    EXPECT_EQ(line.ask(writeCommand("MWF", "Firm")), "SER0\r");
    // The serial number's checksum is masked.
    EXPECT_EQ(line.ask(writeCommand("MWN", "12", 0x58E3)), "SER0\r");
    EXPECT_EQ(line.ask(writeCommand("MWN", "13")), "SER2\r");
    std::string wrong = writeCommand("MWU", "Other");
    wrong[4] = static_cast<char>(wrong[4] + 1);
    EXPECT_EQ(line.ask(wrong), "SER2\r");
    // Checksum bytes that happen to be CR and 0x00 do not end the command early.
    EXPECT_EQ(line.ask(writeCommand("MWF", "\r")), "SER0\r");

    std::string data = line.ask("MWH\r");
    EXPECT_NE(data.find("\r07.12\r"), std::string::npos) << data;
    EXPECT_NE(data.find("\r09.Site_Room 2\r"), std::string::npos) << data;

    EXPECT_EQ(line.ask("MDT\r7EA\r0C\r09\r05\r2A\r00\r"), "SER0\r");
    EXPECT_EQ(line.ask("MDT\r7EA\r0D\r09\r05\r2A\r00\r"), "SER1\r") << "month 13";
    EXPECT_EQ(line.ask("MCD\r7EA\r03\r1F\r00\r00\r00\r"), "SER0\r");
    EXPECT_NE(line.ask("MWH\r").find("\r11.31.03.2026\r"), std::string::npos);
}

TEST(SimulatorFamilyA, StructureAndResultTransfersWaitForTheProgramsAcknowledgement) {
    Simulator sim({"--scenario", scenarioPath("tq41.sim")});
    Line line(sim.device());
    EXPECT_EQ(line.ask("MNS\r"), "3\rSER0\r");
    line.send("MST\r");
    EXPECT_EQ(line.readUntil("010000000000\r"), "01\rFFFF\rFFFF\rHouse\r010000000000\r");
    EXPECT_EQ(line.readFor(milliseconds(200)), "") << "the next entry waits for \"+\"";
    line.send("+\r");
    EXPECT_EQ(line.readUntil("020000000000\r"), "02\r01\rFFFF\rBoard 1\r020000000000\r");
    line.send("+\r");
    line.readUntil("050000000000\r");
    EXPECT_EQ(line.ask("+\r"), "SER0\r");

    // "-" stops a transfer.
    line.send("MST\r");
    line.readUntil("010000000000\r");
    line.send("-\r");
    EXPECT_EQ(line.readFor(milliseconds(200)), "");

    EXPECT_EQ(line.ask("MPR\r2\r"), "SER0\r");
    line.send("MRA\r");
    EXPECT_EQ(line.readUntil("-\r"), "#03\rX#PD Insulation\rF;2;0;0;500;1.00M;>199.9M;512;1;\r-\r");
    EXPECT_EQ(line.ask("+\r"), "#---\rSER0\r");
}

TEST(SimulatorFamilyA, ClearingAndAddingStructureEntries) {
    testing::TempDir dir;
    dir.write("small.sim", "model TQ41\ncapacity 1\nbusy-gap 20\n");
    Simulator sim({"--scenario", dir.file("small.sim")});
    Line line(sim.device());
    EXPECT_EQ(line.ask("MCM\r"), "%0\r%25\r%50\r%75\r%100\rSER0\r");
    EXPECT_EQ(line.ask("MAS\rFFF0\rFFFF\rFFF0\rHouse\r010000000000\r"), "01\rSER0\r");
    EXPECT_EQ(line.ask("MAS\rFFF0\r01\rFFF0\rBoard\r020000000000\r"), "FFFF\rSER99\r");
    EXPECT_EQ(line.ask("MNS\r"), "1\rSER0\r");
    line.send("MST\r");
    EXPECT_EQ(line.readUntil("010000000000\r"), "01\rFFFF\rFFFF\rHouse\r010000000000\r");
}

TEST(SimulatorFamilyA, SemicolonStyleTesterKeepsANamedStructure) {
    Simulator sim({"--scenario", scenarioPath("tq75.sim")});
    Line line(sim.device());
    EXPECT_EQ(line.ask("MNN\r"), "3\rSER0\r");
    line.send("MN1;2\r");
    EXPECT_EQ(line.readUntil(";\r"), "P;001;001;000;03;Block A;\r");
    line.send("MR1;1\r");
    EXPECT_EQ(line.readUntil("12.5;\r"),
              "P;001;001;001;01;03;05\rV;2\rD;09;12;2026;08;00;\rF;13;0;0;12.5;\r");
    EXPECT_EQ(line.ask("MAS;1;2;0;3;Block B;\r"), "SER0\r");
    line.send("MN1;4\r");
    EXPECT_EQ(line.readUntil(";\r"), "P;001;002;000;03;Block B;\r");
    EXPECT_EQ(line.ask("MN1\r"), "SER1\r") << "this tester takes its arguments after \";\"";
}

TEST(SimulatorFamilyB, IdentificationCountRecordsAndTheEndOfMemory) {
    Simulator sim({"--scenario", scenarioPath("tq42.sim")});
    Line line(sim.device());
    line.send("MRD");
    EXPECT_EQ(line.readBytes(5), std::string("SER\0\0", 5));

    line.send("MWH");
    std::string head = line.readBytes(5);
    ASSERT_EQ(head.substr(0, 3), "SWH");
    size_t length =
        size_t(static_cast<unsigned char>(head[3])) * 256 + static_cast<unsigned char>(head[4]);
    std::string block = line.readBytes(length);
    ASSERT_EQ(block.size(), length);
    EXPECT_EQ(block[0], 20) << "the type code byte";
    std::string fields;
    for (const char* f :
         {"Tamvisto Install", "TQ 42", "1.10", "42000099", "Tamvisto", "Site B", ""})
        fields += std::string(f) + '\0';
    EXPECT_EQ(block.substr(2), fields);
    line.send("MHW");
    EXPECT_EQ(line.readBytes(9), std::string("SHW\0\x04"
                                             "2.3\r",
                                             9));

    line.send("MNU");
    EXPECT_EQ(line.readBytes(6), std::string("SNU\x02\0\x02", 6));
    auto nextRecord = [&] {
        line.send("MRE");
        std::string head = line.readBytes(4);
        EXPECT_EQ(head.substr(0, 3), "SRE");
        return line.readBytes(head.size() == 4 ? static_cast<unsigned char>(head[3]) : 0);
    };
    EXPECT_EQ(nextRecord().substr(0, 7), bytes({0, 1, 0, 1, 0, 1, 0x0F}));
    EXPECT_EQ(nextRecord(), bytes({0, 1, 0, 1, 0, 2, 0x22}) + "R" + bytes({0, 0}) + "Pass" +
                                bytes({0}) + "M" + bytes({1, 5}) + "0.35" + bytes({0}));
    // After the last record an empty one confirms the end.
    line.send("MRE");
    EXPECT_EQ(line.readBytes(4), std::string("SRE\0", 4));
    // A new count starts the records again.
    line.send("MNU");
    line.readBytes(6);
    line.send("MRE");
    EXPECT_EQ(line.readBytes(10).substr(4), bytes({0, 1, 0, 1, 0, 1}));
}

TEST(SimulatorFamilyB, SilentEndOfMemoryAndStrayBytes) {
    testing::TempDir dir;
    dir.write("silent.sim", "model TQ22\nafter-last silent\n");
    Simulator sim({"--scenario", dir.file("silent.sim")});
    Line line(sim.device());
    line.send("MNU");
    EXPECT_EQ(line.readBytes(6), std::string("SNU\x02\0\0", 6));
    line.send("MRE");
    EXPECT_EQ(line.readFor(milliseconds(300)), "");
    // A text-line probe reaches a binary tester as "MRD" and a stray CR.
    line.send("MRD\r");
    EXPECT_EQ(line.readFor(milliseconds(300)), std::string("SER\0\0", 5));
}

TEST(SimulatorFamilyB, HighVoltageRecordWithGraphIsFollowedByItsCountedText) {
    Simulator sim({"--scenario", scenarioPath("tq60.sim")});
    Line line(sim.device());
    line.send("MNU");
    line.readBytes(6);
    line.send("MRG");
    std::string first = line.readFor(milliseconds(300));
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(first.size(), 4u + static_cast<unsigned char>(first[3])) << "no graph follows";
    line.send("MRG");
    std::string second = line.readUntil("#EOF;");
    size_t length = static_cast<unsigned char>(second[3]);
    std::string graph = second.substr(4 + length);
    EXPECT_EQ(graph,
              "#5;\n\r2;261209103000;1;5000;\n\rsamples\n\r1.2E9;5000;0;\n\r1.1E9;5000;10;\n\r"
              "9.8E8;5000;20;\n\r#EOF;");
}

// Each fault changes the reply to one command; the others stay sound.
TEST(SimulatorFaults, EachFaultChangesTheReplyAsAsked) {
    struct Case {
        std::string fault;
        std::string command;
        std::function<void(const std::string& reply)> check;
    } cases[] = {
        {"silence@MWH", "MWH\r", [](const std::string& r) { EXPECT_EQ(r, ""); }},
        {"garbage@MNU:12", "MNU\r",
         [](const std::string& r) {
             // junk lines: bytes 0x80-0xFE, each line ended by CR
             ASSERT_EQ(r.size(), 12u);
             for (size_t i = 0; i < r.size(); ++i) {
                 if (i == 7 || i == 11)
                     EXPECT_EQ(r[i], '\r');
                 else
                     EXPECT_GE(static_cast<unsigned char>(r[i]), 0x80);
             }
         }},
        {"short@MNU:3", "MNU\r", [](const std::string& r) { EXPECT_EQ(r, "2\rSE"); }},
        {"nocr@MNU", "MNU\r", [](const std::string& r) { EXPECT_EQ(r, "2SER0"); }},
        {"ser@MDT:7", "MDT\r7EA\r0C\r09\r05\r2A\r00\r",
         [](const std::string& r) { EXPECT_EQ(r, "SER7\r"); }},
        {"ser", "MNU\r", [](const std::string& r) { EXPECT_EQ(r, "2\rSER5\r"); }},
        {"short@MR1#2", "MR1\r1\rMR1\r2\r",
         [](const std::string& r) {
             EXPECT_EQ(r,
                       "P;001;002;003;01;03;05\rX#PD 09.12.2026 10:15\rF;6;3;0;0.35;2.00;0.01;\r"
                       "P;001;002;004;01;03;05\rX#PD 09.1");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Simulator sim({"--scenario", scenarioPath("tq72.sim"), "--fault", c.fault});
        Line line(sim.device());
        line.send(c.command);
        c.check(line.readFor(milliseconds(400)));
        // The fault stays with its command: the probe is answered as usual.
        if (c.fault.find('@') != std::string::npos) {
            EXPECT_EQ(line.ask("MRD\r"), "%\rSER0\r");
        }
    }
}

TEST(SimulatorFaults, LateReplyArrivesAfterTheDelay) {
    Simulator sim({"--model", "CV61", "--fault", "late@P:700"});
    Line line(sim.device());
    line.send("P");
    EXPECT_EQ(line.readFor(milliseconds(400)), "");
    EXPECT_EQ(line.readBytes(1, milliseconds(1500)), "E");
}

TEST(SimulatorFaults, PulledCableClosesTheLineMidReplyAndEndsTheSimulator) {
    Simulator sim({"--model", "CV61", "--fault", "pull@t:100"});
    Line line(sim.device());
    line.send("Pt");
    std::string got = line.readBytes(363, milliseconds(1000));
    EXPECT_EQ(got.size(), 101u) << "\"E\" and the first 100 bytes of the block";
    EXPECT_TRUE(line.hungUp());
    EXPECT_TRUE(sim.endedWithin(milliseconds(2000)));
    EXPECT_TRUE(sim.logShows("cable pulled"));
}

TEST(SimulatorThrottle, BaudRateLimitsTheSpeedOfReplies) {
    // 362 bytes of ten bits at 4800 baud take 0.754 s; unthrottled they take no time.
    for (bool throttled : {false, true}) {
        std::vector<std::string> args = {"--model", "CV61"};
        if (throttled) args.insert(args.end(), {"--baud", "4800"});
        Simulator sim(args);
        Line line(sim.device());
        line.send("Pt");
        Clock::time_point start = Clock::now();
        std::string got = line.readBytes(363, milliseconds(3000));
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        EXPECT_EQ(got.size(), 363u);
        if (throttled) {
            EXPECT_GE(seconds, 0.7);
            EXPECT_LT(seconds, 2.5);
        } else {
            EXPECT_LT(seconds, 0.5);
        }
    }
}

TEST(SimulatorThrottle, StrictBaudUnderstandsOnlyItsOwnRate) {
    Simulator sim({"--model", "CV61", "--baud", "2400", "--strict-baud"});
    Line line(sim.device(), B4800);
    line.send("P");
    EXPECT_EQ(line.readFor(milliseconds(300)), "");
    line.setSpeed(B2400);
    line.send("P");
    EXPECT_EQ(line.readBytes(1), "E");
}

}  // namespace
}  // namespace pelvoro::e2e
