// Line, loop, fault loop, earth loop and neutral impedance results: the fields each string fills
// and the lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, LineImpedance) {
    runCases("104",
             {
                 {"F;104;0;0;*F;;;-;0.45;510;0.40;0.20;;;;;;1;",
                  {{"fuse type", "*F"},
                   {"Isc_lim", "-|A"},
                   {"Z", "0.45|#S258"},
                   {"Isc", "510|A"},
                   {"R", "0.40|#S258"},
                   {"Xl", "0.20|#S258"},
                   {"earthing system", "1"}}},
                 // Sub-function 3: the voltage drop.
                 {"F;104;3;0;gG;16;0.4;4.0;2.1;510;0.45;0.30;",
                  {{"sub-function", "11"},
                   {"fuse type", "gG"},
                   {"Fuse_I", "16|"},
                   {"Fuse_t", "0.4|"},
                   {"dU_lim", "4.0|"},
                   {"dU", "2.1|"},
                   {"Isc", "510"},
                   {"Z", "0.45|#S258"},
                   {"Zref", "0.30|#S258"}}},
                 {"F;104;12;0;gG;16;0.4;1.2;",
                  {{"sub-function", "5"},
                   {"fuse type", "gG"},
                   {"Fuse_I", "16"},
                   {"Fuse_t", "0.4"},
                   {"Isc_lim", "1.2"}}},
                 {"F;104;1;0;gG;16;0.4;1.2;",
                  {{"sub-function", "1"},
                   {"fuse type", "gG"},
                   {"Fuse_I", "16"},
                   {"Fuse_t", "0.4"},
                   {"Z_lim", "1.2|#S258"}},
                  false,
                  "",
                  "KORVEN"},
                 {"F;104;x;0;", {}, true},
                 {"F;104;16;0;", {}, true},
                 // Field 20 is beyond the code's fields.
                 {"F;104;0;0;" + std::string(13, ';') + "1;;x;", {{"earthing system", "1"}}, true},
             });
    runCases("4", {
                      {"F;4;98;1;gG;16;0.4;200;0.45;510;0.40;0.20;900;800;850;",
                       {{"sub-function", "9"},
                        {"status", "1"},
                        {"fuse type", "gG"},
                        {"Fuse_I", "16"},
                        {"Fuse_t", "0.4"},
                        {"Isc_lim", "200|A"},
                        {"Z", "0.45"},
                        {"Isc", "510"},
                        {"R", "0.40"},
                        {"Xl", "0.20"},
                        {"IscMaxLN", "900|A"},
                        {"IscMinLN", "800|A"},
                        {"IscStd", "850|A"}}},
                      {"F;4;99;0;;;;1.5;0.45;510;0.40;0.20;1;2;3;4;5;;1;",
                       {{"sub-function", "10"},
                        {"Z_lim", "1.5"},
                        {"Z", "0.45"},
                        {"Isc", "510"},
                        {"R", "0.40"},
                        {"Xl", "0.20"},
                        {"IscMax3ph", "1"},
                        {"IscMin3ph", "2"},
                        {"IscMax2ph", "3"},
                        {"IscMin2ph", "4"},
                        {"IscStd", "5"},
                        {"earthing system", "1"}}},
                      // 4 .. 9 are plain line impedance; "3" in fields 13, 16, 18 marks the result.
                      {"F;4;7;0;;;;;;;;;3;;;3;;3;", {{"dU flag", "1"}}},
                      {"F;4;0;0;;;;;;;;;1;;;;;;", {}},
                  });
    runCases("52", {
                       {"F;2;1;0;gG;16;0.4;200;0.45;510;4.0;2.1;0.3m;",
                        {{"sub-function", "11"},
                         {"earthing system", "1"},
                         {"fuse type", "gG"},
                         {"Fuse_I", "16"},
                         {"Fuse_t", "0.4"},
                         {"Isc_lim", "200"},
                         {"Z", "0.45"},
                         {"Isc", "510"},
                         {"dU_lim", "4.0"},
                         {"dU", "2.1"},
                         {"Zref", "0.3|m#S258"}},
                        false,
                        "52"},
                       {"F;52;0;0;gG;16;0.4;1.1;",
                        {{"earthing system", "1"},
                         {"fuse type", "gG"},
                         {"Fuse_I", "16"},
                         {"Fuse_t", "0.4"},
                         {"Z_lim", "1.1"}},
                        false,
                        "",
                        "KORVEN"},
                       {"F;52;7;0;", {{"earthing system", "1"}}},
                       {"F;52;2;0;", {{"earthing system", "1"}}, true},
                       {"F;52;;0;", {{"earthing system", "1"}}, true},
                   });
}

