#include "files/document_file.h"

#include <gtest/gtest.h>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/results_hook.h"
#include "files_test_support.h"

namespace pelvoro {
namespace {

using testing::crlf;
using testing::filesTestData;
using testing::readBytes;
using testing::shape;

class DocumentFileTest : public ::testing::Test {
  protected:
    testing::ScopedLanguage language{testing::kFilesLanguage};

    static DocumentReadResult load(StructureDocument& doc, const std::string& bytes) {
        DocumentReadOptions options;
        options.useInstalledHook = false;
        return readDocumentFromBytes(doc, bytes, options);
    }
};

// Header of a version 20 file with empty sections, for item-list tests.
std::string emptyHead() {
    return crlf({"Version: 20", "", "$InstrumentData%", "------", "", "$HeaderOperator%", "------",
                 "", "$HeaderInstrData%", "------", "", "$ReportComments%", "------", "",
                 "$StructureItems%"});
}

std::string block(int id, int pid, int bid, const char* name, int type = 1) {
    return "ID: " + std::to_string(id) + "\r\nPID: " + std::to_string(pid) +
           "\r\nBID: " + std::to_string(bid) + "\r\nName: " + name +
           "\r\nType: " + std::to_string(type) + "\r\n----------" + std::to_string(id) + "\r\n";
}

TEST_F(DocumentFileTest, BuiltDocumentIsWrittenExactlyAsTheGoldenFile) {
    StructureDocument doc;
    auto& in = doc.InstrumentData;
    in.line(1) = "60";
    in.line(2) = "Tamvisto CV61";
    in.line(3) = "CV61";
    in.line(4) = "1.04";
    in.line(5) = "2.0";
    in.line(7) = "12345678";
    in.line(8) = "Firm Ltd";
    in.line(10) = "3";
    in.line(11) = "01.02.2026";
    // Operator1, Operator2, Operator3, TestSite1, TestSite2, TestSite3, Footer
    doc.HeaderLines.lines = {"John Smith", "", "Third operator", "Main street 5",
                             "",           "", "Footer text"};
    doc.ReportComments = {"First comment", "", "Third comment after an empty one \xe4\xf6\xfc"};
    StructureItem* o1 = doc.addItem(doc.root(), ItemType::Object, "Object 1");
    StructureItem* b1 = doc.addItem(*o1, ItemType::Block, "Block 1");
    StructureItem* f1 = doc.addItem(*b1, ItemType::Fuse, "Fuse 1");
    StructureItem* r = doc.addItem(*f1, ItemType::Measurement, "Result");
    r->data.ProtVer = 2;
    r->data.FpStrings = {"F;301;1.52mA;;1.50kV;5.0mA;1.5kV;0;", "F;302;1.2V;10.0A;;4.0V;;0;",
                         "not coded"};
    r->data.ResTexts = {"X#PNgenerated lines are not stored when there are FP strings"};
    StructureItem* f2 = doc.addItem(*b1, ItemType::Fuse, "Fuse 2");
    StructureItem* old = doc.addItem(*f2, ItemType::Measurement, "Old result");
    old->data.ResTexts = {"X#PN#L1Old result", "Y not a display line", "X#PD05.12.2004  14:30"};
    old->data.ProtVer = 1;  // only versions above 1 are stored
    doc.addItem(doc.root(), ItemType::Object, "Object 2");

    std::string written = writeDocumentToString(doc);
    EXPECT_EQ(written, readBytes(filesTestData("v20_sample.TMV")));
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(r->data.ID, 4);
    EXPECT_EQ(r->data.PID, 3);
    EXPECT_EQ(f2->data.BID, 3);
}

TEST_F(DocumentFileTest, GoldenFilesReadAndWriteBackAsExpected) {
    struct Case {
        const char* input;
        const char* expected;
    } cases[] = {
        {"v20_sample.TMV", "v20_sample.TMV"},
        {"v1_sample.TMV", "v1_sample.expected.TMV"},
        {"v15_graph.TMV", "v15_graph.expected.TMV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        StructureDocument doc;
        DocumentReadResult result = load(doc, readBytes(filesTestData(c.input)));
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_FALSE(doc.Modified);
        std::string once = writeDocumentToString(doc);
        EXPECT_EQ(once, readBytes(filesTestData(c.expected)));
        // And a second round changes nothing.
        StructureDocument again;
        ASSERT_TRUE(load(again, once).ok);
        EXPECT_EQ(writeDocumentToString(again), once);
    }
}

TEST_F(DocumentFileTest, VersionOneTakesHeaderLinesByPosition) {
    StructureDocument doc;
    DocumentReadResult result = load(doc, readBytes(filesTestData("v1_sample.TMV")));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.version, 1);
    EXPECT_EQ(doc.HeaderLines.lines[0], "Op One");
    EXPECT_EQ(doc.HeaderLines.lines[3], "Site One");
    EXPECT_EQ(doc.HeaderLines.lines[6], "The footer");
    EXPECT_EQ(doc.InstrumentData.line(8), "Old firm");
    EXPECT_EQ(shape(doc.root()), "House(Board(Loop))");
    StructureItem* loop = doc.itemAt(3);
    ASSERT_EQ(loop->data.ResTexts.size(), 2u);
    EXPECT_EQ(loop->data.ResTexts[1], "X#PD05.12.2004  14:30");
    EXPECT_EQ(loop->data.L1Count, 1);
    EXPECT_EQ(loop->data.ID, 12);  // the reader does not renumber
}

TEST_F(DocumentFileTest, GraphStringsAreReadInEveryVersionAndWrittenBack) {
    // Downloads write their curves into version 9 files; older programs wrote them only
    // in 15 and 25. Every version keeps them, and a saved file carries them again.
    for (int version : {15, 20, 25, 9, 12}) {
        SCOPED_TRACE(version);
        std::string bytes = readBytes(filesTestData("v15_graph.TMV"));
        bytes.replace(0, 11, "Version: " + std::to_string(version));
        StructureDocument doc;
        ASSERT_TRUE(load(doc, bytes).ok);
        StructureItem* hv = doc.itemAt(2);
        ASSERT_NE(hv, nullptr);
        EXPECT_EQ(hv->data.GraphString, "G;1;0.0;1.5;0.5;1.4;");
        EXPECT_EQ(doc.ReportComments, std::vector<std::string>{"Checked"});
        // Saved and reopened: the line follows the item's FP strings.
        std::string saved = writeDocumentToString(doc);
        EXPECT_NE(saved.find("FP_String: F;301;1.52mA;;1.50kV;5.0mA;1.5kV;0;\r\n"
                             "GraphString: G;1;0.0;1.5;0.5;1.4;\r\n----------2\r\n"),
                  std::string::npos);
        StructureDocument again;
        ASSERT_TRUE(load(again, saved).ok);
        EXPECT_EQ(again.itemAt(2)->data.GraphString, hv->data.GraphString);
    }
}

TEST_F(DocumentFileTest, CommentsAreReadOnlyInTheVersionsThatHaveThem) {
    for (int version = 2; version <= 25; ++version) {
        std::string bytes = crlf({"$InstrumentData%", "------", "", "$HeaderOperator%", "------",
                                  "", "$HeaderInstrData%", "------", "", "$ReportComments%", "note",
                                  "------", "", "$StructureItems%"}) +
                            block(1, -1, -1, "A");
        bytes = "Version: " + std::to_string(version) + "\r\n\r\n" + bytes;
        StructureDocument doc;
        DocumentReadResult r = load(doc, bytes);
        bool comments = version == 3 || version == 7 || version == 8 || version == 9 ||
                        version == 12 || version == 15 || version == 20 || version == 25;
        // Items that were not read make a document read only in part.
        EXPECT_EQ(r.ok, comments) << version;
        EXPECT_EQ(doc.ReportComments.size(), comments ? 1u : 0u) << version;
        // Without comment support the item search stops at the comments' terminator.
        EXPECT_EQ(doc.root().childCount(), comments ? 1 : 0) << version;
    }
}

TEST_F(DocumentFileTest, VersionOneFileWithCommentsSectionLoadsNoItems) {
    std::string bytes = crlf({"$HeaderOperator%", "------", "", "$HeaderInstrData%", "------", "",
                              "$ReportComments%", "c", "------", "", "$StructureItems%"}) +
                        block(1, -1, -1, "A");
    StructureDocument doc;
    DocumentReadResult r = load(doc, bytes);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.hasItemList);
    EXPECT_EQ(doc.itemCount(), 1);
}

TEST_F(DocumentFileTest, EmptyDocumentIsTheHeadAndTheMarker) {
    StructureDocument doc;
    std::string written = writeDocumentToString(doc);
    EXPECT_EQ(written, emptyHead());
    StructureDocument back;
    DocumentReadResult r = load(back, written);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.hasItemList);
    EXPECT_EQ(back.itemCount(), 1);
}

