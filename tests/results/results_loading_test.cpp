// The parse that runs for every loaded item, and the notice about unknown results.

#include "results/results_loading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

struct Rendered {
    std::string item;
    std::string code;
    std::string firstValue;  // what the record held at the moment of rendering
};

class ResultsLoadingTest : public ::testing::Test {
  protected:
    StructureItem& addResult(const std::string& name, std::vector<std::string> fps, int protVer = 0,
                             int type = ItemType::Measurement) {
        StructureItem* item = doc.addItem(doc.root(), type, name);
        item->data.FpStrings = std::move(fps);
        item->data.ProtVer = protVer;
        return *item;
    }
    ResultRenderer recorder() {
        return [this](StructureDocument& d, StructureItem& item, const TResultsData& r) {
            EXPECT_EQ(&d, &doc);
            rendered.push_back({item.data.Name, r.FunctionCode,
                                r.functionCode() == 54 ? r.RCD.t2_0.Value : r.CURRENT.I.Value});
        };
    }

    StructureDocument doc;
    std::vector<Rendered> rendered;
};

TEST_F(ResultsLoadingTest, RendersRightAfterEachParseInListOrder) {
    StructureItem& item =
        addResult("A", {"F;109;0;0;10;1.5;1;", "D;01;02;2026;10;00;", "F;109;0;1;10;2.5;1;"});
    auto hook = makeResultsParsingHook(recorder());
    hook->resultItemLoaded(doc, item);
    ASSERT_EQ(rendered.size(), 2u);  // the date record is no FP string
    EXPECT_EQ(rendered[0].firstValue, "1.5");
    EXPECT_EQ(rendered[1].firstValue, "2.5");
    EXPECT_EQ(hook->results().CURRENT.Status, 1);
    EXPECT_FALSE(doc.NewFunctionsSeen);
    EXPECT_EQ(item.data.FpStrings.size(), 3u);  // the strings stay as they were
}

TEST_F(ResultsLoadingTest, UsesTheItemsProtVerAndTheDocumentsInstrument) {
    doc.InstrumentData.line(1) = "54";
    const std::string autoTest = "F;4;3;0;30m;300;50;20;21;22;23;24;25;26;27;28;29;5;";
    StructureItem& older = addResult("old", {autoTest}, 0);
    StructureItem& newer = addResult("new", {autoTest}, 2);
    auto hook = makeResultsParsingHook(recorder());
    hook->resultItemLoaded(doc, older);
    hook->resultItemLoaded(doc, newer);
    ASSERT_EQ(rendered.size(), 2u);
    EXPECT_EQ(rendered[0].code, "54");
    EXPECT_EQ(rendered[0].firstValue, "");  // coding version 0 has no t2 times
    EXPECT_EQ(rendered[1].firstValue, "22");
}

TEST_F(ResultsLoadingTest, UnknownCodesSetTheFlagAndOnlyResultItemsRender) {
    StructureItem& result = addResult("R", {"F;7;0;1;", "F;109;0;0;1;2;1;"});
    StructureItem& circuit = addResult("C", {"F;109;0;0;1;2;1;"}, 0, ItemType::Circuit);
    auto hook = makeResultsParsingHook();
    hook->setRenderer(recorder());
    hook->resultItemLoaded(doc, circuit);
    EXPECT_TRUE(rendered.empty());
    EXPECT_FALSE(doc.NewFunctionsSeen);
    hook->resultItemLoaded(doc, result);
    EXPECT_TRUE(doc.NewFunctionsSeen);
    // The unknown code still gets its (empty) turn: the generator writes nothing for it.
    ASSERT_EQ(rendered.size(), 2u);
    EXPECT_EQ(rendered[0].code, "");
    EXPECT_EQ(rendered[1].code, "109");
}

TEST_F(ResultsLoadingTest, WholeDocumentInTreeOrder) {
    addResult("first", {"F;109;0;0;1;11;1;"});
    StructureItem* box = doc.addItem(doc.root(), ItemType::Circuit, "box");
    StructureItem* inner = doc.addItem(*box, ItemType::Measurement, "inner");
    inner->data.FpStrings = {"F;109;0;0;1;22;1;"};
    addResult("last", {"F;109;0;0;1;33;1;"});
    TResultsData results;
    parseDocumentResults(doc, results, recorder());
    ASSERT_EQ(rendered.size(), 3u);
    EXPECT_EQ(rendered[0].item + rendered[1].item + rendered[2].item, "firstinnerlast");
}

TEST_F(ResultsLoadingTest, NewFunctionsAreReportedOnceAndTheFlagCleared) {
    testing::ScopedLanguage language("[Language]\nmsgNewFunct_35=New functions!\n");
    testing::ScriptedPrompts prompts;
    EXPECT_FALSE(reportNewFunctions(doc, prompts));
    EXPECT_TRUE(prompts.shown.empty());
    doc.NewFunctionsSeen = true;
    EXPECT_TRUE(reportNewFunctions(doc, prompts));
    EXPECT_FALSE(reportNewFunctions(doc, prompts));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "information");
    EXPECT_EQ(prompts.shown[0].text, "New functions!");
    EXPECT_FALSE(doc.NewFunctionsSeen);
}

}  // namespace
}  // namespace pelvoro
