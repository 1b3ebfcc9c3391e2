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
    EXPECT_EQ(joined(t.feed("MDT\r7EA\rC")), "");
    EXPECT_EQ(joined(t.feed("\r9\r5\r2A\r0\r")), "SER0\r");
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
