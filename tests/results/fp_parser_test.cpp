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

namespace pelvoro {
namespace {

struct Case {
    std::string fp;
    // label -> "value" or "value|unit" (unit checked only when given); bytes as numbers.
    std::map<std::string, std::string> fields;
    bool newFunctions = false;
    std::string typeCode = "";
    std::string variant = "";
    int protVer = 0;
};

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

void checkRecord(const TResultsData& r, const std::map<std::string, std::string>& want) {
    std::set<std::string> seen;
    auto find = [&](const char* label) -> const std::string* {
        auto it = want.find(label);
        if (it == want.end()) return nullptr;
        seen.insert(label);
        return &it->second;
    };
    auto visitor = Overloaded{
        [&](const char* label, uint8_t b) {
            if (const std::string* w = find(label)) {
                EXPECT_EQ(std::to_string(b), *w) << label;
            } else if (std::string_view(label) != "status") {
                // The verdict has its own tests (the status maps, strings without one).
                EXPECT_EQ(b, 0) << label;
            }
        },
        [&](const char* label, const std::string& s) {
            if (const std::string* w = find(label)) {
                EXPECT_EQ(s, *w) << label;
            } else {
                EXPECT_EQ(s, "") << label;
            }
        },
        [&](const char* label, const TResultValue& v) {
            if (const std::string* w = find(label)) {
                const size_t bar = w->find('|');
                EXPECT_EQ(v.Value, w->substr(0, bar)) << label;
                if (bar != std::string::npos) {
                    EXPECT_EQ(v.Unit, w->substr(bar + 1)) << label;
                }
            } else {
                EXPECT_EQ(v.Value, "") << label;
            }
        },
    };
    r.withRecord(r.record(), [&](const auto& sub) { sub.visit(visitor); });
    for (const auto& [label, value] : want) EXPECT_TRUE(seen.count(label)) << "no field " << label;
}

void runCases(const std::string& code, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fp);
        TResultsData r;
        bool seen = false;
        ParseFpString(c.fp, FpParseContext{c.typeCode, c.variant, c.protVer}, r, seen);
        EXPECT_EQ(r.FunctionCode, code);
        EXPECT_EQ(seen, c.newFunctions);
        checkRecord(r, c.fields);
    }
}

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

