// RCD results: the fields each string fills and the lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, Rcd) {
    const std::string autoTest = "F;54;3;0;30m;302;50;20m;21;22;23;24;25;26;27;28;29;5;";
    runCases("54", {
                       // Coding version 2 adds the times at twice the rated current.
                       {autoTest,
                        {{"sub-function", "2"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "302"},
                         {"Ulim", "50|V"},
                         {"t1_0", "20|ms"},
                         {"t1_180", "21|s"},
                         {"t2_0", "22|s"},
                         {"t2_180", "23"},
                         {"t5_0", "24"},
                         {"t5_180", "25"},
                         {"t12_0", "26"},
                         {"t12_180", "27"},
                         {"Id_0", "28|A"},
                         {"Id_180", "29|A"},
                         {"Uc", "5|V"}},
                        false,
                        "",
                        "",
                        2},
                       {autoTest,
                        {{"sub-function", "2"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "302"},
                         {"Ulim", "50|V"},
                         {"t1_0", "20|ms"},
                         {"t1_180", "21"},
                         {"t5_0", "22"},
                         {"t5_180", "23"},
                         {"t12_0", "24"},
                         {"t12_180", "25"},
                         {"Id_0", "26"},
                         {"Id_180", "27"},
                         {"Uc", "28"}},
                        false,
                        "",
                        "",
                        0},
                       {"F;54;1;1;30m;300;x1;50;25m;12;",
                        {{"status", "5"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "300"},
                         {"multiplier", "x1"},
                         {"Ulim", "50"},
                         {"t", "25|ms"},
                         {"Uc", "12"}}},
                       {"F;54;1;1;30m;300;x1;50;25m;12;x;",
                        {{"status", "5"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "300"},
                         {"multiplier", "x1"},
                         {"Ulim", "50"},
                         {"t", "25|ms"},
                         {"Uc", "12"}},
                        true},
                       {"F;54;2;0;30m;300;50;24m;8;30m;9;",
                        {{"sub-function", "1"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "300"},
                         {"Ulim", "50"},
                         {"I", "24|mA"},
                         {"Uci", "8"},
                         {"t", "30|ms"},
                         {"Uc", "9"}}},
                       {"F;54;4;0;30m;300;50;12;150;1k;;",
                        {{"sub-function", "3"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "300"},
                         {"Ulim", "50"},
                         {"Uc", "12"},
                         {"Rl", "150"},
                         {"Rlim", "1k|#S258"}}},
                       {"F;54;4;0;30m;300;50;12;150;1k;;;;;;;;;;",
                        {{"sub-function", "3"},
                         {"earthing system", "1"},
                         {"Idn", "30|mA"},
                         {"RCD type", "300"},
                         {"Ulim", "50"},
                         {"Uc", "12"},
                         {"Rl", "150"},
                         {"Rlim", "1k|#S258"}},
                        true},
                   });
    runCases("106", {
                        // Touch voltage on L2 under a reduced-voltage system: both loops.
                        {"F;106;11;0;3;30m;#S330#S316;50;10;200;11;210;",
                         {{"sub-function", "5"},
                          {"earthing system", "3"},
                          {"Idn", "30|mA"},
                          {"RCD type", "#S330#S316"},
                          {"Ulim", "50"},
                          {"Uc1", "10|V"},
                          {"Rl1", "200|#S258"},
                          {"Uc2", "11|V"},
                          {"Rl2", "210|#S258"}}},
                        {"F;106;1;0;1;30m;#S332#S316;;24m;8;30m;9;",
                         {{"sub-function", "1"},
                          {"earthing system", "1"},
                          {"Idn", "30|mA"},
                          {"RCD type", "#S332#S316"},
                          {"I", "24|mA"},
                          {"Uci", "8"},
                          {"t", "30|ms"},
                          {"Uc", "9"}}},
                        {"F;106;13;1;1;30m;T;x1;50;25m;12;",
                         {{"sub-function", "7"},
                          {"status", "1"},
                          {"earthing system", "1"},
                          {"Idn", "30|mA"},
                          {"RCD type", "T"},
                          {"multiplier", "x1"},
                          {"Ulim", "50"},
                          {"t", "25|ms"},
                          {"Uc", "12"}}},
                        {"F;106;4;0;", {}, true},
                    });
    runCases("6", {
                      {"F;6;3;0;1;30m;T;50;12;150;1000;",
                       {{"sub-function", "3"},
                        {"earthing system", "1"},
                        {"Idn", "30|mA"},
                        {"RCD type", "T"},
                        {"Ulim", "50"},
                        {"Uc", "12"},
                        {"Rl", "150"},
                        {"Rlim", "1000"}}},
                      {"F;6;2;0;1;30m;T;;1;2;3;4;5;6;7;8;9;10;11;",
                       {{"sub-function", "2"},
                        {"earthing system", "1"},
                        {"Idn", "30|mA"},
                        {"RCD type", "T"},
                        {"t1_0", "1|s"},
                        {"t1_180", "2"},
                        {"t2_0", "3"},
                        {"t2_180", "4"},
                        {"t5_0", "5"},
                        {"t5_180", "6"},
                        {"t12_0", "7"},
                        {"t12_180", "8"},
                        {"Id_0", "9|A"},
                        {"Id_180", "10"},
                        {"Uc", "11"}}},
                  });
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

}  // namespace
}  // namespace pelvoro
