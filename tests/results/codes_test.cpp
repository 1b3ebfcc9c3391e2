#include <gtest/gtest.h>

#include <set>

#include "results/function_codes.h"
#include "results/functions/field_parser.h"
#include "results/result_codes.h"

namespace pelvoro {
namespace {

using R = ResultRecord;

TEST(FunctionCodes, EveryCodeFillsItsRecordUnderItsName) {
    struct Case {
        int code;
        R record;
        std::string_view firstName;
        HeadingKind kind;
    } cases[] = {
        {1, R::Volt, "#K301 #K345 #S257", HeadingKind::Markup},
        {51, R::Volt, "Funct_VOLT", HeadingKind::Key},
        {101, R::Volt, "Funct_VOLT", HeadingKind::Key},
        {2, R::Iso, "#K302: ", HeadingKind::Markup},
        {18, R::Iso, "#K318: ", HeadingKind::Markup},
        {55, R::Iso, "Funct_R-ISO", HeadingKind::Key},
        {102, R::Iso, "Funct_R-ISO", HeadingKind::Key},
        {116, R::Iso, "Funct_R_DIAGN", HeadingKind::Key},
        {3, R::Cont, "#K303: ", HeadingKind::Markup},
        {56, R::Cont, "Funct_R-LowOhm", HeadingKind::Key},
        {103, R::Cont, "Funct_R-LowOhm", HeadingKind::Key},
        {4, R::ZLine, "#K304", HeadingKind::Markup},
        {52, R::ZLine, "#K304", HeadingKind::Markup},
        {104, R::ZLine, "Funct_Z-LINE", HeadingKind::Key},
        {5, R::ZLoop, "#K305", HeadingKind::Markup},
        {53, R::ZLoop, "#K305", HeadingKind::Markup},
        {105, R::ZLoop, "Funct_Z-LOOP", HeadingKind::Key},
        {6, R::Rcd, "#K538: ", HeadingKind::Markup},
        {54, R::Rcd, "#K538: ", HeadingKind::Markup},
        {106, R::Rcd, "Funct_RCD-t", HeadingKind::Key},
        {8, R::Earth, "#K308: ", HeadingKind::Markup},
        {57, R::Earth, "#K308: ", HeadingKind::Markup},
        {73, R::Earth, "Funct_EARTH_RE", HeadingKind::Key},
        {108, R::Earth, "Funct_EARTH", HeadingKind::Key},
        {9, R::Current, "#K309", HeadingKind::Markup},
        {58, R::Current, "#K309", HeadingKind::Markup},
        {109, R::Current, "Funct_CURRENT", HeadingKind::Key},
        {13, R::Sensor, "#K313", HeadingKind::Markup},
        {113, R::Sensor, "Funct_ILLUM", HeadingKind::Key},
        {14, R::Imd, "#K314", HeadingKind::Markup},
        {114, R::Imd, "Funct_IMD-CHECK", HeadingKind::Key},
        {15, R::Isfl, "#K315", HeadingKind::Markup},
        {115, R::Isfl, "Funct_ISFL", HeadingKind::Key},
        {16, R::Visual, "#K316: ", HeadingKind::Markup},
        {17, R::ErtCont, "#K317: ", HeadingKind::Markup},
        {19, R::Polar, "#K319: ", HeadingKind::Markup},
        {26, R::Polar, "#K526", HeadingKind::Markup},
        {20, R::CorrConn, "#K520: ", HeadingKind::Markup},
        {21, R::FoltLoop, "#K521: ", HeadingKind::Markup},
        {22, R::FulSched, "#K522", HeadingKind::Markup},
        {23, R::DomSched, "#K523", HeadingKind::Markup},
        {24, R::Function, "#K524", HeadingKind::Markup},
        {25, R::Ring, "#K525: ", HeadingKind::Markup},
        {61, R::Ring, "Funct_CONT", HeadingKind::Key},
        {63, R::Ring, "#K525", HeadingKind::Markup},
        {125, R::Ring, "Funct_CONT", HeadingKind::Key},
        {27, R::ContAt, "#K527: ", HeadingKind::Markup},
        {62, R::ContAt, "Funct_CONT", HeadingKind::Key},
        {127, R::ContAt, "Funct_CONT", HeadingKind::Key},
        {28, R::Varistor, "#K528: ", HeadingKind::Markup},
        {29, R::LoopRe, "#K529: ", HeadingKind::Markup},
        {30, R::Rebt02, "#K530", HeadingKind::Markup},
        {31, R::Rebt73, "#K531", HeadingKind::Markup},
        {32, R::Rebt75, "#K532", HeadingKind::Markup},
        {33, R::TchVolt, "#K533: ", HeadingKind::Markup},
        {35, R::IncNeutr, "#K535", HeadingKind::Markup},
        {64, R::Socket, "Funct_SOCKET", HeadingKind::Key},
        {71, R::ContVolt, "Funct_CONTVOLT", HeadingKind::Key},
        {72, R::StepVolt, "Funct_STEPVOLT", HeadingKind::Key},
        {80, R::ResMicro, "Funct_RESIST", HeadingKind::Key},
        {201, R::VoltTo, "Funct_VOLTAGE", HeadingKind::Key},
        {202, R::IsoTo, "Funct_INSUL-RES", HeadingKind::Key},
        {204, R::DiagnTo, "Funct_DIAGN-TEST", HeadingKind::Key},
        {206, R::StepvTo, "Funct_STEP-VOLT", HeadingKind::Key},
        {207, R::WithstTo, "Funct_WITH-VOLT", HeadingKind::Key},
        {301, R::HvMt, "HV_16", HeadingKind::Key},
        {302, R::DuMt, "dU_16", HeadingKind::Key},
        {303, R::R10aMt, "R-10A_16", HeadingKind::Key},
        {304, R::MohmMt, "MOhm_16", HeadingKind::Key},
        {305, R::DtMt, "dT_16", HeadingKind::Key},
    };
    std::set<int> listed;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const FunctionCodeInfo* info = findFunctionCode(c.code);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->record, c.record);
        ASSERT_GE(info->nameCount, 1);
        EXPECT_EQ(info->names[0].text, c.firstName);
        EXPECT_EQ(info->names[0].kind, c.kind);
        EXPECT_EQ(findFunctionCode(std::to_string(c.code)), info);
        listed.insert(c.code);
    }
    // Nothing more is known than the table lists, and each code is read by a layout of its
    // own record.
    for (const FunctionCodeInfo& info : functionCodeTable()) {
        EXPECT_TRUE(listed.count(info.code)) << info.code;
        const fp::Layout* layout = fp::layoutOfCode(info.code);
        ASSERT_NE(layout, nullptr) << info.code;
        EXPECT_EQ(layout->record, info.record) << info.code;
    }
}

