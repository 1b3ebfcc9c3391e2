// Result line generation: mark-up lines from parsed results, family by family.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "results/fp_parser.h"
#include "results/render_result.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using Lines = std::vector<std::string>;

// Every key the generator asks for reads "{key}", so that expected lines show which key
// stood where.
std::string braceLanguage() {
    static const char* const kKeys[] = {
        "text559",       "text560",       "text561",        "text562",        "text563",
        "text564",       "text536",       "text537",        "text538",        "text539",
        "text578",       "text579",       "text580",        "text581",        "text582",
        "text583",       "text584",       "text585",        "text596",        "text597",
        "text598",       "text565",       "System_7",       "Unit_SYS-TN/TT", "Unit_SYS-IT",
        "Unit_SYS-RV55", "Unit_SYS-RV63", "Unit_SYS-PP230", "Quant_Isc",      "Quant_Isc_lim",
        "Quant_type",    "Quant_mult",    "Range_15",       "Duration_15",    "HV_16",
        "Test_6",        "Funct_4WIRE"};
    std::string ini = "[Language]\n";
    for (const char* key : kKeys) ini += std::string(key) + "={" + key + "}\n";
    for (const char* key :
         {"Funct_VOLT",      "Funct_PHASEROT", "Funct_R-ISO",  "Funct_R_DIAGN",  "Funct_R-LowOhm",
          "Funct_CONT",      "Funct_Z-LINE",   "Funct_R-LINE", "Funct_Z-LOOP",   "Funct_ZsRCD",
          "Funct_R-LOOP",    "Funct_RCD-t",    "Funct_RCD-I",  "Funct_RCD-Auto", "Funct_RCD-Uc",
          "Funct_EARTH",     "Funct_CURRENT",  "Funct_RESIST", "Funct_VOLTAGE",  "Funct_ISFL",
          "Funct_DIAGN-TEST"})
        ini += std::string(key) + "={" + key + "}\n";
    // Inspection questions.
    ini += "Visual_G1=Installation as designed\n";
    ini += "Visual_G2=Access to live parts prevented by enclosures\n";
    ini += "VisualFS_1=<4>Protection\nVisualFS_2=<0>Barriers in place\n";
    ini += "VisualFS_3=<8>Small print\nVisualFS_4=<6>Underlined title\n";
    ini += "VisualFS_9=<0>Ninth question\nVisualFS_10=<7>Tenth title\n";
    ini += "Visual_02_1=<8>Small question\n";
    ini += "text319=Polarity\n";
    return ini;
}

class RenderTest : public ::testing::Test {
  protected:
    testing::ScopedLanguage language{braceLanguage()};
    testing::FixedWidthMeasure measure{10};
    TResultsData r;

    Lines lines(const std::string& code, const std::string& variant = {}, int width = 0) {
        r.FunctionCode = code;
        RenderOptions o;
        o.variant = variant;
        o.measure = &measure;
        o.columnWidth = width;
        return generateResultLines(r, o);
    }
    Lines fromFp(const std::string& fp, const std::string& typeCode = {},
                 const std::string& variant = {}, int protVer = 0) {
        TResultsData parsed;
        bool seen = false;
        ParseFpString(fp, FpParseContext{typeCode, variant, protVer}, parsed, seen);
        EXPECT_FALSE(seen) << fp;
        r = parsed;
        return lines(parsed.FunctionCode, variant);
    }
};

TResultValue v(std::string value, std::string unit = {}) {
    return {std::move(value), std::move(unit)};
}

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

TEST_F(RenderTest, PhaseRotationOfTheLaterTester) {
    r.VOLT.Mode = 1;
    r.VOLT.Status = 0;
    EXPECT_EQ(lines("101"), (Lines{"X#PR#L1{Funct_PHASEROT}#Cb#AR#K023", "X#PR#L2Ph: 1.2.3",
                                   "X#PR#L3{System_7} "}));
    r.VOLT.Mode = 0;
    r.VOLT.EarthingSystem = 1;
    r.VOLT.Uln = v("230", "V");
    r.VOLT.f = v("50", "Hz");
    EXPECT_EQ(lines("101"), (Lines{"X#PR#L1{Funct_VOLT}", "X#PR#L2Uln: 230V",
                                   "X#PR#L2Ulpe: ", "X#PR#L2Unpe: ", "X#PR#L2f: 50Hz",
                                   "X#PR#L3{System_7} {Unit_SYS-TN/TT}"}));
}

