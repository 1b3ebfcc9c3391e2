#include "files/transcript_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "files/document_file.h"
#include "files_test_support.h"

namespace pelvoro {
namespace {

using testing::crlf;
using testing::filesTestData;
using testing::readBytes;
using testing::shape;

class TranscriptTest : public ::testing::Test {
  protected:
    testing::ScopedLanguage language{testing::kFilesLanguage};
};

TEST_F(TranscriptTest, SampleTranscriptConvertsToTheGoldenFile) {
    std::ostringstream out;
    TranscriptConversion c = convertTranscript(readBytes(filesTestData("sample.KRD")), out);
    EXPECT_TRUE(c.ok) << c.error;
    EXPECT_EQ(out.str(), readBytes(filesTestData("sample.KRD.expected.TMV")));
    EXPECT_EQ(c.structureRecords, 4);
    EXPECT_EQ(c.resultRecords, 2);
    EXPECT_EQ(c.instrument.line(1), "50");
    EXPECT_EQ(c.instrument.line(2), "Tamvisto TQ50");
    EXPECT_EQ(c.instrument.line(7), "00001234");
    // Firm data: "_" is a line break, control characters are dropped.
    EXPECT_EQ(c.instrument.line(8), "First\rSecond");

    // The reader builds the tree from it.
    StructureDocument doc;
    ASSERT_TRUE(readDocumentFromBytes(doc, out.str()).ok);
    EXPECT_EQ(shape(doc.root()), "Object A(Board A(Odd type(Result),Loop impedance)),No id");
    StructureItem* loop = doc.itemAt(5);
    ASSERT_EQ(loop->data.Name, "Loop impedance");
    EXPECT_EQ(loop->data.ResTexts.back(), "X#PD05.12.2004  14:30");
    EXPECT_EQ(loop->data.FpStrings.size(), 5u);
}

TEST_F(TranscriptTest, WhatIsThereIsReadAndWhatIsNotIsSaid) {
    using P = TranscriptPart;
    const P I = P::InstrumentData, S = P::Structure, R = P::Results;
    struct Case {
        std::string transcript;
        int structure, results;
        std::vector<P> missing, cut;
        int cutRecords;
    } cases[] = {
        {crlf({"nothing here"}), 0, 0, {I, S, R}, {}, 0},
        {crlf({">>MWH<<", "01.50", ">>>SER"}), 0, 0, {S, R}, {}, 0},
        {crlf({">>MWH<<", ">>>SER", ">>MST<<", "1", "", "", "A", "01", ">+<", ">>>SER"}),
         1,
         0,
         {R},
         {},
         0},
        {crlf({">>MWH<<", ">>>SER", ">>MST<<", "1", "", "", "A", "01", ">+<", ">>>SER", "tail"}),
         1,
         0,
         {R},
         {},
         0},
        // A record cut by the end of the file is not written.
        {crlf({">>MWH<<", ">>>SER", ">>MST<<", "1", "", ""}), 0, 0, {R}, {S}, 1},
        {crlf({">>MWH<<", ">>>SER", ">>MST<<", ">>>SER", ">>MRA<<", "R1", "X#PNa", ">-<", ">+<"}),
         0,
         1,
         {},
         {},
         0},
        {crlf({">>MWH<<", ">>>SER", ">>MST<<", ">>>SER", ">>MRA<<", "R1", "X#PNa"}),
         0,
         0,
         {},
         {},
         1},
        // Without instrument data the structure and the results are still read.
        {crlf(
             {">>MST<<", "1", "", "", "A", "01", ">+<", ">>>SER", ">>MRA<<", "R1", "X#PNa", ">-<"}),
         1,
         1,
         {I},
         {},
         0},
        // A part cut short by the next part's marker.
        {crlf({">>MWH<<", "01.51", ">>MST<<", "1", "", "", "A", "01", ">+<", ">>MRA<<", "R1",
               "X#PNa", ">-<", ">P---<"}),
         1,
         1,
         {},
         {I, S},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transcript);
        std::ostringstream out;
        TranscriptConversion r = convertTranscript(c.transcript, out);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.structureRecords, c.structure);
        EXPECT_EQ(r.resultRecords, c.results);
        EXPECT_EQ(r.missingParts, c.missing);
        EXPECT_EQ(r.cutParts, c.cut);
        EXPECT_EQ(r.cutRecords, c.cutRecords);
        EXPECT_EQ(r.complete(), c.missing.empty() && c.cut.empty() && c.cutRecords == 0);
        EXPECT_EQ(transcriptLosses(r).size(), c.missing.size() + c.cut.size() + (c.cutRecords > 0));
        StructureDocument doc;
        EXPECT_TRUE(readDocumentFromBytes(doc, out.str()).ok);
    }
}

TEST_F(TranscriptTest, ResultsStayUnderTheirOwnersWhateverTheStructureIds) {
    // Structure ID 1388 is 5000, where result numbering used to start: the second result
    // would have been filed under the first one.
    std::ostringstream out;
    TranscriptConversion r = convertTranscript(
        crlf({">>MWH<<", ">>>SER", ">>MST<<", "1",     "",       "",    "A",      "01",      ">+<",
              "1388",    "",       "",        "B",     "01",     ">+<", ">>>SER", ">>MRA<<", "R1",
              "X#PNra",  ">-<",    ">+<",     "R1388", "X#PNrb", ">-<", ">+<"}),
        out);
    ASSERT_TRUE(r.complete());
    StructureDocument doc;
    ASSERT_TRUE(readDocumentFromBytes(doc, out.str()).ok);
    EXPECT_EQ(shape(doc.root()), "A(ra),B(rb)");
}

TEST_F(TranscriptTest, MalformedHexNumberStopsWithTheLine) {
    std::ostringstream out;
    TranscriptConversion r = convertTranscript(crlf({">>MWH<<", ">>>SER", ">>MST<<", "1", "", "",
                                                     "A", "01", ">+<", "G7", "", "", "B", "01"}),
                                               out);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorLine, 10);
    EXPECT_EQ(r.structureRecords, 1);
    StructureDocument doc;
    readDocumentFromBytes(doc, out.str());
    EXPECT_EQ(shape(doc.root()), "A");
}

