#include "protocols/family_b/install_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/coded_records.h"
#include "support/language_fixture.h"

namespace pelvoro {
namespace {

using testing::Group;
using testing::installRecord;

struct Decoded {
    bool ok;
    std::string fp;
    std::string name;
};

Decoded decode(const std::string& record, std::string_view typeCode = "24") {
    Decoded d{false, "unchanged", "unchanged"};
    d.ok = DecodeInstallRecord(record, typeCode, d.fp, d.name);
    return d;
}

// Every row of the function byte table, with the FP string of a record that holds no
// value groups: the function code, the sub-function and the initial fields.
TEST(InstallDecoder, FunctionBytesAndInitialFields) {
    struct Case {
        int byte;
        std::string_view typeCode;
        std::string_view key;
        std::string fp;
    } cases[] = {
        {2, "20", "Funct_R-LowOhm", "F;103;1;3;-;"},
        {2, "26", "Funct_R-LowOhm", "F;103;1;3;-;"},
        {2, "24", "Funct_CONT", "F;125;4;3;"},
        {2, "25", "Funct_CONT", "F;125;4;3;"},
        {6, "", "Funct_RCD-Uc", "F;106;3;3;"},
        {7, "", "Funct_RCD-t", "F;106;0;3;"},
        {8, "", "Funct_RCD-I", "F;106;1;3;"},
        {9, "", "Funct_RCD-Auto", "F;106;2;3;"},
        {11, "", "Funct_EARTH", "F;108;0;3;-;"},
        {15, "20", "Funct_R-ISO", "F;102;0;3;;-;"},
        {15, "26", "Funct_R-ISO", "F;102;0;3;;-;"},
        {15, "24", "Funct_R-ISO", "F;102;11;3;;-;"},
        {15, "25", "Funct_R-ISO", "F;102;11;3;;-;"},
        {16, "", "Funct_R-ISO", "F;102;12;3;;-;"},
        {17, "", "Funct_R-ISO", "F;102;13;3;;-;"},
        {18, "", "Funct_R-ISO", "F;102;14;3;;-;"},
        {21, "", "Funct_CURRENT", "F;109;0;3;-;"},
        {28, "", "Funct_Z-LOOP", "F;105;0;3;;*F;;;-;"},
        {30, "", "Funct_Z-LINE", "F;104;0;3;*F;;;-;"},
        {33, "", "Funct_PHASEROT", "F;101;;3;;0;0;"},
        {34, "", "Funct_CONT", "F;103;0;3;-;"},
        {36, "", "Funct_CONT", "F;125;5;3;"},
        {37, "", "Funct_CONT", "F;125;6;3;"},
        {38, "", "Funct_CONT", "F;127;4;3;"},
        {39, "", "Funct_CONT", "F;127;5;3;"},
        {56, "", "Funct_ZsRCD", "F;105;3;3;;*F;;;-;"},
        {57, "", "Funct_ILLUM", "F;113;;3;-;"},
        {61, "", "Funct_R-LINE", "F;104;0;3;*F;;;-;"},
        {62, "", "Funct_R-LOOP", "F;105;0;3;;*F;;;-;"},
        {63, "", "Funct_VOLT", "F;101;;3;;0;0;"},
        {64, "", "Funct_ISFL", "F;115;;3;-;"},
        {65, "", "Funct_IMD-CHECK", "F;114;;3;2;-;"},
        {66, "", "Funct_R_DIAGN", "F;116;;3;"},
        {100, "", "Funct_R-ISO", "F;102;20;3;;-;"},
        {109, "", "Funct_R-ISO", "F;102;29;3;;-;"},
        {120, "", "Funct_Z-LINE", "F;104;10;3;*F;;;-;"},
        {125, "", "Funct_Z-LINE", "F;104;15;3;*F;;;-;"},
        {130, "", "Funct_Z-LOOP", "F;105;10;3;;*F;;;-;"},
        {132, "", "Funct_Z-LOOP", "F;105;12;3;;*F;;;-;"},
        {135, "", "Funct_ZsRCD", "F;105;13;3;;*F;;;-;"},
        {137, "", "Funct_ZsRCD", "F;105;15;3;;*F;;;-;"},
        {140, "", "Funct_RCD-Uc", "F;106;10;3;"},
        {144, "", "Funct_RCD-Uc", "F;106;11;3;"},
        {148, "", "Funct_RCD-Uc", "F;106;12;3;"},
        {141, "", "Funct_RCD-t", "F;106;13;3;"},
        {145, "", "Funct_RCD-t", "F;106;14;3;"},
        {149, "", "Funct_RCD-t", "F;106;15;3;"},
        {142, "", "Funct_RCD-I", "F;106;16;3;"},
        {146, "", "Funct_RCD-I", "F;106;17;3;"},
        {150, "", "Funct_RCD-I", "F;106;18;3;"},
        {143, "", "Funct_RCD-Auto", "F;106;19;3;"},
        {147, "", "Funct_RCD-Auto", "F;106;20;3;"},
        {151, "", "Funct_RCD-Auto", "F;106;21;3;"},
    };
    testing::ScopedLanguage lang("[Language]\r\nFunct_R-ISO=Insulation\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        auto f = installFunction(c.byte, c.typeCode);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->nameKey, c.key);
        Decoded d = decode(installRecord(c.byte), c.typeCode);
        EXPECT_TRUE(d.ok);
        EXPECT_EQ(d.fp, c.fp);
        EXPECT_EQ(d.name, c.key == "Funct_R-ISO" ? "Insulation" : "**");
    }
}

TEST(InstallDecoder, UnrecognisedFunctionBytes) {
    // Bytes 2 and 15 need a type code that knows them.
    for (std::string_view type : {"", "22", "51", "2", "240"}) {
        EXPECT_FALSE(installFunction(2, type)) << type;
        EXPECT_FALSE(installFunction(15, type)) << type;
        Decoded d = decode(installRecord(2, {{'R', 0, 0, "Pass"}}), type);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.fp, "");
    }
    for (int b : {0,  1,  3,  5,  10, 12,  14,  19,  20,  22,  29,  31,  32,  35,  40,
                  55, 58, 60, 67, 99, 110, 119, 126, 129, 133, 134, 138, 139, 152, 255})
        EXPECT_FALSE(installFunction(b, "24")) << b;
}

TEST(InstallDecoder, EmptyAndHeaderOnlyRecords) {
    Decoded empty = decode("");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.fp, "unchanged");
    EXPECT_EQ(empty.name, "unchanged");

