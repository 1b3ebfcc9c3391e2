// Earth resistance results: the fields each string fills and the lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, EarthResistance) {
    runCases("108", {
                        {"F;108;0;0;100;12.5;1.2k;0.9k;;1;",
                         {{"limit", "100|#S258"},
                          {"R", "12.5|#S258"},
                          {"Rc", "1.2|k#S258"},
                          {"Rp", "0.9|k#S258"},
                          {"earthing system", "1"}}},
                        {"F;108;1;0;100;12.5;11k;1k;2k;2;",
                         {{"sub-function", "1"},
                          {"limit", "100"},
                          {"R", "12.5"},
                          {"Re", "11|k#S258"},
                          {"Rc", "1|k#S258"},
                          {"Rp", "2|k#S258"},
                          {"earthing system", "2"}}},
                    });
    runCases(
        "8",
        {
            {"F;8;3;0;10m;;150k;2k;3k;2;",
             {{"sub-function", "3"},
              {"distance", "10|m"},
              {"rho", "150|k"},
              {"Rc", "2|k#S258"},
              {"Rp", "3|k#S258"},
              {"earthing system", "2"}}},
            {"F;8;2;0;100;12.5;1;",
             {{"sub-function", "2"}, {"limit", "100"}, {"R", "12.5"}, {"earthing system", "1"}}},
            {"F;8;0;0;100;12.5;1k;2k;2;",
             {{"limit", "100"},
              {"R", "12.5"},
              {"Rc", "1|k#S258"},
              {"Rp", "2|k#S258"},
              {"earthing system", "2"}}},
        });
    runCases("57", {
                       // Field 5 is not among the fields of code 57.
                       {"F;57;3;0;;-10;150;1k;2k;",
                        {{"sub-function", "3"},
                         {"distance", "-"},
                         {"rho", "150"},
                         {"Rc", "1|k#S258"},
                         {"Rp", "2|k#S258"}},
                        true},
                       {"F;57;1;2;", {{"sub-function", "1"}, {"status", "1"}}},
                   });
    runCases("73", {
                       {"F;73;1;2;x;-3;5.5;1k;2k;",
                        {{"sub-function", "1"},
                         {"status", "1"},
                         {"limit", "-|#S258"},
                         {"R", "5.5|#S258"},
                         {"Rc", "1|k#S258"},
                         {"Rp", "2|k#S258"}}},
                   });
}

}  // namespace
}  // namespace pelvoro