TEST_F(DocumentFileTest, InstrumentDataLineKeys) {
    struct Case {
        const char* line;
        int n;
        const char* value;  // expected value of line n; nullptr: conversion error
    } cases[] = {
        {"1: one", 1, "one"},   {"10: ten", 10, "ten"}, {"11: eleven", 11, "eleven"},
        {"9: nine", 9, "nine"}, {"1x", 0, nullptr},     {"12: twelve", 1, ""},
        {"x: skipped", 1, ""},  {"0: zero", 1, ""},     {"7:seven", 7, "even"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        StructureDocument doc;
        DocumentReadResult r =
            load(doc, crlf({"Version: 20", "$InstrumentData%", c.line, "------", "$HeaderOperator%",
                            "------", "$HeaderInstrData%", "------", "$ReportComments%", "------",
                            "$StructureItems%"}));
        if (!c.value) {
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.errorLine, 3);
            EXPECT_NE(r.error.find("Line 3"), std::string::npos);
            continue;
        }
        EXPECT_TRUE(r.ok) << r.error;
        EXPECT_EQ(doc.InstrumentData.line(c.n), c.value);
    }
}

TEST_F(DocumentFileTest, MalformedNumberKeepsWhatWasRead) {
    std::string bytes = emptyHead() + block(1, -1, -1, "A") + block(2, 1, -1, "B") +
                        crlf({"ID: 3", "PID: two", "Name: C", "Type: 1", "----------3"}) +
                        block(4, -1, 1, "D");
    StructureDocument doc;
    DocumentReadResult r = load(doc, bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorLine, 29);
    EXPECT_EQ(r.error, "Line 29: 'two' is not a valid integer value");
    EXPECT_EQ(shape(doc.root()), "A(B)");
    EXPECT_FALSE(doc.Modified);
}