TEST(FpParserTest, LoopImpedance) {
    runCases(
        "105",
        {
            {"F;105;1;0;1;gG;16;0.4;80;0.52;442;0.50;0.10;900;800;850;50;3;",
             {{"sub-function", "1"},
              {"earthing system", "1"},
              {"fuse type", "gG"},
              {"Fuse_I", "16|"},
              {"Fuse_t", "0.4|"},
              {"Isc_lim", "80|A"},
              {"Z", "0.52|#S258"},
              {"Isc", "442|A"},
              {"R", "0.50|#S258"},
              {"Xl", "0.10"},
              {"IscMaxLPE", "900|A"},
              {"IscMinLPE", "800|A"},
              {"IscStd", "850|A"},
              {"Ub", "50|V"},
              {"Ub flag", "1"}}},
            // Reduced-voltage system: the two loops; no fuse and a limit of 70.0.
            {"F;105;0;0;3;;;;70.0;1.2;1.3;5k;6k;",
             {{"earthing system", "3"},
              {"Z_lim", "70.0|#S258"},
              {"Ub flag", "1"},
              {"Z1", "1.2|#S258"},
              {"Z2", "1.3|#S258"},
              {"Isc1", "5|kA"},
              {"Isc2", "6|kA"}}},
            {"F;105;9;0;1;30;200;50;;",
             {{"sub-function", "12"},
              {"earthing system", "1"},
              {"RCD", "30|mA"},
              {"Rlim", "200|#S258"},
              {"Uc", "50|V"}}},
            {"F;105;0;0;1;gG;;;;;;;;3;",
             {{"earthing system", "1"}, {"fuse type", "gG"}, {"IscMaxLPE", "3"}, {"Ub flag", "1"}}},
            {"F;105;1;0;1;gG;;;;;;;;3;",
             {{"sub-function", "1"},
              {"earthing system", "1"},
              {"fuse type", "gG"},
              {"IscMaxLPE", "3"}}},
            {"F;105;12;0;1;gG;;;1.5;;",
             {{"sub-function", "8"},
              {"earthing system", "1"},
              {"fuse type", "gG"},
              {"Z_lim", "1.5"}},
             false,
             "",
             "KORVEN"},
            {"F;105;4;0;", {}, true},
        });
    runCases("53", {
                       {"F;3;1;0;gG;16;5;200;1.2;190;1.1;0.2;",
                        {{"sub-function", "3"},
                         {"earthing system", "1"},
                         {"fuse type", "gG"},
                         {"Fuse_I", "16"},
                         {"Fuse_t", "5"},
                         {"Isc_lim", "200|A"},
                         {"Z", "1.2"},
                         {"Isc", "190"},
                         {"R", "1.1"},
                         {"Xl", "0.2"}},
                        false,
                        "53"},
                       {"F;53;3;0;", {{"earthing system", "1"}}, true},
                   });
}

TEST(FpParserTest, FurtherInstallationFunctions) {
    runCases("28", {{"F;28;0;0;200;300;1m;250;251;1;",
                     {{"Lo lim", "200|V"},
                      {"Hi lim", "300|V"},
                      {"It", "1|mA"},
                      {"U", "250|V"},
                      {"Uac", "251|V"},
                      {"earthing system", "1"}}}});
    runCases("29", {{"F;29;0;1;12.5;2;",
                     {{"status", "1"}, {"Re", "12.5|#S258"}, {"earthing system", "2"}}}});
    // Code 33's own system field is the one shown under its touch voltage.
    runCases("33",
             {{"F;33;0;0;50V;12;13;4;",
               {{"limit", "50V"}, {"Udc", "12|V"}, {"Uac", "13|V"}, {"earthing system", "4"}}}});
    runCases("35", {{"F;35;0;0;1.5;0.5k;2k;0.4;0.3;1;",
                     {{"Z_lim", "1.5|#S258"},
                      {"Z", "0.5|k#S258"},
                      {"Isc", "2|kA"},
                      {"R", "0.4"},
                      {"Xl", "0.3"},
                      {"earthing system", "1"}}}});
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

}  // namespace
}  // namespace pelvoro