TEST_F(RenderTest, VoltageOfTheEarlierTesterWithPhaseSequence) {
    r.VOLT.Mode = 2;
    r.VOLT.U21 = v("400", "V");
    r.VOLT.U1pe = v("401", "V");
    r.VOLT.U2pe = v("402", "V");
    r.VOLT.f = v("50", "Hz");
    EXPECT_EQ(lines("1"),
              (Lines{"X#PR#L1#K301 #K345 #S257#AR#K000", "X#PR#L2U21: 400V", "X#PR#L2U31: 401V",
                     "X#PR#L2U32: 402V", "X#PR#L2f: 50Hz", "X#PR#L2#S257: 3.2.1"}));
    EXPECT_EQ(lines("1", "AUS").front(), "X#PR#L1#K301/PHASE SEQ.#AR#K000");
}

TEST_F(RenderTest, LineImpedanceWithAndWithoutFuse) {
    auto& s = r.ZLINE;
    s.SubFunction = 4;
    s.EarthingSystem = 1;
    s.Z = v("0.45", kOhm);
    s.Isc = v("510", "A");
    s.Isc_lim = v("200", "A");
    s.Z_lim = v("1.2", kOhm);
    s.Fuse_I = v("16", "A");
    s.Fuse_t = v("0.4", "s");
    s.FuseType = "*F";
    EXPECT_EQ(lines("104"),
              (Lines{"X#PR#L1{Funct_Z-LINE} L2/N#Cb#AR#K023", "X#PR#L2Z: 0.45#S258",
                     "X#PR#L3{Quant_Isc}: 510A", "X#PR#L3{System_7} {Unit_SYS-TN/TT}"}));
    s.FuseType = "gG";
    const Lines fuse = {"X#PR#L1{Funct_Z-LINE} L2/N#Cb#AR#K023",
                        "X#PR#L2Z: 0.45#S258",
                        "X#PR#L3{Quant_Isc}: 510A",
                        "X#PL#L3{text559}: 200A",
                        "X#PL#L3{text582}: gG",
                        "X#PR#L3{text536}: 16A",
                        "X#PR#L3{text537}: 0.4s",
                        "X#PR#L3{System_7} {Unit_SYS-TN/TT}"};
    EXPECT_EQ(lines("104"), fuse);
    EXPECT_EQ(lines("104", "KORVEN")[3], "X#PL#L3{text559}: 1.2#S258");
    // Reduced-voltage systems show the value of Z as a resistance.
    s.EarthingSystem = 3;
    const Lines reduced = lines("104");
    EXPECT_EQ(reduced[0], "X#PR#L1{Funct_R-LINE} L2/N#Cb#AR#K023");
    EXPECT_EQ(reduced[1], "X#PR#L2R: 0.45#S258");
}

TEST_F(RenderTest, RcdHeadingsOfTheLaterTester) {
    struct Row {
        uint8_t sub;
        std::string heading;
    };
    for (const Row& row : {
             Row{0, "{Funct_RCD-t}"},
             Row{8, "{Funct_RCD-t} L2/PE"},
             Row{11, "{Funct_RCD-I} #S320 L2/PE"},
             Row{1, "{Funct_RCD-I} #S320"},
             Row{13, "{Funct_RCD-Auto} L1/PE"},
             Row{6, "{Funct_RCD-Uc} L3/PE"},
         }) {
        r.RCD.SubFunction = row.sub;
        r.RCD.Status = 1;
        EXPECT_EQ(lines("106").front(), "X#PR#L1" + row.heading + "#CR#AR#K020") << int(row.sub);
    }
    r.RCD.SubFunction = 3;
    r.RCD.Status = 0;
    EXPECT_EQ(lines("6").front(), "X#PR#L1#K538: #K338#Cb#AR#K023");
}

TEST_F(RenderTest, RcdAutomaticTestTimeLines) {
    auto& s = r.RCD;
    s.SubFunction = 2;
    s.RcdType = "#S318#S316";  // AC, general
    s.t12_0 = v("300", "ms");
    s.t1_0 = v("25", "ms");
    s.t1_180 = v("26", "ms");
    s.t5_180 = v("10", "ms");
    s.Uc = v("5", "V");
    s.Idn = v("30", "mA");
    s.Ulim = v("50", "V");
    EXPECT_EQ(lines("6"), (Lines{"X#PR#L1#K538: #K337#Cb#AR#K023", "X#PR#L2t#S304: 300ms",
                                 "X#PR#L2t#S308: 25ms", "X#PR#L2t#S309: 26ms",
                                 "X#PR#L2t#S313: 10ms", "X#PR#L3Uc: 5V", "X#PR#L3Idn: 30mA",
                                 "X#PR#L3{Quant_type}: #S318#S316", "X#PR#L3Ulim: 50V"}));

    // Code 54: once, (twice for "AUS"), five times, half; then the trip currents.
    s.RcdType = "#S302";  // A
    s.t2_0 = v("15", "ms");
    s.Id_0 = v("18", "mA");
    s.Id_180 = v("19", "mA");
    const Lines expected = {"X#PR#L1#K538: #K337#Cb#AR#K023",
                            "X#PR#L2t#S310: 25ms",
                            "X#PR#L2t#S311: 26ms",
                            "X#PR#L2t#S358: 15ms",
                            "X#PR#L2t#S315: 10ms",
                            "X#PR#L2t#S306: 300ms",
                            "X#PR#L2I#S320#S302: 18mA",
                            "X#PR#L2I#S320#S303: 19mA",
                            "X#PR#L3Uc: 5V",
                            "X#PR#L3Idn: 30mA",
                            "X#PR#L3{Quant_type}: #S302",
                            "X#PR#L3Ulim: 50V"};
    EXPECT_EQ(lines("54", "AUS"), expected);
    Lines withoutTwice = expected;
    withoutTwice.erase(withoutTwice.begin() + 3);
    EXPECT_EQ(lines("54"), withoutTwice);
    // A type without a symbol of its own gives plain time lines.
    s.RcdType = "General";
    EXPECT_EQ(lines("54")[1], "X#PR#L2t25ms");
}

