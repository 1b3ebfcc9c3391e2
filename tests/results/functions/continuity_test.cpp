// Continuity results: low-ohm, ring, earth continuity, sockets: the fields each string fills and
// the lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, Continuity) {
    runCases("3",
             {
                 {"F;3;1;1;2.00;0.35;0.36;0.34;1;;abc;2;",
                  {{"sub-function", "1"},
                   {"status", "1"},
                   {"limit", "2.00|#S258"},
                   {"R", "0.35|#S258"},
                   {"R+", "0.36"},
                   {"R-", "0.34"},
                   {"text598", "abc|#S258"},
                   {"earthing system", "2"}}},
                 {"F;3;2;0;0;16k;230;1.5;x596;0.8;;1;",
                  {{"sub-function", "2"},
                   {"fuse type", "0"},
                   {"Fuse_I", "16|kA"},
                   {"Uc", "230|V"},
                   {"limit 2", "1.5"},
                   {"text596", "x596"},
                   {"Rpe", "0.8"},
                   {"earthing system", "1"}}},
                 // With a fuse type set, fields 6 and 7 are not read.
                 {"F;3;2;0;1;16k;230;1.5;;0.8;",
                  {{"sub-function", "2"},
                   {"fuse type", "1"},
                   {"Fuse_I", "|A"},
                   {"limit 2", "1.5"},
                   {"Rpe", "0.8"}}},
                 {"F;3;5;0;10;50;1.0;0.9;0.7;2;t;1;",
                  {{"sub-function", "5"},
                   {"Fuse_I", "10|A"},
                   {"Uc", "50"},
                   {"RPE_lim", "1.0"},
                   {"RPEcal", "0.9"},
                   {"Rpe", "0.7"},
                   {"text598", "t"},
                   {"earthing system", "1"}}},
                 {"F;3;4;0;1;0.2;2;",
                  {{"sub-function", "4"}, {"limit", "1"}, {"R", "0.2"}, {"earthing system", "2"}}},
             });
    runCases("103", {
                        {"F;103;1;0;2.00;0.35;0.36;0.34;1;",
                         {{"sub-function", "1"},
                          {"limit", "2.00"},
                          {"R", "0.35"},
                          {"R+", "0.36"},
                          {"R-", "0.34"}}},
                        {"F;103;6;0;", {}, true},
                    });
    runCases("56", {
                       {"F;56;1;2;-1;0.5;0.6;0.4;",
                        {{"sub-function", "1"},
                         {"status", "1"},
                         {"limit", "-|#S258"},
                         {"R", "0.5"},
                         {"R+", "0.6"},
                         {"R-", "0.4"}}},
                       {"F;56;0;0;2;0.5;0.6;0.4;", {{"limit", "2"}, {"R", "0.5"}}},
                       {"F;56;0;0;2;0.5;0.6;0.4;9;", {{"limit", "2"}, {"R", "0.5"}}, true},
                   });
}

TEST(FpParserTest, RingAndSocketContinuity) {
    runCases("25", {
                       {"F;25;2;255;0.1;0.2;0.3;0.4;0.5;0.6;0.7;1;",
                        {{"sub-function", "2"},
                         {"status", "3"},
                         {"r1", "0.1|#S258"},
                         {"rN", "0.2"},
                         {"r2", "0.3"},
                         {"R1+RN", "0.4"},
                         {"R1+R2", "0.5"},
                         {"(r1+rN)/4", "0.6"},
                         {"(r1+r2)/4", "0.7"},
                         {"earthing system", "1"}}},
                       {"F;25;1;0;0.1;0.2;0.3;0.4;0.5;2;",
                        {{"sub-function", "1"},
                         {"r1", "0.1"},
                         {"rN", "0.2"},
                         {"r2", "0.3"},
                         {"R1+R2", "0.4"},
                         {"(r1+r2)/4", "0.5"},
                         {"earthing system", "2"}}},
                   });
    runCases("125", {{"F;125;4;0;0.5;;;0.51;0.49;1;2.0;",
                      {{"sub-function", "3"},
                       {"r1", "0.5"},
                       {"R+", "0.51|#S258"},
                       {"R-", "0.49"},
                       {"earthing system", "1"},
                       {"limit", "2.0|#S258"}}}});
    runCases("61", {{"F;61;7;2;-1;0.8;0.81;0.79;",
                     {{"sub-function", "6"},
                      {"status", "1"},
                      {"limit", "-"},
                      {"R1+RN", "0.8|#S258"},
                      {"R+", "0.81"},
                      {"R-", "0.79"}}},
                    {"F;61;5;0;", {}, true}});
    runCases("63", {{"F;63;;1;0.1;0.2;0.3;0.4;0.5;0.6;0.7;",
                     {{"status", "5"},
                      {"r1", "0.1"},
                      {"rN", "0.2"},
                      {"r2", "0.3"},
                      {"(r1+rN)/4", "0.4"},
                      {"(r1+r2)/4", "0.5"},
                      {"R1+RN", "0.6"},
                      {"R1+R2", "0.7"}}}});
    runCases(
        "27",
        {
            {"F;27;2;0;1;2.0;0.3;0.31;0.29;1;",
             {{"sub-function", "2"},
              {"test current", "200|mA"},
              {"limit", "2.0|#S258"},
              {"R", "0.3"},
              {"R+", "0.31"},
              {"R-", "0.29"},
              {"earthing system", "1"}}},
            {"F;27;2;0;0;2.0;0.3;2;;1;",
             {{"sub-function", "2"},
              {"test current", "7"},
              {"limit", "2.0"},
              {"R", "0.3"},
              {"earthing system", "1"}}},
            {"F;27;0;0;1;;0.4;", {{"socket kind", "Universal"}, {"R2", "0.4"}}},
            {"F;27;1;0;0;1.0;0.5;",
             {{"sub-function", "1"}, {"socket kind", "Plug"}, {"limit", "1.0"}, {"R1+R2", "0.5"}}},
        });
    runCases("127", {{"F;127;5;0;;1.0;0.4;0.41;0.39;1;",
                      {{"sub-function", "4"},
                       {"limit", "1.0"},
                       {"R2", "0.4"},
                       {"R+", "0.41"},
                       {"R-", "0.39"},
                       {"earthing system", "1"}}}});
    runCases(
        "62",
        {{"F;62;6;0;-;0.4;0.41;0.39;",
          {{"sub-function", "4"}, {"limit", "-"}, {"R2", "0.4"}, {"R+", "0.41"}, {"R-", "0.39"}}}});
    runCases("64", {{"F;64;0;3;1.0;0.1;0.2;0.3;0.4;",
                     {{"sub-function", "2"},
                      {"status", "2"},
                      {"limit", "1.0|#S258"},
                      {"Rln", "0.1"},
                      {"Rlpe", "0.2"},
                      {"Rnpe", "0.3"},
                      {"Rpe", "0.4|#S258"}}}});
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

}  // namespace
}  // namespace pelvoro