// A file that lost lines is read as far as it can be and said to be damaged (the line
// named); only what belongs to the file's version counts as lost.
TEST_F(DocumentFileTest, DamagedFilesAreReadOnlyInPart) {
    StructureDocument source;
    source.InstrumentData.line(1) = "20";
    StructureItem* o = source.addItem(source.root(), ItemType::Object, "O");
    source.addItem(*o, ItemType::Block, "B");
    source.addItem(*o, ItemType::Block, "C");
    const std::string full = writeDocumentToString(source);
    auto without = [&](const std::string& line) {
        std::string s = full;
        s.erase(s.find(line + "\r\n"), line.size() + 2);
        return s;
    };
    const std::string v1 = crlf({"$HeaderOperator%", "Op", "------", "", "$HeaderInstrData%",
                                 "------", "", "$StructureItems%"}) +
                           block(1, -1, -1, "A");
    struct Case {
        const char* name;
        std::string bytes;
        int errorLine;  // 0: read whole
        const char* shape;
        const char* typeCode;  // instrument data line 1 afterwards
    } cases[] = {
        {"whole", full, 0, "O(B,C)", "20"},
        {"trailing empty lines", full + "\r\n\r\n", 0, "O(B,C)", "20"},
        // The last block lost its end line: what it held is kept, the damage is named at
        // its first line.
        {"cut inside the last block", full.substr(0, full.rfind("----------")), 29, "O(B,C)", "20"},
        {"cut inside a block", full.substr(0, full.find("Type: 2")), 23, "O(B)", "20"},
        {"cut in the head", full.substr(0, 40), 4, "", "20"},
        {"instrument data marker lost", without("$InstrumentData%"), 4, "O(B,C)", ""},
        {"item list marker lost", without("$StructureItems%"), 33, "", "20"},
        // Version 1 files have no instrument data section; the marker ends the search.
        {"version 1", v1, 0, "A", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StructureDocument doc;
        DocumentReadResult r = load(doc, c.bytes);
        EXPECT_EQ(r.ok, c.errorLine == 0);
        EXPECT_EQ(r.errorLine, c.errorLine) << r.error;
        if (c.errorLine) {
            EXPECT_EQ(r.error.rfind("Line " + std::to_string(c.errorLine) + ": ", 0), 0u);
        }
        EXPECT_EQ(shape(doc.root()), c.shape);
        EXPECT_EQ(doc.InstrumentData.line(1), c.typeCode);
        EXPECT_FALSE(doc.Modified);
    }
}

TEST_F(DocumentFileTest, RelinkingAfterTheLastBlock) {
    struct Case {
        const char* name;
        std::string items;
        const char* shape;
    } cases[] = {
        {"child before parent", block(2, 7, -1, "child") + block(7, -1, -1, "parent"),
         "parent(child)"},
        {"orphans under unknown",
         block(1, -1, -1, "A") + block(2, 99, -1, "lost1") + block(3, 98, -1, "lost2"),
         "Unknown(lost1,lost2),A"},
        {"BID order restored",
         block(3, -1, 1, "third?") + block(1, -1, -1, "first") + block(2, -1, 3, "last"),
         "first,third?,last"},
        {"unmatched BID keeps relative order",
         block(1, -1, 50, "x") + block(2, -1, 60, "y") + block(3, -1, -1, "z"), "z,x,y"},
        {"own PID is a cycle", block(1, 1, -1, "self") + block(2, -1, -1, "ok"),
         "Unknown(self),ok"},
        {"two-item cycle", block(1, 2, -1, "a") + block(2, 1, -1, "b"), "Unknown(b(a))"},
        {"duplicate IDs take the first in tree order",
         block(5, -1, -1, "first5") + block(5, -1, 5, "second5") + block(6, 5, -1, "child"),
         "first5(child),second5"},
        {"duplicate found first under a later parent",
         block(9, 8, -1, "dupUnder8") + block(8, -1, -1, "eight") + block(9, -1, 8, "dupTop") +
             block(10, 9, -1, "c"),
         "eight(dupUnder8(c)),dupTop"},
        {"empty result blocks are dropped",
         block(1, -1, -1, "A") + block(2, 1, -1, "empty", ItemType::Measurement), "A"},
        {"block without ID and type ends the list",
         block(1, -1, -1, "A") + crlf({"Name: nothing", "----------"}) + block(2, -1, 1, "B"), "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StructureDocument doc;
        DocumentReadResult r = load(doc, emptyHead() + c.items);
        EXPECT_TRUE(r.ok) << r.error;
        EXPECT_EQ(shape(doc.root()), c.shape);
    }
}

TEST_F(DocumentFileTest, LongPidCycleDoesNotHang) {
    std::string items;
    const int n = 2000;
    for (int i = 1; i <= n; ++i) items += block(i, i == n ? 1 : i + 1, -1, "c");
    StructureDocument doc;
    DocumentReadResult r = load(doc, emptyHead() + items);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.orphans, 1);
    EXPECT_EQ(doc.itemCount(), n + 2);  // root, the container and every item
}

TEST_F(DocumentFileTest, DateRecordsAreRewritten) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"D;05;12;2004;14;30;", "X#PD05.12.2004  14:30"},
        {"D;05;12;2004;14;30", "X#PD05.12.2004  14:3"},
        {"D;05;12;2004;14;30;59;", "X#PD05.12.2004  14:30"},
        {"D;05;12!;2004;", "X#PD05.12"},
        {"D;", "D;"},
        {"D", "D"},
    };
    for (const Case& c : cases) EXPECT_EQ(rewriteDateRecord(c.in), c.out) << c.in;
}

