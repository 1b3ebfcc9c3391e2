// Result strings read field by field: every case lists the whole filled sub-record, and
// every field it does not list must have stayed empty (bytes 0), so a value written to the
// wrong field fails the case.

#include "results/fp_parser.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/structure_document.h"
#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

// ---------------------------------------------------------------------------------------
// The string grammar and the rules every code shares.

struct Parsed {
    TResultsData r;
    bool newFunctions = false;
};

Parsed parse(std::string_view fp, std::string_view typeCode = "", int protVer = 0) {
    Parsed p;
    ParseFpString(fp, FpParseContext{typeCode, "", protVer}, p.r, p.newFunctions);
    return p;
}

TEST(FpParserTest, StringsWithoutAFunctionCodeParseNothing) {
    for (std::string_view fp : {"", "X;9;0;1;", "f;9;0;1;", "F", "F;", "F;9", "F;9!"}) {
        SCOPED_TRACE(fp);
        Parsed p = parse(fp);
        EXPECT_EQ(p.r.FunctionCode, "");
        EXPECT_EQ(p.r.record(), ResultRecord::None);
        EXPECT_FALSE(p.newFunctions);
    }
}

TEST(FpParserTest, UnknownCodesSetTheFlagAndFillNothing) {
    for (std::string_view fp : {"F;7;0;1;", "F;59;0;1;", "F;203;", "F;306;", "F;abc;1;", "F;09;",
                                "F;-5;", "F; 9;", "F;;0;1;", "F;99999999999;"}) {
        SCOPED_TRACE(fp);
        Parsed p = parse(fp);
        EXPECT_EQ(p.r.FunctionCode, "");
        EXPECT_TRUE(p.newFunctions);
    }
}

TEST(FpParserTest, CharacterTwoIsSkippedWhateverItIs) {
    Parsed p = parse("Fx9;0;1;5;");
    EXPECT_EQ(p.r.FunctionCode, "9");
    EXPECT_EQ(p.r.CURRENT.Status, 1);
    EXPECT_EQ(p.r.CURRENT.Limit.Value, "5");
}

TEST(FpParserTest, TypedInstrumentsAddFiftyBelowFifty) {
    struct Row {
        std::string_view fp, typeCode, dispatched;
    };
    for (const Row& row : std::initializer_list<Row>{
             {"F;2;0;0;", "52", "52"},
             {"F;52;0;0;", "52", "52"},
             {"F;6;1;0;", "54", "56"},
             {"F;49;", "51", ""},  // 99 has no record
             {"F;50;", "53", ""},  // 50 is not below 50
             {"F;2;0;0;", "55", "2"},
             {"F;2;0;0;", "5", "2"},
             {"F;2;0;0;", " 52", "2"},
             {"F;101;;3;", "52", "101"},
         }) {
        SCOPED_TRACE(std::string(row.fp) + " type " + std::string(row.typeCode));
        Parsed p = parse(row.fp, row.typeCode);
        EXPECT_EQ(p.r.FunctionCode, row.dispatched);
        EXPECT_EQ(p.newFunctions, row.dispatched.empty());
    }
}

TEST(FpParserTest, EndMarkOnlyForItsCodes) {
    // 58: the string ends at "!"; what follows (a field 7 would be surplus) is not read.
    Parsed early = parse("F;58;;1;!5;6;7;");
    EXPECT_EQ(early.r.FunctionCode, "58");
    EXPECT_EQ(early.r.CURRENT.Status, 5);
    EXPECT_EQ(early.r.CURRENT.Limit.Value, "");
    EXPECT_FALSE(early.newFunctions);
    // Right after the code.
    Parsed atOnce = parse("F;301;!1;");
    EXPECT_EQ(atOnce.r.HV_MT.I.Value, "");
    EXPECT_FALSE(atOnce.newFunctions);
    // "!" inside a field is text.
    Parsed inside = parse("F;58;;1;5!;6;");
    EXPECT_EQ(inside.r.CURRENT.Limit.Value, "5!");
    // Code 9 has no end mark: field 5 is "!5", field 7 is surplus.
    Parsed nine = parse("F;9;;1;!5;6;1;2;");
    EXPECT_EQ(nine.r.CURRENT.Limit.Value, "!5");
    EXPECT_EQ(nine.r.CURRENT.EarthingSystem, 1);
    EXPECT_TRUE(nine.newFunctions);
}