    Decoded header = decode(std::string(6, 'x'));
    EXPECT_FALSE(header.ok);
    EXPECT_EQ(header.fp, "");
    EXPECT_FALSE(decode("abc").ok);
}

// Every row of the position table; S1 is checked with each of its quantity codes.
TEST(InstallDecoder, FieldPositions) {
    struct Case {
        int code;
        char kind;
        std::vector<int> quantities;
        int position;
        int sub = 0;
    } cases[] = {
        {101, 'P', {0}, 5},
        {101, 'R', {0}, 4},
        {101, 'R', {16}, 7},
        {101, 'R', {17, 244, 247}, 8},
        {101, 'R', {18, 245, 248}, 9},
        {101, 'R', {19, 246, 249}, 10},
        {101, 'R', {243}, 11},
        {102, 'M', {1, 4, 22, 26, 28, 50, 53, 57}, 6},
        {102, 'P', {0}, 13},
        {102, 'P', {90}, 5},
        {102, 'R', {0}, 4},
        {102, 'R', {1, 4, 22, 26, 28, 50, 53, 57, 100, 101, 102}, 7},
        {102, 'R', {5}, 8},
        {103, 'M', {1, 4, 22, 26, 28, 50, 53, 57}, 5},
        {103, 'P', {0}, 12},
        {103, 'R', {0}, 4},
        {103, 'R', {1, 4, 22, 26, 28, 50, 53, 57}, 6},
        {103, 'R', {2}, 7},
        {103, 'R', {3}, 8},
        {104, 'M', {8, 9, 22, 74}, 8},
        {104, 'P', {0}, 18},
        {104, 'P', {240}, 5},
        {104, 'P', {241}, 6},
        {104, 'P', {242}, 7},
        {104, 'R', {0}, 4},
        {104, 'R', {1, 4, 22, 26, 28, 50, 53, 57, 20, 24}, 9},
        {104, 'R', {21, 25, 29}, 10},
        {105, 'M', {8, 9, 22, 74}, 9},
        {105, 'P', {0}, 5},
        {105, 'P', {240}, 6},
        {105, 'P', {241}, 7},
        {105, 'P', {242}, 8},
        {105, 'R', {0}, 4},
        {105, 'R', {1, 4, 22, 26, 28, 50, 53, 57, 215}, 12},
        {105, 'R', {20, 24, 214}, 10},
        {105, 'R', {21, 25, 29, 216}, 11},
        {105, 'R', {217}, 13},
        {106, 'M', {22}, 11},
        {106, 'M', {31}, 9, 0},
        {106, 'M', {31}, 9, 13},
        {106, 'M', {31}, 9, 15},
        {106, 'M', {31}, 8, 1},
        {106, 'M', {31}, 8, 3},
        {106, 'M', {31}, 8, 10},
        {106, 'M', {31}, 8, 12},
        {106, 'M', {31}, 8, 16},
        {106, 'M', {31}, 8, 21},
        {106, 'P', {0}, 5},
        {106, 'P', {87}, 6},
        {106, 'P', {88}, 8},
        {106, 'P', {89, 91}, 7},
        {106, 'R', {0}, 4},
        {106, 'R', {30, 36, 40, 220}, 9},
        {106, 'R', {32, 33, 38, 41, 218}, 10},
        {106, 'R', {35, 39, 42, 221}, 11},
        {106, 'R', {43, 219}, 12},
        {106, 'R', {44}, 13},
        {106, 'R', {45}, 14},
        {106, 'R', {46}, 15},
        {108, 'M', {1, 4, 22, 26, 28, 50, 53, 57}, 5},
        {108, 'P', {0}, 10},
        {108, 'R', {0}, 4},
        {108, 'R', {1, 4, 22, 26, 28, 50, 53, 57}, 6},
        {108, 'R', {51, 55, 59}, 7},
        {108, 'R', {52, 56, 60}, 8},
        {109, 'M', {74}, 5},
        {109, 'P', {0}, 7},
        {109, 'R', {0}, 4},
        {109, 'R', {8, 9}, 6},
        {113, 'M', {95}, 5},
        {113, 'P', {0}, 7},
        {113, 'R', {0}, 4},
        {113, 'R', {95}, 6},
        {114, 'M', {74}, 6},
        {114, 'P', {0}, 11},
        {114, 'R', {0}, 4},
        {114, 'R', {218}, 9},
        {114, 'R', {219}, 10},
        {114, 'R', {224}, 7},
        {114, 'R', {225}, 8},
        {115, 'M', {74}, 5},
        {115, 'P', {0}, 9},
        {115, 'R', {0}, 4},
        {115, 'R', {222}, 6},
        {115, 'R', {223}, 7},
        {116, 'P', {0}, 11},
        {116, 'P', {90}, 10},
        {116, 'R', {0}, 4},
        {116, 'R', {250}, 5},
        {116, 'R', {251}, 6},
        {116, 'R', {252}, 7},
        {116, 'R', {253}, 8},
        {116, 'R', {254}, 9},
        {125, 'M', {1, 4, 22, 26, 28, 50, 53, 57}, 11},
        {125, 'P', {0}, 10},
        {125, 'R', {0}, 4},
        {125, 'R', {1, 4, 22, 26, 28, 50, 53, 57}, 5},
        {125, 'R', {96}, 6},
        {125, 'R', {97}, 7},
        {125, 'R', {2}, 8},
        {125, 'R', {3}, 9},
        {127, 'M', {1, 4, 22, 26, 28, 50, 53, 57}, 6},
        {127, 'P', {0}, 10},
        {127, 'R', {0}, 4},
        {127, 'R', {98, 99}, 7},
        {127, 'R', {2}, 8},
        {127, 'R', {3}, 9},
    };
    for (const Case& c : cases) {
        for (int q : c.quantities) {
            SCOPED_TRACE(std::to_string(c.code) + " " + c.kind + " " + std::to_string(q));
            auto p = installFieldPosition(c.code, c.kind, q, c.sub);
            ASSERT_TRUE(p);
            EXPECT_EQ(*p, c.position);
        }
    }
}

