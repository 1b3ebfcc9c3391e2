#include "protocols/family_b/hv_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/coded_records.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::Group;
using testing::hvRecord;

struct Decoded {
    std::string fp = "unchanged";
    std::string name = "unchanged";
    std::vector<std::string> messages;
};

Decoded decode(const std::string& record) {
    testing::ScriptedPrompts prompts;
    Decoded d;
    DecodeHvRecord(record, prompts, d.fp, d.name);
    for (const auto& s : prompts.shown) d.messages.push_back(s.text);
    return d;
}

std::string emptyFields(int n) {
    return std::string(std::size_t(n), ';');
}

TEST(HvDecoder, FunctionBytesAndListLengths) {
    struct Case {
        int byte;
        std::string_view key;
        int code;
        int length;
    } cases[] = {
        {1, "Funct_VOLTAGE", 201, 8},     {2, "Funct_INSUL-RES", 202, 14},
        {3, "Funct_INSUL-RES", 202, 14},  {4, "Funct_DIAGN-TEST", 204, 21},
        {5, "Funct_DIAGN-TEST", 204, 21}, {6, "Funct_STEP-VOLT", 206, 27},
        {7, "Funct_WITH-VOLT", 207, 14},
    };
    testing::ScopedLanguage lang("[Language]\r\nFunct_WITH-VOLT=Withstanding voltage\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        auto f = hvFunction(c.byte);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->nameKey, c.key);
        Decoded d = decode(hvRecord(c.byte));
        EXPECT_TRUE(d.messages.empty());
        // Sub-function 0, status preset "1", the rest empty.
        EXPECT_EQ(d.fp, "F;" + std::to_string(c.code) + ";0;1;" + emptyFields(c.length - 4));
        EXPECT_EQ(d.name, c.byte == 7 ? "Withstanding voltage" : "**");
    }
    for (int b : {0, 8, 9, 33, 255}) EXPECT_FALSE(hvFunction(b)) << b;
}

