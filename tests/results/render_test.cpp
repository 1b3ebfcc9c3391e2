// Result line generation: mark-up lines from parsed results, family by family.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "results/fp_parser.h"
#include "results/functions/family_cases.h"
#include "results/render_result.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST_F(RenderTest, StatusSuffixes) {
    struct Row {
        uint8_t status;
        std::string suffix;
    };
    for (const Row& row :
         {Row{0, "#Cb#AR#K023"}, Row{1, "#CR#AR#K020"}, Row{2, "#CR#AR#K024"},
          Row{5, "#Cb#AR#K000"}, Row{6, "#Cb#AR"}, Row{3, ""}, Row{4, ""}, Row{7, ""}}) {
        r.CURRENT.Status = row.status;
        EXPECT_EQ(lines("109").front(), "X#PR#L1{Funct_CURRENT}" + row.suffix) << int(row.status);
    }
    r.RES_MICRO.Status = 9;
    EXPECT_EQ(lines("80").front(),
              "X#PR#L1{Funct_RESIST}#Cb#AR"
              "HIGH");
    r.RES_MICRO.Status = 10;
    EXPECT_EQ(lines("80").front(),
              "X#PR#L1{Funct_RESIST}#Cb#AR"
              "LOW");
}

TEST_F(RenderTest, LimitLinesAndSystemLine) {
    r.CURRENT = {};
    r.CURRENT.Status = 1;
    r.CURRENT.I = v("12.5", "mA");
    r.CURRENT.Limit = v("-", "mA");
    // A limit of "-" writes no limit line; the later tester always shows the system.
    EXPECT_EQ(lines("109"), (Lines{"X#PR#L1{Funct_CURRENT}#CR#AR#K020", "X#PR#L2I: 12.5mA",
                                   "X#PR#L3{System_7} "}));
    // The earlier tester shows it only for a known system.
    EXPECT_EQ(lines("9"), (Lines{"X#PR#L1#K309#CR#AR#K020", "X#PR#L2I: 12.5mA"}));
    r.CURRENT.EarthingSystem = 2;
    r.CURRENT.Limit = v("200", kOhm);
    EXPECT_EQ(lines("9"), (Lines{"X#PR#L1#K309#CR#AR#K020", "X#PR#L2I: 12.5mA",
                                 "X#PL#L3{text559}: 200#S258", "X#PR#L3{System_7} {Unit_SYS-IT}"}));
    for (int esys = 1; esys <= 6; ++esys) {
        static const char* const kNames[] = {"{Unit_SYS-TN/TT}", "{Unit_SYS-IT}",
                                             "{Unit_SYS-RV55}",  "{Unit_SYS-RV63}",
                                             "{Unit_SYS-PP230}", ""};
        r.CURRENT.EarthingSystem = uint8_t(esys);
        EXPECT_EQ(lines("9").back(), std::string("X#PR#L3{System_7} ") + kNames[esys - 1]);
    }
}

TEST_F(RenderTest, PlaceholderLimitIsLeftOutOnlyWhereTheCodeSaysSo) {
    r.CONT.Limit = v(kNotDelivered, kOhm);
    EXPECT_EQ(lines("56"), (Lines{"X#PR#L1{Funct_CONT}#Cb#AR#K023", "X#PR#L2R: "}));
    r.CONT.SubFunction = 1;
    const Lines code103 = lines("103");
    EXPECT_EQ(code103[code103.size() - 2], "X#PL#L3{text559}: #S272#S272#S272#S258");
}

TEST(CompareValueTexts, NumbersWithPointOrCommaElseText) {
    EXPECT_EQ(compareValueTexts("12,5", "12.5"), 0);
    EXPECT_EQ(compareValueTexts(" 9", "10"), -1);
    EXPECT_EQ(compareValueTexts("-1", "0"), -1);
    EXPECT_EQ(compareValueTexts(">50", "49"), 1);
    EXPECT_EQ(compareValueTexts("<1", "0.5"), 1);  // the bound counts
    EXPECT_EQ(compareValueTexts("abc", "abd"), -1);
    EXPECT_EQ(compareValueTexts("1.2.3", "2"), -1);  // no number: compared as text
}

