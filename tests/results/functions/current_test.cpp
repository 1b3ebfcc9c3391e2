// Current, illuminance, insulation monitoring and first-fault current results: the fields each
// string fills and the lines each result shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, CurrentIlluminanceImdAndFaultCurrent) {
    runCases("109",
             {{"F;109;0;1;30m;12.5m;1;",
               {{"status", "1"}, {"limit", "30m|A"}, {"I", "12.5|mA"}, {"earthing system", "1"}}}});
    runCases("58", {{"F;58;;3;-1;5k;", {{"status", "2"}, {"limit", "-|A"}, {"I", "5|kA"}}}});
    runCases("113", {{"F;113;0;0;300;1.2k;1;",
                      {{"limit", "300|lux"}, {"E", "1.2k|lux"}, {"earthing system", "1"}}}});
    runCases("114", {
                        {"F;114;0;0;1;100k;1m;2m;150k;160k;1;",
                         {{"limit kind", "2"},
                          {"LimR", "100|k#S258"},
                          {"I1", "1|mA"},
                          {"I2", "2|mA"},
                          {"R1", "150|k#S258"},
                          {"R2", "160|k#S258"},
                          {"earthing system", "1"}}},
                        {"F;114;0;0;3;", {}, true},
                    });
    runCases("14", {{"F;14;;0;2;5m;;;;;", {{"limit kind", "1"}, {"LimI", "5|mA"}}}});
    runCases(
        "115",
        {{"F;115;0;0;1m;0.5m;0.6m;x;2;",
          {{"Lim", "1|mA"}, {"Isc1", "0.5|mA"}, {"Isc2", "0.6|mA"}, {"earthing system", "2"}}}});
}

}  // namespace
}  // namespace pelvoro
