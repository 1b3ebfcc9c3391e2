// Loading a document regenerates the result lines of every item with FP strings in the
// current language; items that carry only result texts keep them.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/structure_editing.h"
#include "files/document_file.h"
#include "files/transcript_import.h"
#include "files_test_support.h"
#include "results/render_result.h"
#include "results/results_loading.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

TEST(RenderOnLoadTest, CodedResultsGetTheirLinesTextsStay) {
    testing::ScopedLanguage language(
        "[Language]\nFunct_CURRENT=Current\ntext559=Limit\nSystem_7=System:\n"
        "Unit_SYS-TN/TT=TN/TT\n");
    StructureDocument original;
    StructureItem* board = original.addItem(original.root(), ItemType::Circuit, "Board");
    StructureItem* coded = original.addItem(*board, ItemType::Measurement, "Coded");
    coded->data.FpStrings = {"F;109;0;1;30m;12.5m;1;", "F;99;0;1;"};
    StructureItem* texts = original.addItem(*board, ItemType::Measurement, "Texts");
    texts->data.ResTexts = {"X#PR#L1Kept heading", "X#PR#L2R: 1"};
    const std::string file = writeDocumentToString(original);

    DocumentReadOptions options;
    options.hook = makeResultsParsingHook(
        makeLineRenderer(std::make_shared<CharacterCellMeasure>(), FontSpec{}, 640));
    StructureDocument doc;
    ASSERT_TRUE(readDocumentFromBytes(doc, file, options).ok);

    const StructureItem* loadedBoard = doc.root().child(0);
    ASSERT_NE(loadedBoard, nullptr);
    const StructureItem* loadedCoded = loadedBoard->child(0);
    const StructureItem* loadedTexts = loadedBoard->child(1);
    ASSERT_NE(loadedCoded, nullptr);
    ASSERT_NE(loadedTexts, nullptr);
    // The unknown second string adds nothing.
    EXPECT_EQ(loadedCoded->data.ResTexts,
              (std::vector<std::string>{"X#PR#L1Current#CR#AR#K020", "X#PR#L2I: 12.5mA",
                                        "X#PL#L3Limit: 30mA", "X#PR#L3System: TN/TT"}));
    EXPECT_EQ(loadedCoded->data.L1Count, 1);
    EXPECT_EQ(loadedTexts->data.ResTexts, texts->data.ResTexts);
    EXPECT_EQ(loadedTexts->data.L1Count, 1);
    // Generated lines are not stored: the file comes back unchanged.
    EXPECT_EQ(writeDocumentToString(doc), file);
}

TEST(RenderOnLoadTest, ImportSaveReopenShowsTheSameLines) {
    // Every line a tester sent beside its coded results (a heading, a value line, a date)
    // shows after the import and after a save and reopen, at every item.
    testing::ScopedLanguage language(testing::kFilesLanguage);
    const std::string sample = testing::readBytes(testing::filesTestData("sample.KRD"));
    const std::string crafted = testing::crlf({">>MWH<<",
                                               "01.51",
                                               ">>>SER",
                                               ">>MST<<",
                                               "1",
                                               "FFFF",
                                               "",
                                               "Board",
                                               "02",
                                               ">+<",
                                               ">>>SER",
                                               ">>MRA<<",
                                               "R1",
                                               "X#PN#L1Own name",
                                               "F;2;0;1;B;16;0.4;1.15;0.38;605;",
                                               "X#PR#L2Extra: 1",
                                               "D;01;02;2003;04;05;",
                                               "F;10;0;1;2.5;",
                                               ">-<",
                                               ">+<",
                                               ">P---<"});
    for (const std::string* transcript : {&sample, &crafted}) {
        std::ostringstream converted;
        TranscriptConversion c = convertTranscript(*transcript, converted);
        ASSERT_TRUE(c.ok) << c.error;
        DocumentReadOptions options;
        options.hook = makeResultsParsingHook(
            makeLineRenderer(std::make_shared<CharacterCellMeasure>(), FontSpec{}, 640));
        StructureDocument imported;
        imported.InstrumentData = c.instrument;
        ASSERT_TRUE(readDocumentFromBytes(imported, converted.str(), options).ok);
        StructureDocument reopened;
        ASSERT_TRUE(readDocumentFromBytes(reopened, writeDocumentToString(imported), options).ok);
        ASSERT_EQ(testing::shape(reopened.root()), testing::shape(imported.root()));
        for (int i = 1; i < imported.itemCount(); ++i) {
            SCOPED_TRACE(imported.itemAt(i)->data.Name);
            EXPECT_EQ(reopened.itemAt(i)->data.ResTexts, imported.itemAt(i)->data.ResTexts);
        }
    }
}