TEST(FunctionCodes, AlternativeNamesAndBoldHeadings) {
    const FunctionCodeInfo* c1 = findFunctionCode(1);
    ASSERT_EQ(c1->nameCount, 2);
    EXPECT_EQ(c1->names[1].text, "#K301/PHASE SEQ.");
    const FunctionCodeInfo* c106 = findFunctionCode(106);
    ASSERT_EQ(c106->nameCount, 4);
    EXPECT_EQ(c106->names[3].text, "Funct_RCD-Uc");
    EXPECT_EQ(findFunctionCode(105)->names[2].text, "Funct_R-LOOP");
    EXPECT_EQ(findFunctionCode(20)->names[1].text, "#K549: ");
    for (int code : {22, 23, 24, 30, 31, 32})
        EXPECT_TRUE(findFunctionCode(code)->boldHeading) << code;
    EXPECT_FALSE(findFunctionCode(21)->boldHeading);
}

TEST(FunctionCodes, UnrecognisedCodes) {
    for (int code : {0,  7,   10,  11,  12,  34,  36,  50,  59,  60,  65,  70,  74,  79,
                     81, 100, 107, 110, 117, 126, 128, 200, 203, 205, 208, 300, 306, 1000})
        EXPECT_EQ(findFunctionCode(code), nullptr) << code;
    // Compared as text: only the plain decimal form names a code.
    for (const char* text : {"", "07", "+7", " 7", "7 ", "1x", "-1", "101!", "9999999999"})
        EXPECT_EQ(findFunctionCode(std::string_view(text)), nullptr) << text;
}

TEST(FunctionCodes, Families) {
    struct Case {
        int code;
        CodeFamily family;
    } cases[] = {{0, CodeFamily::Unknown},        {1, CodeFamily::Earlier},
                 {35, CodeFamily::Earlier},       {36, CodeFamily::Unknown},
                 {51, CodeFamily::EarlierTyped},  {64, CodeFamily::EarlierTyped},
                 {65, CodeFamily::Unknown},       {71, CodeFamily::Single},
                 {73, CodeFamily::Single},        {74, CodeFamily::Unknown},
                 {80, CodeFamily::Single},        {101, CodeFamily::LaterInstall},
                 {127, CodeFamily::LaterInstall}, {128, CodeFamily::Unknown},
                 {201, CodeFamily::HighVoltage},  {207, CodeFamily::HighVoltage},
                 {301, CodeFamily::Machine},      {305, CodeFamily::Machine},
                 {306, CodeFamily::Unknown}};
    for (const Case& c : cases) EXPECT_EQ(codeFamily(c.code), c.family) << c.code;
    // Later installation codes are letters: 'e' is 101, 't' 116, '}' 125.
    EXPECT_EQ(findFunctionCode('e')->record, R::Volt);
    EXPECT_EQ(findFunctionCode('t')->record, R::Iso);
    EXPECT_EQ(findFunctionCode('}')->record, R::Ring);
    EXPECT_EQ(resultRecordName(R::CorrConn), "TFunct_CorrCONN");
    EXPECT_EQ(resultRecordName(R::DtMt), "TFunct_dt_MT");
}