TEST_F(RenderTest, RcdTripCurrentOfCode54ComparesTouchVoltageWithItsLimit) {
    struct Row {
        std::string uc, ulim;
        bool tripLines;
    };
    for (const Row& row : {Row{"12,5", "50", true}, Row{"60", "50", false},
                           Row{"9", "10", true},  // numerically below, though "9" > "10" as text
                           Row{"50.0", "50", false}, Row{"<1", "50", true}, Row{"x", "50", false},
                           Row{"", "50", true}}) {
        r.RCD = {};
        r.RCD.SubFunction = 1;
        r.RCD.Uc = v(row.uc, "V");
        r.RCD.Ulim = v(row.ulim, "V");
        r.RCD.Uci = v("3", "V");
        r.RCD.t = v("20", "ms");
        const Lines out = lines("54");
        ASSERT_GE(out.size(), 3u);
        if (row.tripLines) {
            EXPECT_EQ(out[2], "X#PR#L3Uci: 3V") << row.uc;
            EXPECT_EQ(out[3], "X#PR#L3t: 20ms") << row.uc;
        } else {
            EXPECT_EQ(out[2], "X#PR#L3Uc: " + row.uc + "V") << row.uc;
            EXPECT_EQ(out[3], "X#PR#L3Idn: ") << row.uc;
        }
    }
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

TEST_F(RenderTest, HighVoltageDateLineComesFirst) {
    auto& s = r.DIAGN_TO;
    s.Date = "01.02.2026";
    s.Time = "12:00";
    s.R = v("1.5", "G#S258");
    s.t1 = v("30", "s");
    s.Rt1 = v("1.2", "G#S258");
    s.DAR = v("1.25");
    const Lines out = lines("204");
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(out[0], "X#PD01.02.2026  12:00");
    EXPECT_EQ(out[1], "X#PR#L1{Funct_DIAGN-TEST}");
    EXPECT_EQ(out[6], "X#PR#L2R(30s): 1.2G#S258");
    EXPECT_EQ(out[9], "X#PR#L3DAR: 1.25");
}

TEST_F(RenderTest, MachineTesterValuesCarryTheirUnit) {
    r.HV_MT.I = v("1.2mA", "mA");
    r.HV_MT.U = v("1500V");
    EXPECT_EQ(lines("301"), (Lines{"X#PR#L1{HV_16}", "X#PR#L2I: 1.2mA", "X#PR#L2U: 1500V",
                                   "X#PL#L3Un: ", "X#PL#L3Imax: "}));
}

TEST_F(RenderTest, VisualInspectionWrapsQuestions) {
    r.VISUAL.Kind = 5;
    r.VISUAL.G[5] = "10";
    // 10 pixels a character: 160 + 250 leaves 25 characters a line.
    EXPECT_EQ(lines("16", {}, 410),
              (Lines{"X#PR#L1#K316: #K555#Cb#AR#K023", "X#PR#L2Installation as designed",
                     "X#PR#L2   #S344", "X#PR#L2Access to live parts",
                     "X#PR#L2   prevented by enclosures", "X#PR#L2   #S343", "X#PR#L2**",
                     "X#PR#L2**", "X#PR#L2**"}));
    // Without a usable width nothing wraps.
    EXPECT_EQ(lines("16", {}, 100)[1], "X#PR#L2Installation as designed  #S344");
}

TEST_F(RenderTest, ChecklistSectionsStylesAndWrapping) {
    r.FULSCHED.Status = 0;
    r.FULSCHED.Section = "1";
    r.FULSCHED.Answers = "0123";
    EXPECT_EQ(lines("22"), (Lines{"X#PR#FB#L1#K522#Cb#AR#K023", "X#PR#FB#L1Protection",
                                  "X#PR #S348 Barriers in place", "X#PR#H9#L1 #S349 Small print",
                                  "X#PR#FB#FU#L1 #S352 Underlined title"}));
    // Section 2 starts at question 9 and has no heading line.
    r.FULSCHED.Section = "2";
    r.FULSCHED.Answers = "50";
    EXPECT_EQ(lines("22", {}, 300),
              (Lines{"X#PR #S350 Ninth question", "X#PR#H9#FB#L1Tenth title"}));
    EXPECT_EQ(lines("22", {}, 260), (Lines{"X#PR #S350 Ninth", "X#PR#L2   question",
                                           "X#PR#H9#FB#L1Tenth", "X#PR#H9#FB#L2   title"}));
    // Style 8 is level 2 in the lists of codes 30 to 32; underlining is for schedules only.
    r.REBT_02.Section = "1";
    r.REBT_02.Answers = "4";
    EXPECT_EQ(lines("30")[1], "X#PR#H9#L2 #S351 Small question");
    r.FULSCHED.Section = "6";
    EXPECT_TRUE(lines("22").empty());
}

TEST_F(RenderTest, PolarityHeadingWrapsUnderItsLead) {
    r.POLAR.SubFunction = 1;
    r.POLAR.WiringResult = 2;
    r.POLAR.R = v("0.5", kOhm);
    std::string ini = braceLanguage() + "text566=light switch in the hall\n";
    testing::ScopedLanguage wide(ini);
    // 160 + 10 characters of "Polarity: " + 15 characters.
    const Lines out = lines("19", {}, 160 + 100 + 150);
    EXPECT_EQ(out, (Lines{"X#PR#L1#K319: light switch in#Cb#AR#K023", "X#PR#L2        the hall",
                          "X#PR#L2Rlpe: 0.5#S258"}));
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

TEST_F(RenderTest, FaultLoopDeviceLines) {
    auto& s = r.FOLTLOOP;
    s.R = v("0.8", kOhm);
    s.DeviceType = "Fuse";
    s.CrossSection1 = v("1.5", "mm2");
    s.CrossSection2 = v("2.5", "mm2");
    s.DeviceCurrent = v("16", "A");
    s.Rphe_lim = v("1.4", kOhm);
    EXPECT_EQ(lines("21"), (Lines{"X#PR#L1#K521: {text580}#Cb#AR#K023", "X#PR#L2R: 0.8#S258",
                                  "X#PR#L3{text561}: {text585}", "X#PR#L3{text562}: ",
                                  "X#PR#L3  {text578}: 1.5mm2", "X#PR#L3  {text579}: 2.5mm2",
                                  "X#PR#L3  {text564}: 16A", "X#PR#L3  Rphe_lim: 1.4#S258"}));
    s.DeviceType = "-";
    EXPECT_EQ(lines("21"), (Lines{"X#PR#L1#K521: {text580}#Cb#AR#K023", "X#PR#L2R: 0.8#S258",
                                  "X#PR#L3{text561}: #S272#S272#S272"}));
}

TEST_F(RenderTest, EarthContinuityShowsPolarityOnlyWithTheHighTestCurrent) {
    auto& s = r.ERTCONT;
    s.R = v("0.3", kOhm);
    s.Limit = v("-");
    s.TestCurrent = v("200", "mA");
    EXPECT_EQ(lines("17"), (Lines{"X#PR#L1#K317: #K555#Cb#AR#K023", "X#PR#L2R: 0.3#S258",
                                  "X#PR#L3R+: ", "X#PR#L3R-: ", "X#PL#L3{text560}: 200mA"}));
    s.TestCurrent = v("7", "mA");
    EXPECT_EQ(lines("17"), (Lines{"X#PR#L1#K317: #K555#Cb#AR#K023", "X#PR#L2R: 0.3#S258",
                                  "X#PL#L3{text560}: 7mA"}));
}

TEST_F(RenderTest, LoopImpedanceOfTheDistributorVariant) {
    auto& s = r.ZLOOP;
    s.SubFunction = 12;
    s.EarthingSystem = 1;
    s.FuseType = "gG";
    s.RCD = v("30", "mA");
    const Lines out = lines("5", "DOSK");
    const Lines tail(out.end() - 5, out.end());
    EXPECT_EQ(tail, (Lines{"X#PL#L3{text583}: {Test_6} Rs(RCD)", "X#PL#L3RCD: 30mA",
                           "X#PL#L3Rlim: ", "X#PL#L3Uc: ", "X#PR#L3{System_7} {Unit_SYS-TN/TT}"}));
    // Elsewhere the standard loop names its test before the fuse lines.
    s.SubFunction = 0;
    const Lines standard = lines("5");
    EXPECT_EQ(standard[5], "X#PL#L3{text583}: {text539}");
    EXPECT_EQ(standard[6], "X#PL#L3{text582}: gG");
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
