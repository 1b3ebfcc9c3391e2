// Loading a document through the reader with the results subsystem's parsing hook: every
// FP string is parsed with the instrument data and ProtVer read from the same file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "files/document_file.h"
#include "results/results_loading.h"

namespace pelvoro {
namespace {

struct Seen {
    std::string item, code, value;
};

TEST(ResultsParsingLoadTest, ParsesWithTheFilesInstrumentAndProtVer) {
    StructureDocument original;
    original.InstrumentData.line(1) = "54";
    StructureItem* board = original.addItem(original.root(), ItemType::Circuit, "Board");
    StructureItem* rcd = original.addItem(*board, ItemType::Measurement, "RCD");
    rcd->data.FpStrings = {"F;4;3;0;30m;300;50;20;21;22;23;24;25;26;27;28;29;5;", "F;99;0;1;"};
    rcd->data.ProtVer = 2;
    const std::string file = writeDocumentToString(original);

    std::vector<Seen> seen;
    DocumentReadOptions options;
    options.hook =
        makeResultsParsingHook([&](StructureDocument&, StructureItem& item, const TResultsData& r) {
            seen.push_back({item.data.Name, r.FunctionCode, r.RCD.t2_0.Value});
        });
    StructureDocument doc;
    ASSERT_TRUE(readDocumentFromBytes(doc, file, options).ok);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].item, "RCD");
    EXPECT_EQ(seen[0].code, "54");   // code 4 of a type-54 instrument
    EXPECT_EQ(seen[0].value, "22");  // read with coding version 2
    EXPECT_EQ(seen[1].code, "");
    EXPECT_TRUE(doc.NewFunctionsSeen);
    // The strings themselves are kept as they were.
    EXPECT_EQ(writeDocumentToString(doc), file);
}

}  // namespace
}  // namespace pelvoro
