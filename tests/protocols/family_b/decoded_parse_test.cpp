// The parser reads what the decoders write: a record of every function, with a value
// group at every position its code knows, decodes into an FP string whose every field
// the parser takes, without reporting unknown content.

#include <gtest/gtest.h>

#include <string>

#include "protocols/family_b/hv_decoder.h"
#include "protocols/family_b/install_decoder.h"
#include "results/fp_parser.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

void group(std::string& record, char kind, int quantity, int unit, const std::string& value) {
    record.push_back(kind);
    record.push_back(char(quantity));
    record.push_back(char(unit));
    record += value;
    record.push_back('\0');
}

TEST(DecodedParseTest, EveryInstallationFunctionFillsItsRecord) {
    int parsed = 0;
    for (const char* typeCode : {"20", "24"}) {
        for (int byte = 0; byte < 256; ++byte) {
            const auto function = installFunction(byte, typeCode);
            // RCD records carry only some of their quantities per test; see below.
            if (!function || function->code == 106) continue;
            std::string record(6, '\0');
            record.push_back(char(byte));
            for (char kind : {'M', 'P', 'R'}) {
                for (int q = 0; q < 256; ++q) {
                    if (!installFieldPosition(function->code, kind, q, function->subFunction))
                        continue;
                    if (q == 0 && kind == 'R')
                        group(record, kind, q, 0, "Pass");
                    else if (q == 0 && kind == 'P')
                        group(record, kind, q, '>', "TN");
                    else if (function->code == 101 && q == 16)
                        group(record, kind, q, 0, "1.2.3");
                    else
                        group(record, kind, q, 5, "1.5");
                }
            }
            std::string fp, name;
            ASSERT_TRUE(DecodeInstallRecord(record, typeCode, fp, name)) << byte;
            SCOPED_TRACE(fp);
            TResultsData r;
            bool unknown = false;
            ParseFpString(fp, FpParseContext{typeCode, "", 2}, r, unknown);
            EXPECT_EQ(r.FunctionCode, std::to_string(function->code));
            EXPECT_FALSE(unknown);
            ++parsed;
        }
    }
    EXPECT_GT(parsed, 80);
}

TEST(DecodedParseTest, RcdAutomaticTestOnEachPhase) {
    for (int byte : {9, 143, 147, 151}) {
        std::string record(6, '\0');
        record.push_back(char(byte));
        group(record, 'R', 0, 0, "Fail!");
        group(record, 'P', 0, '?', "IT");
        group(record, 'P', 87, 4, "30");
        // The phase, then the type, which turns the phase into the waveform symbol.
        group(record, 'P', 89, 32, "");
        group(record, 'P', 91, 35, "");
        for (int q : {30, 32, 35, 43, 44, 45, 46}) group(record, 'R', q, 10, "20");
        std::string fp, name;
        ASSERT_TRUE(DecodeInstallRecord(record, "20", fp, name)) << byte;
        SCOPED_TRACE(fp);
        TResultsData r;
        bool unknown = false;
        ParseFpString(fp, FpParseContext{"20", "", 0}, r, unknown);
        EXPECT_FALSE(unknown);
        EXPECT_EQ(r.RCD.Status, 1);
        EXPECT_EQ(r.RCD.EarthingSystem, 2);
        EXPECT_EQ(r.RCD.Idn, (TResultValue{"30", "mA"}));
        EXPECT_EQ(r.RCD.RcdType, "#S330#S317");
        EXPECT_EQ(r.RCD.t1_0, (TResultValue{"20", "ms"}));
    }
}

TEST(DecodedParseTest, EveryHighVoltageFunctionFillsItsRecord) {
    for (int byte = 1; byte <= 7; ++byte) {
        const auto function = hvFunction(byte);
        ASSERT_TRUE(function) << byte;
        std::string record(4, '\0');
        record.push_back(char(byte));
        for (char kind : {'P', 'R'}) {
            for (int q = 0; q < 256; ++q) {
                if (!hvFieldPosition(function->code, kind, q)) continue;
                group(record, kind, q, 0, q == 0 && kind == 'R' ? "2" : "1.5");
            }
        }
        record += "T12:00:01";
        record.push_back('\0');
        record += "D01.02.2026";
        record.push_back('\0');
        testing::ScriptedPrompts prompts;
        std::string fp, name;
        DecodeHvRecord(record, prompts, fp, name);
        EXPECT_TRUE(prompts.shown.empty()) << byte;
        SCOPED_TRACE(fp);
        TResultsData r;
        bool unknown = false;
        ParseFpString(fp, FpParseContext{}, r, unknown);
        EXPECT_EQ(r.FunctionCode, std::to_string(function->code));
        EXPECT_FALSE(unknown);
        std::string date;
        r.withRecord(r.record(), [&](const auto& sub) {
            if constexpr (requires { sub.Date; }) date = sub.Date;
        });
        EXPECT_EQ(date, "01.02.2026");
    }
}

}  // namespace
}  // namespace pelvoro