TEST(PassFailCode, WordsOfEveryLanguage) {
    struct Case {
        std::string word;
        int code;
    } cases[] = {
        {"Fail!", 1},
        {"Pass", 0},
        {"NEIN!", 1},
        {"JA", 0},
        {"NO PASA", 1},
        {"PASA", 0},
        {"Nevyhovuje", 1},
        {"Vyhovuje", 0},
        {"Fejl", 1},
        {"Nem jo", 1},
        {"Rendben", 0},
        {"ZLY!", 1},
        {"DOBRY", 0},
        {"MAUVAIS", 1},
        {"BON", 0},
        {"Fout", 1},
        {"Goed", 0},
        {"Fallito", 1},
        {"Buono", 0},
        {"Fel", 1},
        {"OK", 0},
        {"Nao Passo", 1},
        {"Passa", 0},
        {"Virhe!", 1},
        {"Ohitus", 0},
        // Windows-1251 bytes.
        {"\xCD\xE5\x20\xF1\xEE\xEE\xF2\xE2\x2E\x21", 1},
        {"\xD1\xEE\xEE\xF2\xE2\x2E", 0},
        // Exact comparison: case, punctuation and blanks count.
        {"Fail", -1},
        {"fail!", -1},
        {"PASS", -1},
        {"pass", -1},
        {" Pass", -1},
        {"Pass ", -1},
        {"ok", -1},
        {"", -1},
        {"Virhe", -1},
        {"\xD1\xEE\xEE\xF2\xE2", -1},
        // The same words in UTF-8 are not the instrument's bytes.
        {"\xD0\xA1\xD0\xBE\xD0\xBE\xD1\x82\xD0\xB2.", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(PassFailCode(c.word), c.code) << c.word;
    int count = 0;
    passFailWords(&count);
    EXPECT_EQ(count, 14);
}

TEST(PhaseOrderAndEarthingSystem, Maps) {
    EXPECT_EQ(PhaseOrderCode("1.2.3"), 1);
    EXPECT_EQ(PhaseOrderCode("2.1.3"), 2);
    for (const char* t : {"", "3.2.1", "1.2.3 ", "123", "1,2,3"})
        EXPECT_EQ(PhaseOrderCode(t), 0) << t;
    EXPECT_EQ(EarthingSystemCode('>'), 1);
    EXPECT_EQ(EarthingSystemCode(62), 1);
    EXPECT_EQ(EarthingSystemCode('?'), 2);
    EXPECT_EQ(EarthingSystemCode('@'), 3);
    EXPECT_EQ(EarthingSystemCode('A'), 4);
    for (int u : {0, 1, 61, 66, int('B'), 255}) EXPECT_EQ(EarthingSystemCode(u), 0) << u;
}

TEST(RcdWaveform, SymbolsByTypePhaseAndSubFunction) {
    struct Case {
        std::string_view unit;
        std::string_view phase;
        int sub;
        std::string symbol;
        std::string_view kind;
    } cases[] = {
        {"General", kPhase0, 0, "#S330", "#S316"},
        {"Selective", kPhase180, 0, "#S331", "#S317"},
        {"General_Pulse", kPhase0, 1, "#S332", "#S316"},
        {"Selective_Pulse", kPhase180, 1, "#S333", "#S317"},
        {"General_B", kPhase0, 0, "#S322", "#S316"},
        {"Selective_B", kPhase180, 1, "#S321", "#S317"},
        // Type B without polarity for the automatic and touch voltage tests.
        {"General_B", kPhase0, 2, "#S323", "#S316"},
        {"General_B", kPhase180, 3, "#S323", "#S316"},
        // Other types keep their phase in those tests.
        {"General", kPhase180, 2, "#S331", "#S316"},
        // A phase text the symbols do not know stays as it is.
        {"General", "90", 0, "90", "#S316"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit));
        auto type = rcdTypeFromUnit(c.unit);
        ASSERT_TRUE(type);
        EXPECT_EQ(rcdWaveformSymbol(*type, c.phase, c.sub), c.symbol);
        EXPECT_EQ(rcdKindSymbol(type->selective), c.kind);
    }
    for (const char* t : {"", "general", "General_A", "Selective_pulse"})
        EXPECT_FALSE(rcdTypeFromUnit(t)) << t;
}

}  // namespace
}  // namespace pelvoro