// Fields of every length up to two words long, at every offset in the string, with and
// without the last ";" (and a ";"-free byte of the high half beside each field).
TEST(FpParserTest, FieldsEndAtTheirSemicolonWhateverTheirLength) {
    for (size_t a = 0; a <= 17; ++a) {
        for (size_t b = 0; b <= 17; ++b) {
            const std::string limit = std::string(a, '1') + (a % 3 == 0 ? "\xBB" : "");
            const std::string value = std::string(b, '2');
            const std::string fp = "F;109;0;1;" + limit + ";" + value + "m;";
            SCOPED_TRACE(fp);
            Parsed p = parse(fp);
            EXPECT_EQ(p.r.CURRENT.Limit.Value, limit);
            EXPECT_EQ(p.r.CURRENT.I, (TResultValue{value, "mA"}));
            EXPECT_FALSE(p.newFunctions);
            Parsed cut = parse(fp.substr(0, fp.size() - 1));
            EXPECT_EQ(cut.r.CURRENT.Limit.Value, limit);
            EXPECT_EQ(cut.r.CURRENT.I, (TResultValue{"", "A"}));
        }
    }
}

TEST(FpParserTest, TheLastFieldNeedsItsSemicolon) {
    Parsed p = parse("F;109;0;1;30;12.5");
    EXPECT_EQ(p.r.CURRENT.Limit.Value, "30");
    EXPECT_EQ(p.r.CURRENT.I.Value, "");
    EXPECT_FALSE(p.newFunctions);
    // A trailing surplus field without ";" is not met either.
    EXPECT_FALSE(parse("F;109;0;1;30;12.5;1;x").newFunctions);
}

TEST(FpParserTest, EveryStringStartsWithoutVerdictAndSubFunction) {
    TResultsData r;
    bool seen = false;
    ParseFpString("F;104;10;2;gG;16;0.4;200;0.45;510;0.4;0.2;;;;;;3;", {}, r, seen);
    ASSERT_EQ(r.ZLINE.SubFunction, 3);
    ASSERT_EQ(r.ZLINE.Status, 2);
    ASSERT_EQ(r.ZLINE.EarthingSystem, 3);
    // Texts outside the maps set no byte: nothing of the string before survives either.
    ParseFpString("F;104;x;7;", {}, r, seen);
    EXPECT_TRUE(seen);
    EXPECT_EQ(r.ZLINE.SubFunction, 0);
    EXPECT_EQ(r.ZLINE.Status, 3);
    EXPECT_EQ(r.ZLINE.EarthingSystem, 0);
    EXPECT_EQ(r.ZLINE.FuseType, "");
    EXPECT_EQ(r.ZLINE.Z, (TResultValue{"", "#S258"}));
    // A failed result, then one of the same item without a status field: no verdict, not
    // FAILED; a lone string without one is not PASSED either.
    for (const char* first : {"F;9;;1;30;12.5m;", ""}) {
        TResultsData item;
        if (*first) ParseFpString(first, {}, item, seen);
        ParseFpString("F;9;;;30;12.5m;", {}, item, seen);
        EXPECT_EQ(item.CURRENT.Status, 3) << first;
    }
    // Another code's parse clears this record's values too, and its units.
    ParseFpString("F;109;0;1;30;12.5m;", {}, r, seen);
    EXPECT_EQ(r.ZLINE.Z, TResultValue{});
    EXPECT_EQ(r.ZLINE.Status, 3);
    // An unknown code leaves everything cleared and no code.
    ParseFpString("F;7;", {}, r, seen);
    EXPECT_EQ(r.FunctionCode, "");
    EXPECT_EQ(r.CURRENT.I, TResultValue{});
    EXPECT_EQ(r.CURRENT.Status, 3);
}

TEST(FpParserTest, StatusMaps) {
    struct Row {
        std::string_view fp;
        int status;  // -1: not in the map
    };
    auto statusOf = [](const TResultsData& r) {
        int s = -2;
        r.withRecord(r.record(), [&](const auto& sub) { s = sub.Status; });
        return s;
    };
    for (const Row& row : std::initializer_list<Row>{
             {"F;9;;0;", 0},      {"F;9;;3;", 3},    {"F;9;;6;", 6},    {"F;9;;7;", -1},
             {"F;9;;;", -1},      {"F;9;;01;", -1},  {"F;9;;255;", -1}, {"F;25;0;255;", 3},
             {"F;125;4;255;", 3}, {"F;58;;0;", 0},   {"F;58;;1;", 5},   {"F;58;;2;", 1},
             {"F;58;;3;", 2},     {"F;58;;4;", -1},  {"F;201;;1;", 5},  {"F;80;;4;", 9},
             {"F;80;;5;", 10},    {"F;204;;0;", 3},  {"F;204;;1;", 0},  {"F;204;;2;", 1},
             {"F;204;;3;", 2},    {"F;207;;4;", -1},
         }) {
        SCOPED_TRACE(row.fp);
        Parsed p = parse(row.fp);
        EXPECT_EQ(p.newFunctions, row.status < 0);
        EXPECT_EQ(statusOf(p.r), row.status < 0 ? 3 : row.status);
    }
}

