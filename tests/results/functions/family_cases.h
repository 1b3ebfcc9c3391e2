#pragma once
// What the tests of the measurement families share: a case lists the whole filled
// sub-record of a parse (every field it does not list must stay empty, bytes 0, so a
// value written to the wrong field fails), and a fixture that generates result lines
// with every translation key reading "{key}".

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "results/fp_parser.h"
#include "results/render_result.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro::family_tests {

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

inline void checkRecord(const TResultsData& r, const std::map<std::string, std::string>& want) {
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

inline void runCases(const std::string& code, const std::vector<Case>& cases) {
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

using Lines = std::vector<std::string>;

// Every key the generator asks for reads "{key}", so that expected lines show which key
// stood where.
inline std::string braceLanguage() {
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

inline TResultValue v(std::string value, std::string unit = {}) {
    return {std::move(value), std::move(unit)};
}

}  // namespace pelvoro::family_tests