TEST_F(TranscriptTest, CodedLinesOfEarlierInstrumentsAreSplit) {
    std::string v(80, ' ');
    for (size_t i = 0; i < v.size(); ++i) v[i] = char('0' + i % 10);
    struct Case {
        const char* code;
        std::vector<int> lengths;
    } cases[] = {
        {"22", {8, 5, 16, 29, 16}},
        {"23", {7, 3, 8, 29, 13}},
        {"24", {2}},
        {"30", {7, 7, 3, 2, 11, 5, 5, 2}},
        {"31", {7, 5, 2, 11, 5, 5, 2}},
        {"32", {7, 4, 2, 8, 3, 5, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        std::string prefix = std::string("F;") + c.code + ";1;2;";
        std::vector<std::string> parts = splitCodedResultLine(prefix + v + ";");
        ASSERT_EQ(parts.size(), c.lengths.size());
        size_t start = 0;
        for (size_t k = 0; k < parts.size(); ++k) {
            EXPECT_EQ(parts[k],
                      prefix + v.substr(start, c.lengths[k]) + ";" + std::to_string(k + 1) + ";");
            start += c.lengths[k];
        }
    }
    EXPECT_EQ(splitCodedResultLine("F;21;1;2;abc;"), std::vector<std::string>{"F;21;1;2;abc;"});
    EXPECT_EQ(splitCodedResultLine("F;22;1"), std::vector<std::string>{"F;22;1"});
    EXPECT_EQ(splitCodedResultLine("F;24;1;2;x"), std::vector<std::string>{"F;24;1;2;x;1;"});
}

TEST_F(TranscriptTest, ResultNamesFromNameLines) {
    EXPECT_EQ(markupLineName("X#PN#L1Loop 1"), "Loop 1");
    // Every "#" closes the run that holds text, a literal one too.
    EXPECT_EQ(markupLineName("X#L2#PNRCD ##2#S258 rest"), "RCD ");
    EXPECT_EQ(markupLineName("X#PN##2"), "#2");
    EXPECT_EQ(markupLineName("X#PRvalue"), "");
    EXPECT_EQ(markupLineName("X#PN"), "");
    EXPECT_EQ(markupLineName("X#PN#"), "");
}

TEST_F(TranscriptTest, TranscriptExtensionRule) {
    EXPECT_TRUE(isTranscriptPath("/a/b.KRD"));
    EXPECT_TRUE(isTranscriptPath("b.krd"));
    EXPECT_FALSE(isTranscriptPath("b.Krd"));
    EXPECT_FALSE(isTranscriptPath("b.TMV"));
    EXPECT_FALSE(isTranscriptPath("KR"));
}

}  // namespace
}  // namespace pelvoro
