// Machine and high-voltage tester results: the fields each string fills and the lines each result
// shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, MachineAndHighVoltageTesters) {
    runCases("71", {{"F;71;;1;x;5m;10m;9m;-1;300;250;251;",
                     {{"status", "5"},
                      {"Iflt", "5|mA"},
                      {"Iset", "10|mA"},
                      {"Igen", "9|mA"},
                      {"Rinp", "-|#S258"},
                      {"Ulim", "300|V"},
                      {"U", "250|V"},
                      {"Um", "251|V"}}}});
    runCases("72", {{"F;72;;0;;1;2;3;4k;5;6;7;",
                     {{"Iflt", "1|A"},
                      {"Iset", "2"},
                      {"Igen", "3"},
                      {"Rinp", "4|k#S258"},
                      {"Ulim", "5"},
                      {"U", "6"},
                      {"Um", "7"}}}});
    runCases("80", {
                       {"F;80;;4;;1.2m;3;10;2;10;5s;;;",
                        {{"status", "9"},
                         {"Rx", "1.2m|#S258"},
                         {"Ux", "3|V"},
                         {"Ix", "10|A"},
                         {"Range", "2|#S258"},
                         {"test current", "10|A"},
                         {"Duration", "5s|"}}},
                       {"F;80;;5;", {{"status", "10"}}},
                       {"F;80;;6;", {}, true},
                   });
    runCases("201", {{"F;201;0;1;230;50;12:00:01;01.02.2026;",
                      {{"status", "5"},
                       {"U", "230|"},
                       {"f", "50|Hz"},
                       {"time", "12:00:01"},
                       {"date", "01.02.2026"}}}});
    runCases("202", {
                        {"F;202;0;1;1.5G;500;0.3n;10n;2G;1M;500;60;12:00;01.02.2026;",
                         {{"R", "1.5G|#S258"},
                          {"U", "500|V"},
                          {"I", "0.3n|A"},
                          {"C", "10n|F"},
                          {"Rmax", "2G"},
                          {"Rmin", "1M"},
                          {"Un", "500|V"},
                          {"tm", "60|"},
                          {"time", "12:00"},
                          {"date", "01.02.2026"}}},
                        {"F;202;0;0;", {{"status", "3"}}},
                        {"F;202;0;4;", {}, true},
                    });
    // The times of the diagnostic test bring their own unit.
    runCases("204", {{"F;204;0;2;1;2;3;4;5;6;7;8;9;10;11;12;30s;1min;10;T;D;",
                      {{"status", "1"},
                       {"R", "1|#S258"},
                       {"U", "2|V"},
                       {"I", "3|A"},
                       {"C", "4|F"},
                       {"R(t1)", "5|#S258"},
                       {"R(t2)", "6"},
                       {"R(t3)", "7"},
                       {"DAR", "8|"},
                       {"PI", "9|"},
                       {"DD", "10|"},
                       {"Un", "11|V"},
                       {"tm", "12|"},
                       {"t1", "30|s"},
                       {"t2", "1|min"},
                       {"t3", "10|s"},
                       {"time", "T"},
                       {"date", "D"}}}});
    runCases("206", {{"F;206;0;3;1;2;3;4;11;12;13;14;15;21;22;23;24;25;9;8;60s;61s;62s;63s;"
                      "1min;T;D;",
                      {{"status", "2"},  {"R", "1|#S258"},      {"U", "2|V"},     {"I", "3|A"},
                       {"C", "4|F"},     {"R(U1)", "11|#S258"}, {"R(U2)", "12"},  {"R(U3)", "13"},
                       {"R(U4)", "14"},  {"R(U5)", "15|#S258"}, {"U1", "21|V"},   {"U2", "22"},
                       {"U3", "23"},     {"U4", "24"},          {"U5", "25|V"},   {"Un", "9|V"},
                       {"tm", "8"},      {"t(U1)", "60s|"},     {"t(U2)", "61s"}, {"t(U3)", "62s"},
                       {"t(U4)", "63s"}, {"t(U5)", "1min|"},    {"time", "T"},    {"date", "D"}}}});
    runCases("207", {{"F;207;0;1;5k;1m;1k;5k;2m;100;10;60;T;D;",
                      {{"U", "5k|V"},
                       {"I", "1m|A"},
                       {"Un_start", "1k|V"},
                       {"Un_stop", "5k|V"},
                       {"Itrigg", "2m|A"},
                       {"Tstep", "100|"},
                       {"Tend", "10|"},
                       {"tm", "60|"},
                       {"time", "T"},
                       {"date", "D"}}}});
    runCases("301", {{"F;301;1.2mA;;1kV;5mA;1kV;;",
                      {{"I", "1.2mA|"}, {"U", "1kV"}, {"Imax", "5mA"}, {"Un", "1kV"}}},
                     {"F;301;1.2mA;;1kV;5mA;1kV;;x;",
                      {{"I", "1.2mA"}, {"U", "1kV"}, {"Imax", "5mA"}, {"Un", "1kV"}},
                      true}});
    runCases("302", {{"F;302;2V;10A;230V;4V;;;",
                      {{"dU", "2V"}, {"I", "10A"}, {"U", "230V"}, {"dUmax", "4V"}}}});
    runCases("303", {{"F;303;0.1;10A;1V;0.3;;;",
                      {{"R", "0.1"}, {"I", "10A"}, {"U", "1V"}, {"Rmax", "0.3"}}}});
    runCases("304",
             {{"F;304;>200M;x;y;1M;500V;;", {{"R", ">200M"}, {"Rmin", "1M"}, {"Un", "500V"}}}});
    runCases("305", {{"F;305;1.2s;;;;DC;;", {{"t", "1.2s"}, {"Syst", "DC"}}}});
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

}  // namespace
}  // namespace pelvoro