TEST_F(DocumentFileTest, ValuesWithLineBreaksAreFlattened) {
    StructureDocument doc;
    doc.InstrumentData.line(8) = "First\rSecond\r\nThird\nFourth";
    doc.ReportComments = {"one\r\ntwo", "------"};
    doc.addItem(doc.root(), ItemType::Object, "two\nlines");
    std::string written = writeDocumentToString(doc);
    EXPECT_NE(written.find("8: First Second Third Fourth\r\n"), std::string::npos);
    EXPECT_NE(written.find("4: First Second Third Fourth\r\n"), std::string::npos);
    EXPECT_NE(written.find("Name: two lines\r\n"), std::string::npos);
    StructureDocument back;
    ASSERT_TRUE(load(back, written).ok);
    // The comment that reads like a terminator no longer cuts the comments short.
    ASSERT_EQ(back.ReportComments.size(), 2u);
    EXPECT_EQ(back.ReportComments[0], "one two");
    EXPECT_EQ(shape(back.root()), "two lines");
}

class RecordingHook : public ResultsHook {
  public:
    void resultItemLoaded(StructureDocument& doc, StructureItem& item) override {
        names.push_back(item.data.Name);
        item.data.ResTexts.push_back("X#L1generated from " + item.data.FpStrings.front());
        doc.NewFunctionsSeen = true;
    }
    std::vector<std::string> names;
};