TEST(RenderOnLoadTest, DropBetweenDocumentsKeepsWhatAResultMeans) {
    // Code 2 is a line impedance for testers of type codes 51 to 54 (they add 50 to codes
    // below 50) and an insulation test for the others.
    testing::ScopedLanguage language(testing::kFilesLanguage);
    const char* fp = "F;2;0;1;B;16;0.4;1.15;0.38;605;";
    // The type code, with the variant's tail after "/" ("51/-K" is a KORVEN tester).
    auto document = [](const std::string& tester, const char* result) {
        std::string text = testing::crlf({"Version: 20", "", "$InstrumentData%"});
        const std::string typeCode = tester.substr(0, tester.find('/'));
        if (!typeCode.empty()) text += "1: " + typeCode + "\r\n";
        if (tester.find('/') != std::string::npos)
            text += "5: HW" + tester.substr(tester.find('/') + 1) + "\r\n";
        text +=
            testing::crlf({"------", "", "$HeaderOperator%", "------", "", "$HeaderInstrData%",
                           "------", "", "$ReportComments%", "------", "", "$StructureItems%",
                           "ID: 1", "PID: -1", "BID: -1", "Name: Board", "Type: 1", "----------1"});
        if (result)
            text += testing::crlf({"ID: 2", "PID: 1", "BID: -1", "Name: R", "Type: 23"}) +
                    "FP_String: " + result + "\r\n----------2\r\n";
        return text;
    };
    struct Case {
        const char *from, *to;
        DropResult::Status status;
        const char* moved;  // the FP string in the target, when dropped
    } cases[] = {
        {"51", "60", DropResult::Dropped, "F;52;0;1;B;16;0.4;1.15;0.38;605;"},
        {"51", "", DropResult::Dropped, "F;52;0;1;B;16;0.4;1.15;0.38;605;"},  // a new structure
        {"51", "53", DropResult::Dropped, fp},
        {"60", "20", DropResult::Dropped, fp},
        {"60", "51", DropResult::MeaningDiffers, nullptr},
        // A KORVEN tester reads field 8 of a line impedance as the impedance limit.
        {"51/-K", "53", DropResult::MeaningDiffers, nullptr},
        {"51/-E", "53/-DE", DropResult::Dropped, fp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        DocumentReadOptions options;
        options.hook = makeResultsParsingHook(
            makeLineRenderer(std::make_shared<CharacterCellMeasure>(), FontSpec{}, 640));
        StructureDocument source, target;
        ASSERT_TRUE(readDocumentFromBytes(source, document(c.from, fp), options).ok);
        ASSERT_TRUE(readDocumentFromBytes(target, document(c.to, nullptr), options).ok);
        const std::vector<std::string> shown = source.itemAt(2)->data.ResTexts;
        const bool unknownFields = source.NewFunctionsSeen;
        testing::ScriptedPrompts prompts;
        EditContext from{source, prompts}, to{target, prompts, nullptr, readsTheSame};
        DropResult r = DropItem(from, *source.itemAt(2), to, *target.itemAt(1), false);
        ASSERT_EQ(r.status, c.status);
        if (!c.moved) {
            EXPECT_EQ(testing::shape(target.root()), "Board");
            EXPECT_EQ(testing::shape(source.root()), "Board(R)");
            EXPECT_EQ(prompts.shown.size(), 1u);
            continue;
        }
        EXPECT_EQ(r.item->data.FpStrings, std::vector<std::string>{c.moved});
        // Saved and reopened, the result reads as it did in its first document.
        StructureDocument reopened;
        ASSERT_TRUE(readDocumentFromBytes(reopened, writeDocumentToString(target), options).ok);
        EXPECT_EQ(reopened.itemAt(2)->data.ResTexts, shown);
        EXPECT_EQ(reopened.NewFunctionsSeen, unknownFields);
    }
}

}  // namespace
}  // namespace pelvoro