TEST(InstallDecoder, UnlistedCombinationsAreUnrecognisedQuantities) {
    struct Case {
        int code;
        char kind;
        int quantity;
        int sub;
    } cases[] = {
        {101, 'M', 0, 0},   {101, 'P', 1, 0},      {101, 'R', 20, 0},     {101, 'R', 250, 0},
        {102, 'M', 2, 0},   {102, 'P', 1, 0},      {102, 'R', 3, 0},      {103, 'R', 5, 0},
        {104, 'M', 1, 0},   {104, 'R', 29 + 1, 0}, {105, 'M', 1, 0},      {105, 'R', 218, 0},
        {106, 'M', 31, 4},  {106, 'M', 31, 9},     {106, 'M', 31, 22},    {106, 'P', 90, 0},
        {106, 'R', 31, 0},  {106, 'R', 47, 0},     {108, 'R', 53 + 1, 0}, {109, 'M', 1, 0},
        {113, 'M', 74, 0},  {114, 'R', 220, 0},    {115, 'R', 224, 0},    {116, 'M', 1, 0},
        {116, 'R', 249, 0}, {116, 'R', 255, 0},    {125, 'R', 98, 0},     {127, 'R', 1, 0},
        {102, 'X', 1, 0},   {102, 'm', 1, 0},      {102, 'r', 0, 0},      {107, 'R', 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(installFieldPosition(c.code, c.kind, c.quantity, c.sub))
            << c.code << " " << c.kind << " " << c.quantity << " sub " << c.sub;
}

TEST(InstallDecoder, UnitTexts) {
    std::map<int, std::string> known = {
        {0, ""},
        {1, "V"},
        {3, "A"},
        {4, "mA"},
        {5, "Ohm"},
        {6, "mOhm"},
        {7, "MOhm"},
        {8, "s"},
        {9, "mA"},
        {10, "ms"},
        {11, "Ohmm"},
        {12, "m"},
        {13, "%"},
        {14, "W"},
        {15, "kW"},
        {16, "VA"},
        {17, "kVA"},
        {18, "VAR"},
        {19, "kVAR"},
        {20, "PF"},
        {21, "kOhm"},
        {22, "kOhmm"},
        {23, "Hz"},
        {24, "kA"},
        {25, "mWh"},
        {26, "Wh"},
        {27, "kWh"},
        {28, "h"},
        {29, "min"},
        {32, "0\xB0"},
        {33, "180\xB0"},
        {34, "General"},
        {35, "Selective"},
        {36, "lux"},
        {37, "klux"},
        {60, "General_Pulse"},
        {61, "Selective_Pulse"},
        {62, "TN/TT"},
        {63, "IT"},
        {64, "REDUCED 55V"},
        {65, "REDUCED 63V"},
        {66, "GOhm"},
        {67, "General_B"},
        {68, "Selective_B"},
    };
    for (int u = 0; u < 256; ++u) {
        auto text = installUnitText(u);
        auto it = known.find(u);
        if (it == known.end()) {
            EXPECT_FALSE(text) << u;
        } else {
            ASSERT_TRUE(text) << u;
            EXPECT_EQ(*text, it->second) << u;
        }
    }
}

TEST(InstallDecoder, UnitReductionToPrefixes) {
    struct Case {
        int code;
        int unit;
        std::string stored;
    } cases[] = {
        {101, 1, ""},         {101, 23, ""},  {101, 3, "A"},     {102, 7, "M"},
        {102, 1, ""},         {102, 66, "G"}, {102, 5, "Ohm"},   {116, 7, "M"},
        {116, 1, ""},         {116, 66, "G"}, {103, 5, ""},      {103, 6, "mOhm"},
        {125, 5, ""},         {127, 5, ""},   {127, 21, "kOhm"}, {104, 5, ""},
        {104, 3, ""},         {104, 8, ""},   {104, 10, "m"},    {104, 24, "k"},
        {104, 1, "V"},        {105, 5, ""},   {105, 3, ""},      {105, 8, ""},
        {105, 10, "m"},       {105, 24, "k"}, {106, 4, "m"},     {106, 1, ""},
        {106, 10, "m"},       {106, 5, ""},   {106, 8, "s"},     {106, 61, "Selective_Pulse"},
        {106, 33, "180\xB0"}, {108, 5, ""},   {108, 21, "k"},    {108, 12, "m"},
        {109, 3, ""},         {109, 4, "m"},  {109, 24, "k"},    {113, 36, ""},
        {113, 37, "k"},       {114, 5, ""},   {114, 21, "k"},    {114, 3, ""},
        {114, 4, "m"},        {115, 5, ""},   {115, 21, "k"},    {115, 3, ""},
        {115, 4, "m"},        {115, 9, "mA"},
    };
    for (const Case& c : cases) {
        auto stored = installStoredUnit(c.code, c.unit);
        ASSERT_TRUE(stored) << c.code << "/" << c.unit;
        EXPECT_EQ(*stored, c.stored) << c.code << "/" << c.unit;
    }
    EXPECT_FALSE(installStoredUnit(102, 2));
    EXPECT_FALSE(installStoredUnit(104, 69));
}

TEST(InstallDecoder, ValuesGoToTheirPositionsWithReducedUnits) {
    // Insulation on a type "20" tester: pass, 500 V test voltage, 12.5 MOhm, a limit.
    Decoded d = decode(installRecord(15, {{'R', 0, 0, "Pass"},
                                          {'M', 1, 1, "500"},
                                          {'R', 1, 7, "12.5"},
                                          {'P', 90, 7, "1.00"},
                                          {'R', 5, 1, "498"}}),
                       "20");
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;102;0;0;1.00M;500;12.5M;498;");

    // Line impedance: blanks around values go, the units reduce.
    d = decode(installRecord(30, {{'R', 0, 0, "Fail!"},
                                  {'R', 1, 5, "  0.45 "},
                                  {'R', 21, 24, "0.51"},
                                  {'P', 240, 0, "gG"},
                                  {'P', 241, 3, "16"},
                                  {'P', 242, 10, "400"},
                                  {'M', 8, 1, "231"},
                                  {'P', 0, 62, ""}}));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;104;0;1;gG;16;400m;231V;0.45;0.51k;;;;;;;;1;");
}

TEST(InstallDecoder, PassFailAndEarthingSystemGroups) {
    struct Case {
        Group group;
        std::string field;
    } cases[] = {
        {{'R', 0, 0, "Pass"}, "0"},
        {{'R', 0, 0, "Fail!"}, "1"},
        {{'R', 0, 0, "Goed"}, "0"},
        {{'R', 0, 0, "maybe"}, "-1"},
        {{'R', 0, 0, ""}, "-1"},
        {{'R', 0, 62, "x"}, "1"},  // quantity 0 with a unit: the earthing system
        {{'R', 0, 63, ""}, "2"},
        {{'R', 0, 64, ""}, "3"},
        {{'R', 0, 65, ""}, "4"},
        {{'R', 0, 1, "230"}, "0"},  // a unit that names no earthing system
    };
    for (const Case& c : cases) {
        Decoded d = decode(installRecord(109, {c.group}));  // byte 109: code 102
        EXPECT_TRUE(d.ok) << c.group.value;
        EXPECT_EQ(d.fp, "F;102;29;" + c.field + ";;-;") << c.group.value;
    }
}

TEST(InstallDecoder, PhaseRotation) {
    // Position 3 stays empty; position 4 keeps the preset 3 until a verdict comes.
    Decoded d = decode(installRecord(33, {{'R', 16, 0, "1.2.3"}}));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;101;;3;;0;1;");
    EXPECT_EQ(decode(installRecord(33, {{'R', 16, 0, "2.1.3"}})).fp, "F;101;;3;;0;2;");
    EXPECT_EQ(decode(installRecord(33, {{'R', 16, 0, "3.2.1"}})).fp, "F;101;;3;;0;0;");
}

TEST(InstallDecoder, VoltagesSetTheVoltageMode) {
    // Quantities 17-19 set position 7 to 3; their twins 244-249 do not.
    Decoded d = decode(installRecord(63, {{'R', 17, 1, "400"},
                                          {'R', 18, 1, "401"},
                                          {'R', 19, 1, "399"},
                                          {'R', 243, 23, "50.0"},
                                          {'P', 0, 62, ""}}));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;101;;3;1;0;3;400;401;399;50.0;");
    d = decode(installRecord(63, {{'R', 244, 1, "230"}, {'R', 248, 1, "0"}}));
    EXPECT_EQ(d.fp, "F;101;;3;;0;0;230;0;");
}

TEST(InstallDecoder, RcdWaveformSymbols) {
    struct Case {
        int byte;
        std::vector<Group> groups;
        std::string field7;
    } cases[] = {
        // Phase 180°, then the type: A (pulsed) 180°, selective.
        {7, {{'P', 89, 33, ""}, {'P', 91, 61, ""}}, "#S333#S317"},
        {7, {{'P', 89, 32, ""}, {'P', 91, 61, ""}}, "#S332#S317"},
        {7, {{'P', 89, 32, ""}, {'P', 91, 34, ""}}, "#S330#S316"},
        {7, {{'P', 89, 33, ""}, {'P', 91, 35, ""}}, "#S331#S317"},
        {8, {{'P', 89, 32, ""}, {'P', 91, 67, ""}}, "#S322#S316"},
        {8, {{'P', 89, 33, ""}, {'P', 91, 68, ""}}, "#S321#S317"},
        {9, {{'P', 89, 33, ""}, {'P', 91, 67, ""}}, "#S323#S316"},  // automatic test
        {6, {{'P', 89, 32, ""}, {'P', 91, 68, ""}}, "#S323#S317"},  // touch voltage
        // No phase delivered: 0°.
        {7, {{'P', 91, 60, ""}}, "#S332#S316"},
        // A phase after the type overwrites the symbols.
        {7, {{'P', 91, 60, ""}, {'P', 89, 33, ""}}, "180\xB0"},
        // A type unit that names no RCD type is written as it stands.
        {7, {{'P', 89, 33, ""}, {'P', 91, 0, "x"}}, "x"},
    };
    for (const Case& c : cases) {
        std::string record = installRecord(c.byte);
        for (const Group& g : c.groups) testing::appendGroup(record, g);
        Decoded d = decode(record);
        EXPECT_TRUE(d.ok);
        auto sub = installFunction(c.byte, "")->subFunction;
        EXPECT_EQ(d.fp, "F;106;" + std::to_string(sub) + ";3;;;" + c.field7 + ";") << c.field7;
    }
}

TEST(InstallDecoder, RcdTripTimeRecord) {
    Decoded d = decode(installRecord(141, {{'R', 0, 0, "Pass"},
                                           {'P', 0, 63, ""},
                                           {'P', 87, 4, "30"},
                                           {'P', 88, 0, "x1"},
                                           {'P', 89, 33, ""},
                                           {'P', 91, 61, ""},
                                           {'M', 31, 1, "50"},
                                           {'R', 32, 1, "0.8"},
                                           {'M', 22, 5, "1.2"},
                                           {'R', 43, 10, "23.4"},
                                           {'R', 46, 4, "27"}}));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;106;13;0;2;30m;#S333#S317;x1;50;0.8;1.2;23.4m;;;27m;");
}

TEST(InstallDecoder, UnrecognisedGroupsAreDroppedAndTheRestKept) {
    // Quantity 3 has no place in code 102; unit 2 is unknown; both are dropped.
    Decoded d = decode(installRecord(
        16,
        {{'R', 3, 1, "bad"}, {'R', 1, 7, "20.1"}, {'R', 5, 2, "bad unit"}, {'R', 0, 0, "Pass"}}));
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.fp, "F;102;12;0;;-;20.1M;");

    // A kind letter the table does not know.
    d = decode(installRecord(34, {{'Q', 1, 5, "1"}, {'R', 1, 5, "0.12"}}));
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.fp, "F;103;0;3;-;0.12;");
}