TEST_F(DocumentFileTest, ResultsHookSeesEveryItemWithCodedResults) {
    auto hook = std::make_shared<RecordingHook>();
    DocumentReadOptions options;
    options.hook = hook;
    StructureDocument doc;
    DocumentReadResult r =
        readDocumentFromBytes(doc, readBytes(filesTestData("v20_sample.TMV")), options);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(hook->names, std::vector<std::string>{"Result"});
    EXPECT_TRUE(doc.NewFunctionsSeen);
    StructureItem* result = doc.itemAt(4);
    EXPECT_EQ(result->data.L1Count, 1);
    // Generated lines are not stored: the FP strings are.
    EXPECT_EQ(writeDocumentToString(doc), readBytes(filesTestData("v20_sample.TMV")));

    // The process-wide hook is used unless the load says otherwise.
    setResultsHook(hook);
    StructureDocument viaInstalled;
    readDocumentFromBytes(viaInstalled, readBytes(filesTestData("v20_sample.TMV")));
    setResultsHook(nullptr);
    EXPECT_EQ(hook->names.size(), 2u);
}

}  // namespace
}  // namespace pelvoro

namespace pelvoro {
namespace {

// Generates a heading and a date of its own (as the high-voltage codes do) for every
// FP string.
class DatingHook : public ResultsHook {
  public:
    void resultItemLoaded(StructureDocument&, StructureItem& item) override {
        for (const std::string& fp : item.data.FpStrings) {
            item.data.ResTexts.push_back("X#PD01.01.2000  00:00 from " + fp);
            item.data.ResTexts.push_back("X#PR#L1generated from " + fp);
        }
    }
};

TEST_F(DocumentFileTest, TextLinesBesideCodedResultsSurviveASave) {
    // As a download writes them: a date line after each FP string, and one date record
    // still in its raw form; a tester's own text line is kept beside FP strings too.
    std::string bytes = emptyHead() + crlf({"ID: 1", "PID: -1", "BID: -1", "Name: R", "Type: 23",
                                            "FP_String: F;303;1;", "ResText: X#PD06.12.2025  09:17",
                                            "FP_String: F;303;2;", "ResText: D;07;12;2025;10;05;",
                                            "ResText: X#PNold name", "----------1"});
    for (bool hooked : {false, true}) {
        SCOPED_TRACE(hooked ? "with the results hook" : "without a hook");
        DocumentReadOptions options;
        options.useInstalledHook = false;
        if (hooked) options.hook = std::make_shared<DatingHook>();
        StructureDocument doc;
        ASSERT_TRUE(readDocumentFromBytes(doc, bytes, options).ok);
        const std::string written = writeDocumentToString(doc);
        EXPECT_NE(
            written.find(crlf({"FP_String: F;303;1;", "FP_String: F;303;2;",
                               "ResText: X#PD06.12.2025  09:17", "ResText: X#PD07.12.2025  10:05",
                               "ResText: X#PNold name", "----------1"})),
            std::string::npos)
            << written;
        // Reading the saved file gives the same lines, dates included.
        StructureDocument back;
        ASSERT_TRUE(readDocumentFromBytes(back, written, options).ok);
        EXPECT_EQ(back.itemAt(1)->data.ResTexts, doc.itemAt(1)->data.ResTexts);
        EXPECT_EQ(writeDocumentToString(back), written);
    }
}

TEST_F(DocumentFileTest, CommentLineLikeATerminatorFromAnotherWriterKeepsTheItems) {
    struct Case {
        const char* version;  // empty: no version line
        int items;
        std::vector<std::string> comments;
    } cases[] = {
        {"Version: 20", 1, {"first"}},
        {"Version: 9", 1, {"first"}},
        {"", 0, {}},  // version 1 keeps its rule: no comments, no items after them
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        std::string bytes =
            crlf({c.version, "", "$InstrumentData%", "------", "", "$HeaderOperator%", "------", "",
                  "$HeaderInstrData%", "------", "", "$ReportComments%", "first", "------",
                  "second", "------", "", "$StructureItems%"}) +
            block(1, -1, -1, "A");
        if (!*c.version) bytes = bytes.substr(bytes.find("$HeaderOperator%"));
        StructureDocument doc;
        ASSERT_TRUE(load(doc, bytes).ok);
        EXPECT_EQ(doc.root().childCount(), c.items);
        EXPECT_EQ(doc.ReportComments, c.comments);
    }
}

TEST_F(DocumentFileTest, DocumentsAreToldFromOtherFiles) {
    struct Case {
        std::string bytes;
        bool document;
    } cases[] = {
        {"Version: 20\r\n", true},
        {"\r\n\r\nVersion: 3\r\n", true},
        {"$HeaderOperator%\r\n------\r\n", true},
        {"text\r\n$StructureItems%\r\n", true},
        {"text\r\nVersion: 20\r\n", false},
        {"$StructureItems% \r\n", false},
        {"------\r\n------\r\n", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(looksLikeDocument(c.bytes), c.document) << c.bytes;
}

}  // namespace
}  // namespace pelvoro