TEST(FpParserTest, Insulation) {
    runCases("102",
             {
                 {"F;102;11;0;500V;1.00M;23.5M;512;;;;;1;",
                  {{"sub-function", "10"},
                   {"Uiso", "500V|V"},
                   {"Lim", "1.00|M#S258"},
                   {"Rlpe", "23.5|M#S258"},
                   {"Um(Rlpe)", "512|V"},
                   {"earthing system", "1"}}},
                 // Field 9 of the single measurements is the system for code 2 only.
                 {"F;102;0;0;500;1M;10M;501;1;",
                  {{"Uiso", "500"}, {"Lim", "1|M#S258"}, {"Rln", "10|M#S258"}, {"Um(Rln)", "501"}}},
                 {"F;102;25;2;1000;100M;2.5G;1002;",
                  {{"sub-function", "19"},
                   {"status", "2"},
                   {"Uiso", "1000"},
                   {"Lim", "100|M#S258"},
                   {"R", "2.5|G#S258"},
                   {"Um(R)", "1002"}}},
                 {"F;102;10;0;", {}, true},
                 // "!" is an ordinary character here; field 14 is beyond the code's fields.
                 {"F;102;0;0;!500;1M;10M;501;;;;;1;!;",
                  {{"Uiso", "!500"},
                   {"Lim", "1|M#S258"},
                   {"Rln", "10|M#S258"},
                   {"Um(Rln)", "501"},
                   {"earthing system", "1"}},
                  true},
             });
    runCases("2", {
                      {"F;2;3;1;500;1M;10M;20M;30M;501;502;503;2;",
                       {{"sub-function", "3"},
                        {"status", "1"},
                        {"Uiso", "500"},
                        {"Lim", "1|M#S258"},
                        {"Rln", "10|M#S258"},
                        {"Rlpe", "20|M#S258"},
                        {"Rnpe", "30|M#S258"},
                        {"Um(Rln)", "501"},
                        {"Um(Rlpe)", "502"},
                        {"Um(Rnpe)", "503"},
                        {"earthing system", "2"}}},
                      {"F;2;0;0;500;1M;10M;501;1;;;;;",
                       {{"Uiso", "500"},
                        {"Lim", "1|M#S258"},
                        {"Rln", "10|M#S258"},
                        {"Um(Rln)", "501"},
                        {"earthing system", "1"}}},
                      {"F;2;4;0;500;1M;7M;8M;401;402;2;",
                       {{"sub-function", "4"},
                        {"Uiso", "500"},
                        {"Lim", "1|M#S258"},
                        {"Rlpe", "7|M#S258"},
                        {"Rnpe", "8|M#S258"},
                        {"Um(Rlpe)", "401"},
                        {"Um(Rnpe)", "402"},
                        {"earthing system", "2"}}},
                      {"F;2;9;0;500;1M;1M;2M;3M;4;5;6;1;",
                       {{"sub-function", "9"},
                        {"Uiso", "500"},
                        {"Lim", "1|M#S258"},
                        {"R12", "1|M#S258"},
                        {"R13", "2|M#S258"},
                        {"R23", "3|M#S258"},
                        {"Um(R12)", "4"},
                        {"Um(R13)", "5"},
                        {"Um(R23)", "6"},
                        {"earthing system", "1"}}},
                  });
    runCases("55",
             {
                 // A leading "-" means not measured; 1.5 with the prefix M stays 1.5 in M ohm.
                 {"F;55;2;1;500;-5;1.5M;500;;;;",
                  {{"sub-function", "11"},
                   {"status", "5"},
                   {"Uiso", "500|V"},
                   {"Lim", "-|#S258"},
                   {"Rln", "1.5|M#S258"},
                   {"Um(Rln)", "500|V"}}},
                 {"F;55;1;0;250;0.5M;>199M;250;1.5;2.1;300M;",
                  {{"sub-function", "10"},
                   {"Uiso", "250"},
                   {"Lim", "0.5|M#S258"},
                   {"Rlpe", ">199|M#S258"},
                   {"Um(Rlpe)", "250"},
                   {"DAR", "1.5|"},
                   {"PI", "2.1|"},
                   {"R60", "300M|#S258"}}},
                 {"F;55;3;0;500;1M;2M;501;;;;;",
                  {{"sub-function", "12"},
                   {"Uiso", "500"},
                   {"Lim", "1|M#S258"},
                   {"R12", "2|M#S258"},
                   {"Um(R12)", "501"}},
                  true},
             });
    runCases("18", {
                       {"F;18;0;1;3;500;2M;10M;20M;30M;501;502;503;1;",
                        {{"status", "1"},
                         {"sub-function", "3"},
                         {"Uiso", "500"},
                         {"Lim", "2|M#S258"},
                         {"Rln", "10|M#S258"},
                         {"Rlpe", "20|M#S258"},
                         {"Rnpe", "30|M#S258"},
                         {"Um(Rln)", "501"},
                         {"Um(Rlpe)", "502"},
                         {"Um(Rnpe)", "503"},
                         {"earthing system", "1"}}},
                       {"F;18;0;0;4;500;2M;7M;8M;401;402;2;",
                        {{"sub-function", "4"},
                         {"Uiso", "500"},
                         {"Lim", "2|M#S258"},
                         {"Rlpe", "7|M#S258"},
                         {"Rnpe", "8|M#S258"},
                         {"Um(Rlpe)", "401"},
                         {"Um(Rnpe)", "402"},
                         {"earthing system", "2"}}},
                       {"F;18;1;0;1M;5k;250;1;",
                        {{"mode", "1"},
                         {"Lim", "1|M#S258"},
                         {"R", "5|k#S258"},
                         {"Um(R)", "250|V"},
                         {"earthing system", "1"}}},
                       {"F;18;2;0;1M;5M;250;6M;251;2;",
                        {{"mode", "2"},
                         {"Lim", "1|M#S258"},
                         {"Rlpe", "5|M#S258"},
                         {"Um(Rlpe)", "250"},
                         {"Rnpe", "6|M#S258"},
                         {"Um(Rnpe)", "251"},
                         {"earthing system", "2"}}},
                   });
    runCases("116", {
                        {"F;116;0;0;12.5M;500;15M;1.2;2.5;500;1;",
                         {{"R", "12.5M|#S258"},
                          {"Um(R)", "500|V"},
                          {"R60", "15M|#S258"},
                          {"DAR", "1.2"},
                          {"PI", "2.5"},
                          {"Uiso", "500|V"},
                          {"earthing system", "1"}}},
                    });
}

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

TEST(FpParserTest, InspectionsAndSchedules) {
    runCases("16", {
                       {"F;16;0;1;0120;", {{"kind", "5"}, {"status", "1"}, {"G6", "0120"}}},
                       {"F;16;7;0;22;", {{"kind", "10"}, {"G5", "22"}}},
                       {"F;16;11;0;1;", {{"kind", "6"}, {"G1", "1"}}},
                       {"F;16;12;0;1;", {{"G1", "1"}}, true},
                   });
    runCases("22",
             {{"F;22;0;1;0120;3;", {{"status", "1"}, {"answers", "0120"}, {"section", "3"}}}});
    runCases("32", {{"F;32;;0;11;7;", {{"answers", "11"}, {"section", "7"}}},
                    {"F;32;;0;11;7;x;", {{"answers", "11"}, {"section", "7"}}, true}});
}

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
