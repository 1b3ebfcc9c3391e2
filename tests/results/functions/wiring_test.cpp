// Earth continuity, polarity, wiring and fault loop results: the fields each string fills and the
// lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, EarthContinuityPolarityWiringAndFaultLoop) {
    runCases(
        "17",
        {
            {"F;17;3;0;1;0.5;0.3;0.31;0.29;1;",
             {{"test current", "200|mA"},
              {"limit", "0.5|#S258"},
              {"R", "0.3"},
              {"R+", "0.31"},
              {"R-", "0.29"},
              {"earthing system", "1"}}},
            {"F;17;3;0;0;0.5;0.3;2;",
             {{"test current", "7|mA"}, {"limit", "0.5"}, {"R", "0.3"}, {"earthing system", "2"}}},
            {"F;17;1;1;4;2.5;16;1.67;0.4;0.41;0.39;1;",
             {{"sub-function", "2"},
              {"status", "1"},
              {"protective device", "Fuse"},
              {"cross-section", "2.5|mm2"},
              {"device current", "16|A"},
              {"Re_lim", "1.67|#S258"},
              {"R", "0.4"},
              {"R+", "0.41"},
              {"R-", "0.39"},
              {"earthing system", "1"}}},
            {"F;17;2;0;1.0;0.3;0.31;0.29;2;",
             {{"sub-function", "3"},
              {"limit", "1.0"},
              {"R", "0.3"},
              {"R+", "0.31"},
              {"R-", "0.29"},
              {"earthing system", "2"}}},
            {"F;17;3;0;2;", {}, true},
        });
    runCases("19", {
                       {"F;19;3;0;0.5;1;1;",
                        {{"sub-function", "3"},
                         {"R", "0.5|#S258"},
                         {"wiring result", "2"},
                         {"earthing system", "1"}}},
                       {"F;19;5;0;230;2;",
                        {{"sub-function", "5"}, {"U", "230|V"}, {"earthing system", "2"}}},
                   });
    runCases("26", {{"F;26;0;1;0.7;1;",
                     {{"status", "1"}, {"R", "0.7|#S258"}, {"earthing system", "1"}}}});
    runCases("20", {
                       {"F;20;5;0;0.1;0.2;0.3;1;2;3;1;",
                        {{"sub-function", "5"},
                         {"Rln", "0.1|#S258"},
                         {"Rlpe", "0.2"},
                         {"Rnpe", "0.3"},
                         {"Rln_lim", "1|#S258"},
                         {"Rlpe_lim", "2"},
                         {"Rnpe_lim", "3"},
                         {"earthing system", "1"}}},
                       {"F;20;2;1;0.5;2;1;",
                        {{"sub-function", "2"},
                         {"status", "1"},
                         {"R", "0.5"},
                         {"wiring result", "3"},
                         {"earthing system", "1"}}},
                       {"F;20;4;0;0.1;0.2;0.3;2;",
                        {{"sub-function", "4"},
                         {"Rln", "0.1"},
                         {"Rlpe", "0.2"},
                         {"Rnpe", "0.3"},
                         {"earthing system", "2"}}},
                   });
    runCases("21", {
                       {"F;21;1;0;3;1;4;16;0.4;2.5;1.1;1.2;",
                        {{"device flag", "1"},
                         {"earthing system", "3"},
                         {"device kind", "RCD"},
                         {"device type", "Fuse"},
                         {"device current", "16|A"},
                         {"disconnection time", "0.4|s"},
                         {"Zphe_lim", "2.5|#S258"},
                         {"Z1", "1.1|#S258"},
                         {"Z2", "1.2|#S258"}}},
                       {"F;21;0;1;1;2;1.5;2.5;16;0.8;0.5;",
                        {{"status", "1"},
                         {"earthing system", "1"},
                         {"device type", "C"},
                         {"cross-section 1", "1.5|mm2"},
                         {"cross-section 2", "2.5|mm2"},
                         {"device current", "16|A"},
                         {"Rphe_lim", "0.8"},
                         {"R", "0.5|#S258"}}},
                       {"F;21;1;0;1;0;0;16;5;2.5;0.9;",
                        {{"device flag", "1"},
                         {"earthing system", "1"},
                         {"device kind", "FUSE"},
                         {"device type", "-"},
                         {"device current", "16"},
                         {"disconnection time", "5"},
                         {"Zphe_lim", "2.5"},
                         {"Z", "0.9"}}},
                       {"F;21;0;0;1;9;", {{"earthing system", "1"}}, true},
                   });
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

}  // namespace
}  // namespace pelvoro