TEST(HvDecoder, FieldPositions) {
    struct Case {
        int code;
        char kind;
        std::vector<int> quantities;
        std::vector<int> positions;
    } cases[] = {
        {201, 'D', {0}, {8}},
        {201, 'T', {0}, {7}},
        {201, 'R', {0, 48, 49}, {4, 5, 6}},
        {202, 'D', {0}, {14}},
        {202, 'T', {0}, {13}},
        {202, 'P', {64, 66}, {11, 12}},
        {202, 'R', {0, 1, 2, 3, 4, 5, 6}, {4, 5, 6, 7, 8, 9, 10}},
        {204, 'D', {0}, {21}},
        {204, 'T', {0}, {20}},
        {204, 'P', {64, 66, 67, 68, 69}, {15, 16, 17, 18, 19}},
        {204, 'R', {0, 1, 2, 3, 4, 7, 8, 9, 13, 14, 12}, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {206, 'D', {0}, {27}},
        {206, 'T', {0}, {26}},
        {206, 'P', {64, 66, 70, 71, 72, 73, 74}, {19, 20, 21, 22, 23, 24, 25}},
        {206, 'R', {0, 1, 2, 3, 4}, {4, 5, 6, 7, 8}},
        {206,
         'R',
         {17, 18, 19, 20, 21, 22, 23, 24, 25, 26},
         {9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
        {207, 'D', {0}, {14}},
        {207, 'T', {0}, {13}},
        {207, 'P', {80, 81, 83, 84, 85, 82}, {7, 8, 9, 10, 11, 12}},
        {207, 'R', {0, 32, 33}, {4, 5, 6}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.quantities.size(), c.positions.size());
        for (std::size_t i = 0; i < c.quantities.size(); ++i) {
            SCOPED_TRACE(std::to_string(c.code) + " " + c.kind + " " +
                         std::to_string(c.quantities[i]));
            auto p = hvFieldPosition(c.code, c.kind, c.quantities[i]);
            ASSERT_TRUE(p);
            EXPECT_EQ(*p, c.positions[i]);
        }
    }
    struct Bad {
        int code;
        char kind;
        int quantity;
    } bad[] = {{201, 'P', 64}, {201, 'R', 1},  {202, 'R', 7},  {202, 'P', 65}, {202, 'M', 0},
               {204, 'R', 5},  {204, 'R', 6},  {204, 'R', 10}, {204, 'R', 11}, {204, 'P', 70},
               {206, 'R', 5},  {206, 'R', 16}, {206, 'R', 27}, {206, 'P', 75}, {207, 'R', 1},
               {207, 'P', 86}, {207, 'M', 80}, {202, 'X', 0},  {203, 'R', 0},  {203, 'T', 0}};
    for (const Bad& b : bad)
        EXPECT_FALSE(hvFieldPosition(b.code, b.kind, b.quantity)) << b.code << b.kind << b.quantity;
}

TEST(HvDecoder, UnitsAndReductions) {
    std::map<int, std::string> known = {
        {0, ""},     {1, "V"},   {2, "kOhm"}, {3, "MOhm"}, {4, "GOhm"}, {5, "TOhm"},
        {6, "mA"},   {7, "uA"},  {8, "uF"},   {9, "nF"},   {10, "pF"},  {11, "min"},
        {12, "Ohm"}, {13, "kV"}, {14, "nA"},  {16, "Hz"},  {17, "s"}};
    for (int u = 0; u < 256; ++u) {
        auto text = hvUnitText(u);
        auto it = known.find(u);
        if (it == known.end()) {
            EXPECT_FALSE(text) << u;
        } else {
            ASSERT_TRUE(text) << u;
            EXPECT_EQ(*text, it->second) << u;
        }
    }
    // The stored text of every unit for each function.
    struct Case {
        int code;
        std::vector<std::string> stored;  // for unit codes 0..17 (15 unused)
    } cases[] = {
        {201,
         {"", "V", "kOhm", "MOhm", "GOhm", "TOhm", "mA", "uA", "uF", "nF", "pF", "min", "Ohm", "kV",
          "nA", "", "", "s"}},
        {202,
         {"", "", "k", "M", "G", "T", "m", "u", "u", "n", "pF", "min", "Ohm", "k", "n", "", "Hz",
          ""}},
        {204,
         {"", "", "k", "M", "G", "T", "m", "u", "u", "n", "pF", "min", "Ohm", "k", "n", "", "Hz",
          ""}},
        {206,
         {"", "", "k", "M", "G", "T", "m", "u", "u", "n", "pF", "min", "Ohm", "k", "n", "", "Hz",
          "s"}},
        {207,
         {"", "", "kOhm", "MOhm", "GOhm", "TOhm", "m", "uA", "uF", "", "pF", "min", "Ohm", "k",
          "nA", "", "Hz", ""}},
    };
    for (const Case& c : cases) {
        for (int u = 0; u <= 17; ++u) {
            if (u == 15) {
                EXPECT_FALSE(hvStoredUnit(c.code, u));
                continue;
            }
            auto stored = hvStoredUnit(c.code, u);
            ASSERT_TRUE(stored) << c.code << "/" << u;
            EXPECT_EQ(*stored, c.stored[std::size_t(u)]) << c.code << "/" << u;
        }
    }
}

TEST(HvDecoder, InsulationRecordWithTimeAndDate) {
    Decoded d = decode(hvRecord(2, {{'R', 0, 0, "0"},
                                    {'R', 1, 3, "125"},
                                    {'R', 2, 1, " 1000 "},
                                    {'R', 3, 7, "0.5"},
                                    {'R', 4, 9, "12"},
                                    {'R', 5, 4, "1.5"},
                                    {'R', 6, 17, "60"},
                                    {'P', 64, 1, "1000"},
                                    {'P', 66, 11, "1"},
                                    {'T', -1, 0, "12:30:05"},
                                    {'D', -1, 0, "09.12.26"}}));
    EXPECT_TRUE(d.messages.empty());
    EXPECT_EQ(d.fp, "F;202;0;0;125M;1000;0.5u;12n;1.5G;60;1000;1min;12:30:05;09.12.26;");
}

TEST(HvDecoder, TimeValueStartsRightAfterItsLetter) {
    // The characters after 'T' would be a quantity and a unit code in other groups.
    Decoded d = decode(hvRecord(1, {{'T', -1, 0, "\x30\x39:05:59"}, {'R', 48, 1, "230"}}));
    EXPECT_TRUE(d.messages.empty());
    EXPECT_EQ(d.fp, "F;201;0;1;230V;;09:05:59;;");
}

TEST(HvDecoder, StepVoltageKeepsSecondsAndWithstandReducesItsOwnUnits) {
    Decoded d =
        decode(hvRecord(6, {{'R', 17, 17, "30"}, {'P', 74, 13, "2.5"}, {'R', 26, 3, "99"}}));
    EXPECT_EQ(d.fp, "F;206;0;1;;;;;30s;;;;;;;;;99M;;;;;;;2.5k;;;");
    d = decode(hvRecord(7, {{'R', 32, 13, "5.0"}, {'R', 33, 6, "2"}, {'P', 82, 9, "3"}}));
    EXPECT_EQ(d.fp, "F;207;0;1;5.0k;2m;;;;;;3;;;");
}

TEST(HvDecoder, ProblemsAreReportedAndDecodingGoesOn) {
    Decoded d = decode(
        hvRecord(3, {{'R', 7, 1, "x"}, {'M', 0, 0, "y"}, {'R', 1, 15, "z"}, {'R', 1, 3, "200"}}));
    EXPECT_EQ(d.messages, (std::vector<std::string>{"Quantity Fail FC:202 QC:7",
                                                    "Quantity Fail FC:202 QC:0", "Unit Fail"}));
    EXPECT_EQ(d.fp, "F;202;0;1;200M;" + emptyFields(9));
}

TEST(HvDecoder, UnknownFunctionLeavesTheFpStringEmpty) {
    Decoded d = decode(hvRecord(9, {{'R', 0, 0, "0"}}));
    EXPECT_EQ(d.messages, std::vector<std::string>{"Function Fail"});
    EXPECT_EQ(d.fp, "");
    // Nothing after the header: no function byte either.
    d = decode("abcd");
    EXPECT_EQ(d.messages, std::vector<std::string>{"Function Fail"});
    EXPECT_EQ(d.fp, "");
}

TEST(HvDecoder, EmptyRecordLeavesTheOutputs) {
    Decoded d = decode("");
    EXPECT_EQ(d.fp, "unchanged");
    EXPECT_EQ(d.name, "unchanged");
    EXPECT_TRUE(d.messages.empty());
}

TEST(HvDecoder, CutRecordsAndUnsafeValues) {
    // A record cut before its graph part may end inside a value or after a kind letter.
    Decoded d = decode(hvRecord(1) +
                       "R\x30\x01"
                       "23");
    EXPECT_EQ(d.fp, "F;201;0;1;23V;;;;");
    d = decode(hvRecord(1, {{'R', 48, 1, "230"}}) + "R");
    EXPECT_EQ(d.fp, "F;201;0;1;230V;;;;");
    EXPECT_TRUE(d.messages.empty());
    d = decode(hvRecord(1, {{'D', -1, 0, "09;12\n26"}}));
    EXPECT_EQ(d.fp, "F;201;0;1;;;;09 12 26;");
}

}  // namespace
}  // namespace pelvoro