TEST(InstallDecoder, LaterGroupOverwritesEarlierOne) {
    Decoded d = decode(installRecord(21, {{'R', 8, 3, "1.0"}, {'R', 9, 4, "250"}}));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;109;0;3;-;250m;");
}

TEST(InstallDecoder, TruncatedAndUnsafeRecords) {
    // The last value lacks its 0: it runs to the end of the record.
    std::string r = installRecord(21) + "R" + std::string{char(8), char(3)} + "1.5";
    Decoded d = decode(r);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.fp, "F;109;0;3;-;1.5;");

    // Only a kind letter, or a kind and a quantity: not a group.
    EXPECT_FALSE(decode(installRecord(21) + "R").ok);
    d = decode(installRecord(21, {{'R', 8, 3, "2"}}) + "R\x08");
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.fp, "F;109;0;3;-;2;");

    // A ";" or a line end in a value would shift the fields or break the document
    // line: replaced by blanks, and the record counts as corrupted.
    d = decode(installRecord(21, {{'R', 8, 3, "1;2\r\n"}}));
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.fp, "F;109;0;3;-;1 2;");
}

TEST(InstallDecoder, ListGrowsForFarPositions) {
    Decoded d = decode(installRecord(7, {{'R', 46, 8, "0.1"}}));
    EXPECT_EQ(d.fp, "F;106;0;3;;;;;;;;;;;0.1s;");
    d = decode(installRecord(30, {{'P', 0, 62, ""}}));
    EXPECT_EQ(d.fp, "F;104;0;3;*F;;;-;;;;;;;;;;1;");
}

}  // namespace
}  // namespace pelvoro