TEST_F(RenderTest, HeadingsBySubFunctionVariantAndSystem) {
    struct Row {
        std::string code, variant;
        std::function<void(TResultsData&)> set;
        std::string heading;
    };
    const Row rows[] = {
        {"2", {}, [](auto& x) { x.ISO.SubFunction = 6; }, "#K302: #K589"},
        {"3", {}, [](auto& x) { x.CONT.SubFunction = 0; }, "#K303: #K325 NPE"},
        {"3", {}, [](auto& x) { x.CONT.SubFunction = 3; }, "#K303: #K326 LPE"},
        {"3", "AUS", [](auto& x) { x.CONT.SubFunction = 0; }, "#K303: #K325"},
        {"3", {}, [](auto& x) { x.CONT.SubFunction = 5; }, "#K303:  R-PE(loop)"},
        {"4", {}, [](auto& x) { x.ZLINE.SubFunction = 1; }, "#K304: m#S258 L-N"},
        {"4", {}, [](auto& x) { x.ZLINE.SubFunction = 11; }, "#K304 dU"},
        {"5", {}, [](auto& x) { x.ZLOOP.SubFunction = 1; }, "#K305: m#S258 L-PE"},
        {"8", {}, [](auto& x) { x.EARTH.SubFunction = 3; }, "#K308: #S274"},
        {"17", {}, [](auto& x) { x.ERTCONT.SubFunction = 4; }, "#K317: #K557-Fast"},
        {"18", {}, [](auto& x) { x.ISO.Mode = 0, x.ISO.SubFunction = 4; }, "#K318: #K555  #K343"},
        {"18", {}, [](auto& x) { x.ISO.Mode = 2; }, "#K318: #K577"},
        {"20", {}, [](auto& x) { x.CorrCONN.SubFunction = 5; }, "#K549: Switch ON"},
        {"20", {}, [](auto& x) { x.CorrCONN.SubFunction = 2; }, "#K520: #K574"},
        {"21", {}, [](auto& x) { x.FOLTLOOP.DeviceFlag = 1; }, "#K521: {text581}"},
        {"25", {}, [](auto& x) { x.RING.SubFunction = 2; }, "#K525: #K595"},
        {"27", {}, [](auto& x) { x.CONTAT.SubFunction = 1; }, "#K527: R1+R2"},
        {"53", {}, [](auto& x) { x.ZLOOP.SubFunction = 4; }, "#K305 Zs rcd"},
        {"55", {}, [](auto& x) { x.ISO.SubFunction = 13; }, "{Funct_R-ISO} N/E"},
        {"56", {}, [](auto& x) { x.CONT.SubFunction = 1; }, "{Funct_R-LowOhm}"},
        {"57", {}, [](auto& x) { x.EARTH.SubFunction = 0; }, "#K308: {Funct_4WIRE}"},
        {"102", {}, [](auto& x) { x.ISO.SubFunction = 23; }, "{Funct_R-ISO} L2/L3"},
        {"105",
         {},
         [](auto& x) { x.ZLOOP.EarthingSystem = 1, x.ZLOOP.SubFunction = 10; },
         "{Funct_ZsRCD} L2/PE"},
        {"105",
         {},
         [](auto& x) { x.ZLOOP.EarthingSystem = 3, x.ZLOOP.SubFunction = 10; },
         "{Funct_R-LOOP}"},
        {"108", {}, [](auto& x) { x.EARTH.SubFunction = 1; }, ""},
        {"125", {}, [](auto& x) { x.RING.SubFunction = 4; }, "{Funct_CONT} rn"},
        {"127", {}, [](auto& x) { x.CONTAT.SubFunction = 3; }, "{Funct_CONT} R1+R2"},
    };
    for (const Row& row : rows) {
        r = TResultsData{};
        row.set(r);
        const Lines out = lines(row.code, row.variant);
        ASSERT_FALSE(out.empty()) << row.code;
        EXPECT_EQ(out.front(), "X#PR#L1" + row.heading + "#Cb#AR#K023") << row.code;
    }
}

TEST_F(RenderTest, UnknownCodeWritesNothing) {
    EXPECT_TRUE(lines("").empty());
    EXPECT_TRUE(lines("7").empty());
}

TEST_F(RenderTest, RenderResultAppendsAndCountsHeadings) {
    StructureDocument doc;
    StructureItem* item = doc.addItem(doc.root(), ItemType::Measurement, "M");
    ASSERT_NE(item, nullptr);
    item->data.ResTexts = {"X#PR#L1Kept"};
    r.FunctionCode = "22";
    r.FULSCHED.Section = "1";
    r.FULSCHED.Answers = "11";
    RenderOptions o;
    RenderResult(*item, r, o);
    // The kept line, the list's heading and its bold title.
    EXPECT_EQ(item->data.ResTexts.size(), 4u);
    EXPECT_EQ(item->data.ResTexts.front(), "X#PR#L1Kept");
    EXPECT_EQ(item->data.L1Count, 3);
}

// Whole strings through the parser.
TEST_F(RenderTest, GoldenLinesFromFpStrings) {
    struct Row {
        std::string fp, typeCode;
        Lines expected;
    };
    const Row rows[] = {
        {"F;102;11;0;500;1.00M;23.5M;512;;;;;1;",
         {},
         {"X#PR#L1{Funct_R-ISO} L/E#Cb#AR#K023", "X#PR#L2R: 23.5M#S258  Um: 512V",
          "X#PL#L3Uiso: 500V", "X#PL#L3{text559}: 1.00M#S258",
          "X#PR#L3{System_7} {Unit_SYS-TN/TT}"}},
        {"F;2;1;0;gG;16;0.4;200;0.45;510;4.0;2.1;0.3m;",
         "52",
         {"X#PR#L1#K304 dU#Cb#AR#K023", "X#PR#L2dU: 2.1", "X#PL#L3dU_lim: 4.0",
          "X#PR#L3{Quant_Isc}: 510A", "X#PR#L3Z: 0.45#S258", "X#PR#L3Zref: 0.3m#S258"}},
        {"F;109;0;1;30m;12.5m;1;",
         {},
         {"X#PR#L1{Funct_CURRENT}#CR#AR#K020", "X#PR#L2I: 12.5mA", "X#PL#L3{text559}: 30mA",
          "X#PR#L3{System_7} {Unit_SYS-TN/TT}"}},
    };
    for (const Row& row : rows) EXPECT_EQ(fromFp(row.fp, row.typeCode), row.expected) << row.fp;
}

}  // namespace
}  // namespace pelvoro
