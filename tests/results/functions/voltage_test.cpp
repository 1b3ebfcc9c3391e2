// Voltage, phase order, touch voltage and varistor results: the fields each string fills and the
// lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, VoltageAndPhaseOrder) {
    runCases("101", {
                        // Phase rotation: empty field 3, the decoder's preset 3 in field 4.
                        {"F;101;;3;1;0;1;400;230;231;50;",
                         {{"status", "3"},
                          {"earthing system", "1"},
                          {"mode", "1"},
                          {"U21", "400|V"},
                          {"U1pe", "230|V"},
                          {"U2pe", "231|V"},
                          {"f", "50|Hz"}}},
                    });
    runCases("1", {
                      {"F;1;;0;1;0;0;230;231;1;50;",
                       {{"earthing system", "1"},
                        {"Uln", "230|V"},
                        {"Ulpe", "231|V"},
                        {"Unpe", "1|V"},
                        {"f", "50|Hz"}}},
                      // "255" in field 5 leaves 0; field 6 gives the system.
                      {"F;1;;2;255;2;0;400;230;231;50;",
                       {{"status", "2"},
                        {"earthing system", "2"},
                        {"U21", "400"},
                        {"U1pe", "230"},
                        {"U2pe", "231"},
                        {"f", "50"}}},
                      // "255" in field 6 keeps field 5's system.
                      {"F;1;;0;3;255;3;400;230;231;50;",
                       {{"earthing system", "3"},
                        {"mode", "3"},
                        {"U21", "400"},
                        {"U1pe", "230"},
                        {"U2pe", "231"},
                        {"f", "50"}}},
                      {"F;1;;0;1;6;0;", {{"earthing system", "1"}}, true},
                      {"F;1;;7;", {}, true},
                  });
    runCases("51", {
                       {"F;51;;2;1;1;400;-;-5;50;",
                        {{"status", "1"},
                         {"earthing system", "1"},
                         {"mode", "1"},
                         {"Uln", "400|V"},
                         {"Ulpe", "-|V"},
                         {"Unpe", "-"},
                         {"f", "50|Hz"}}},
                       // Instruments with type code 51 number their voltage function 1.
                       {"F;1;;1;2;0;230;235;-;50;",
                        {{"status", "5"},
                         {"earthing system", "2"},
                         {"Uln", "230"},
                         {"Ulpe", "235"},
                         {"Unpe", "-"},
                         {"f", "50"}},
                        false,
                        "51"},
                       {"F;51;;4;", {}, true},  // 4 and 5 are verdicts of code 80 only
                   });
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

}  // namespace
}  // namespace pelvoro
