// The simulator's scenario reader and tester, driven directly (no line, no clock).

#include <gtest/gtest.h>

#include "scenario.h"
#include "tester.h"

namespace pelvoro::sim {
namespace {

std::string joined(const std::vector<Chunk>& chunks) {
    std::string all;
    for (const Chunk& c : chunks) all += c.bytes;
    return all;
}

Tester makeTester(const std::string& model, const std::string& scenarioText = "") {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(parseScenario(scenarioText, scenario, error)) << error;
    scenario.replyDelayMs = 0;
    return Tester(*findTesterModel(model), scenario, [](const std::string&) {});
}

TEST(SimScenario, ReadsSettingsSectionsEscapesAndBytes) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(
        parseScenario("# a comment\r\n"
                      "model TQ75\r\n"
                      "busy 2\r\n"
                      "after-last repeat\r\n"
                      "fault pull@MRE#2:3\r\n"
                      "[instrument]\r\n"
                      "firm \\x20Line 1\\rLine 2\\\\\r\n"
                      "[structure]\r\n"
                      "01|FFFF|FFFF|A\\x7CB|01\r\n"
                      "[result]\r\n"
                      "parent 0A\r\n"
                      "P;001;000;000;01;01;00\r\n"
                      "[record]\r\n"
                      "data 0001 \"G\\0\" FF\r\n"
                      "graph 1;2;3;\r\n"
                      "graph-count 7\r\n",
                      s, error))
        << error;
    EXPECT_EQ(s.model, "TQ75");
    EXPECT_EQ(s.busyLines, 2);
    EXPECT_EQ(s.afterLast, AfterLast::Repeat);
    ASSERT_EQ(s.faults.size(), 1u);
    EXPECT_EQ(s.faults[0].kind, Fault::Kind::Pull);
    EXPECT_EQ(s.faults[0].command, "MRE");
    EXPECT_EQ(s.faults[0].occurrence, 2);
    EXPECT_EQ(s.faults[0].arg, "3");
    EXPECT_EQ(s.instrument["firm"], " Line 1\rLine 2\\");
    ASSERT_EQ(s.structure.size(), 1u);
    EXPECT_EQ(s.structure[0].name, "A|B");
    ASSERT_EQ(s.results.size(), 1u);
    EXPECT_EQ(s.results[0].parent, "0A");
    EXPECT_EQ(s.results[0].lines, std::vector<std::string>{"P;001;000;000;01;01;00"});
    ASSERT_EQ(s.records.size(), 1u);
    EXPECT_EQ(s.records[0].bytes, std::string("\x00\x01G\x00\xFF", 5));
    EXPECT_EQ(s.records[0].graph, std::vector<std::string>{"1;2;3;"});
    EXPECT_EQ(s.records[0].graphCount, 7);
}

TEST(SimScenario, ExplainsWhatIsWrongAndWhere) {
    struct Case {
        std::string text, error;
    } cases[] = {
        {"[bogus]", "line 1: unknown section"},
        {"\n[record]\ndata 0G", "line 3: expected hexadecimal"},
        {"[record]\ndata 0", "expected hexadecimal"},
        {"[record]\ndata \"abc", "not closed"},
        {"[record]\ncolour 1", "a record holds"},
        {"[instrument]\ncolour red", "unknown instrument value"},
        {"[instrument]\nname a\\qb", "unknown escape"},
        {"[instrument]\nname \\x4", "two hexadecimal digits"},
        {"[structure]\n01|02", "ID|PID|BID|NAME|TYPE"},
        {"busy many", "unknown or malformed"},
        {"count-bytes 5", "unknown or malformed"},
        {"after-last never", "after-last takes"},
        {"fault late@MWH:x", "must be a number"},
        {"fault ser#0", "occurrence"},
        {"fault late@", "command name"},
        {"fault drop", "unknown fault"},
    };
    for (const Case& c : cases) {
        Scenario s;
        std::string error;
        EXPECT_FALSE(parseScenario(c.text, s, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(SimTester, WriteCommandsSurviveSplitDeliveryAndControlBytesInTheChecksum) {
    Tester t = makeTester("TQ72");
    // The text "\r" sums to 0x000D: its checksum bytes are CR and 0x00.
    std::string command = std::string("MWU\r") + '\r' + '\0' + '\r' + '\0';
    std::string replies;
    for (char b : command) replies += joined(t.feed(std::string(1, b)));
    EXPECT_EQ(replies, "SER0\r");
    EXPECT_EQ(t.memory().instrument.at("user"), "_");
    // Argument lines may also come in pieces.
    EXPECT_EQ(joined(t.feed("MDT\r7EA\r0C")), "");
    EXPECT_EQ(joined(t.feed("\r09\r05\r2A\r00\r")), "SER0\r");
}

// The tester checks what it is sent as a real one would, so that a wrong program fails
// against it: each wrong entry or write is refused, and nothing of it is stored.
TEST(SimTester, RefusesMalformedEntriesDatesAndTexts) {
    const std::string tq41 = "[structure]\n01|FFFF|FFFF|House|010000000000\n";
    const std::string tq75 = "[named]\nP;001;000;000;01;Plant;\nP;001;001;000;03;Block;\n";
    struct Case {
        std::string model, scenario, command, reply, why;
    } cases[] = {
        // own-lines style: "FFF0", parent, "FFF0", name, 12 hexadecimal digits
        {"TQ41", tq41, "MAS\rFFF0\r01\rFFF0\rBoard\r020000000000\r", "02\rSER0\r", ""},
        {"TQ41", tq41, "MAS\rFFF0\rFFFF\rFFF0\r0123456789ABCDEF\r2A0102030405\r", "02\rSER0\r", ""},
        {"TQ41", tq41, "MAS\rFFF1\r01\rFFF0\rB\r020000000000\r", "FFFF\rSER1\r", "FFF0"},
        {"TQ41", tq41, "MAS\rFFF0\r01\r0\rB\r020000000000\r", "FFFF\rSER1\r", "FFF0"},
        {"TQ41", tq41, "MAS\rFFF0\r1\rFFF0\rB\r020000000000\r", "FFFF\rSER1\r", "parent"},
        {"TQ41", tq41, "MAS\rFFF0\r07\rFFF0\rB\r020000000000\r", "FFFF\rSER1\r", "parent"},
        {"TQ41", tq41, "MAS\rFFF0\r0\rFFF0\rB\r020000000000\r", "FFFF\rSER1\r", "parent"},
        {"TQ41", tq41, "MAS\rFFF0\r01\rFFF0\r0123456789ABCDEFG\r020000000000\r", "FFFF\rSER1\r",
         "17 characters"},
        {"TQ41", tq41, "MAS\rFFF0\r01\rFFF0\rB\r2a0000000000\r", "FFFF\rSER1\r", "type text"},
        {"TQ41", tq41, "MAS\rFFF0\r01\rFFF0\rB\r2A00000000\r", "FFFF\rSER1\r", "type text"},
        {"TQ41", tq41, "MAS\rFFF0\r01\rFFF0\rB\r2A000000000000\r", "FFFF\rSER1\r", "type text"},
        // ";" style: numeric levels and item number, the closing ";", a free position
        // under an existing parent
        {"TQ75", tq75, "MAS;1;2;0;3;Block 2;\r", "SER0\r", ""},
        {"TQ75", tq75, "MAS;1;1;1;5;Fuse;\r", "SER0\r", ""},
        {"TQ75", tq75, "MAS;1;2;0;3;Block 2\r", "SER1\r", "end with"},
        {"TQ75", tq75, "MAS;1;a;0;3;Block 2;\r", "SER1\r", "not a number"},
        {"TQ75", tq75, "MAS;1;2;0;;Block 2;\r", "SER1\r", "not a number"},
        {"TQ75", tq75, "MAS;1;2;0;15;Block 2;\r", "SER1\r", "item number"},
        {"TQ75", tq75, "MAS;1;2;0;3;A;B;\r", "SER1\r", "6 fields"},
        {"TQ75", tq75, "MAS;1;1;0;3;Again;\r", "SER1\r", "taken"},
        {"TQ75", tq75, "MAS;2;1;0;3;Orphan;\r", "SER1\r", "no parent"},
        {"TQ75", tq75, "MAS;1;2;1;5;Orphan;\r", "SER1\r", "no parent"},
        {"TQ75", tq75, "MAS;1;0;1;5;Nowhere;\r", "SER1\r", "no position"},
        // dates: upper-case hexadecimal of at least two digits
        {"TQ72", "", "MDT\r7EA\r0C\r09\r05\r2A\r00\r", "SER0\r", ""},
        {"TQ72", "", "MDT\r7EA\rC\r09\r05\r2A\r00\r", "SER1\r", "malformed"},
        {"TQ72", "", "MCD\r7ea\r0C\r09\r05\r2A\r00\r", "SER1\r", "malformed"},
        {"TQ72", "", "MCD\r7EA\r0C\r09\r05\r2a\r00\r", "SER1\r", "malformed"},
        // a line feed in a written text: the program must remove it before it sums
        {"TQ72", "", std::string("MWU\r\x0D\x00\r\0", 8), "SER0\r", ""},
        {"TQ72", "", std::string("MWF\r\x17\x00\r\n\0", 9), "SER1\r", "line feed"},
        {"TQ72", "", std::string("MWU\r\x0A\x00\n\0", 8), "SER1\r", "line feed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Scenario scenario;
        std::string error, log;
        ASSERT_TRUE(parseScenario(c.scenario, scenario, error)) << error;
        scenario.replyDelayMs = 0;
        Tester t(*findTesterModel(c.model), scenario,
                 [&](const std::string& line) { log += line + "\n"; });
        size_t before = t.memory().structure.size() + t.memory().named.size();
        EXPECT_EQ(joined(t.feed(c.command)), c.reply);
        size_t after = t.memory().structure.size() + t.memory().named.size();
        if (c.why.empty()) {
            if (c.command.compare(0, 3, "MAS") == 0) {
                EXPECT_EQ(after, before + 1);
                EXPECT_NE(log.find("stored "), std::string::npos) << log;
            }
        } else {
            EXPECT_EQ(after, before);
            EXPECT_NE(log.find(c.why), std::string::npos) << log;
        }
    }
}

TEST(SimTester, BusyLinesAreSpacedAndTheReadyLineFollows) {
    Tester t = makeTester("TQ71", "busy 2\nbusy-gap 250\n");
    std::vector<Chunk> chunks = t.feed("MRD\r");
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].bytes, "%\r");
    EXPECT_EQ(chunks[1].delayMs, 250);
    EXPECT_EQ(chunks[2].bytes, "SER0\r");
    EXPECT_EQ(chunks[2].delayMs, 250);
}

TEST(SimTester, StatusFaultChangesOnlyStatusLines) {
    Tester t = makeTester("TQ72", "fault ser:42\n[instrument]\nname SER0 inside\n");
    std::string reply = joined(t.feed("MWH\r"));
    EXPECT_NE(reply.find("02.SER0 inside\r"), std::string::npos) << reply;
    EXPECT_EQ(reply.substr(reply.size() - 6), "SER42\r");
}

TEST(SimTester, PullAndShortCutTheReplyAtTheByteAskedFor) {
    Tester pulled = makeTester("CV61", "fault pull@t:5\n");
    pulled.feed("P");
    std::vector<Chunk> chunks = pulled.feed("t");
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].bytes.size(), 5u);
    EXPECT_TRUE(chunks[0].pullAfter);

    Tester atOnce = makeTester("CV61", "fault pull@P:0\n");
    chunks = atOnce.feed("P");
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].bytes, "");
    EXPECT_TRUE(chunks[0].pullAfter);