TEST(FpParserTest, EarthingSystemMap) {
    for (auto [text, value] : std::initializer_list<std::pair<std::string_view, int>>{
             {"0", 0}, {"1", 1}, {"5", 5}, {"255", 6}}) {
        Parsed p = parse("F;9;;0;;;" + std::string(text) + ";");
        EXPECT_EQ(p.r.CURRENT.EarthingSystem, value) << text;
        EXPECT_FALSE(p.newFunctions);
    }
    for (std::string_view text : {"6", "", "x", "01", "254"}) {
        Parsed p = parse("F;9;;0;;;" + std::string(text) + ";");
        EXPECT_EQ(p.r.CURRENT.EarthingSystem, 0) << text;
        EXPECT_TRUE(p.newFunctions) << text;
    }
}

TEST(FpParserTest, SplitKeepsTheNumberAndMovesThePrefix) {
    struct Row {
        std::string_view text, value, unit;
    };
    for (const Row& row : std::initializer_list<Row>{
             {"1.5M", "1.5", "M#S258"},
             {"<0.01k", "<0.01", "k#S258"},
             {">999M", ">999", "M#S258"},
             {" 12,5 m", " 12,5 ", "m#S258"},
             {"=0.5", "=0.5", "#S258"},
             {"0.5u#", "0.5", "u##S258"},
             {"M", "", "M#S258"},
             {"", "", "#S258"},
             {"#S272#S272#S272", "#S272#S272#S272", "#S258"},
             {"-", "-", "#S258"},
             {"12.3kOhm", "12.3", "kOhm#S258"},
         }) {
        TResultValue v{"old", "#S258"};
        splitValueField(row.text, v);
        EXPECT_EQ(v.Value, row.value) << row.text;
        EXPECT_EQ(v.Unit, row.unit) << row.text;
    }
}

TEST(FpParserTest, NotDeliveredValuesStayWhole) {
    Parsed p = parse("F;55;0;0;500;#S272#S272#S272;#S272#S272#S272;#S272#S272#S272;");
    EXPECT_EQ(p.r.ISO.Lim, (TResultValue{"#S272#S272#S272", "#S258"}));
    EXPECT_EQ(p.r.ISO.Rln, (TResultValue{"#S272#S272#S272", "#S258"}));
}

TEST(FpParserTest, ManyFieldsAreSurplusNotWrittenAnywhere) {
    std::string fp = "F;206;0;0;";
    for (int i = 0; i < 100000; ++i) fp += "9;";
    Parsed p = parse(fp);
    EXPECT_TRUE(p.newFunctions);
    EXPECT_EQ(p.r.STEPV_TO.StepTime[4].Value, "9");
    EXPECT_EQ(p.r.STEPV_TO.Date, "9");
}

TEST(FpParserTest, DocumentOverloadUsesTheInstrumentAndSetsTheFlag) {
    StructureDocument doc;
    doc.InstrumentData.line(1) = "54";
    doc.InstrumentData.InstrVariant = "KORVEN";
    TResultsData r;
    ParseFpString("F;4;3;0;30m;300;50;20;21;22;23;24;25;26;27;28;29;5;", 2, doc, r);
    EXPECT_EQ(r.FunctionCode, "54");
    EXPECT_EQ(r.RCD.t2_0.Value, "22");
    EXPECT_FALSE(doc.NewFunctionsSeen);
    ParseFpString("F;3;0;0;", 0, doc, r);  // 53 with sub-function 0
    EXPECT_TRUE(doc.NewFunctionsSeen);
    doc.InstrumentData.line(1) = "20";
    ParseFpString("F;2;0;0;gG;16;0.4;1.2;", 0, doc, r);
    EXPECT_EQ(r.FunctionCode, "2");
}

}  // namespace
}  // namespace pelvoro