    Tester cut = makeTester("TQ72", "fault short@MNU:99\n");
    EXPECT_EQ(joined(cut.feed("MNU\r")), "") << "more cut than sent leaves nothing";
}

TEST(SimTester, OccurrenceLimitsAFaultToOneReply) {
    Tester t = makeTester("CV61", "fault silence@P#2\n");
    EXPECT_EQ(joined(t.feed("P")), "E");
    EXPECT_EQ(joined(t.feed("P")), "");
    EXPECT_EQ(joined(t.feed("P")), "E");
}

TEST(SimTester, BinaryRecordsAfterTheLastAndCountReplyLengths) {
    Tester repeat = makeTester("TQ60", "after-last repeat\n[record]\ndata 00000000 02\n");
    repeat.feed("MNU");
    EXPECT_EQ(joined(repeat.feed("MRE")), std::string("SRE\x05\0\0\0\0\x02", 9));
    EXPECT_EQ(joined(repeat.feed("MRE")), std::string("SRE\x05\0\0\0\0\x02", 9));

    Tester three = makeTester("CV61", "count-bytes 3\nresult-count 300\n");
    three.feed("P");
    // Three bytes: 0x02, 0x00 and the count's low byte (byte 2 is the whole count).
    EXPECT_EQ(joined(three.feed("R\xFF")), std::string("\x02\x00\x2C", 3));
}

TEST(SimTester, GraphWithoutLinesStillEndsAfterALineEnd) {
    EXPECT_EQ(graphText({}, 0), "#0;\n\r\n\r#EOF;");
    EXPECT_EQ(graphText({"a", "b"}, 2), "#2;\n\ra\n\rb\n\r#EOF;");
}

}  // namespace
}  // namespace pelvoro::sim
