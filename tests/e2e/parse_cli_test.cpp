// pelvoro-cli parse: one FP string in, the filled result record out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

RunResult parse(std::vector<std::string> args) {
    args.insert(args.begin(), {"--language", "English", "parse"});
    return runProgram("pelvoro-cli", args, milliseconds(20000));
}

void expectLines(const RunResult& r, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << line << "\n" << r.out;
}

TEST(ParseCli, PrintsTheRecordOfATypedInstrument) {
    RunResult r = parse({"F;2;1;0;gG;16;0.4;200;0.45;510;4.0;2.1;0.3m;", "--type-code", "52"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectLines(r,
                {"function code: 52", "record: TFunct_ZLINE", "status: 0", "earthing system: 1",
                 "sub-function: 11", "fuse type: \"gG\"", "Isc_lim: \"200\" unit \"A\"",
                 "dU: \"2.1\" unit \"\"", "Zref: \"0.3\" unit \"m#S258\"", "NewFunctionsSeen: no"});
    EXPECT_EQ(r.out.rfind("function code: ", 0), 0u) << r.out;
}

TEST(ParseCli, CodingVersionChoosesTheRcdTimes) {
    const std::string fp = "F;54;3;0;30m;302;50;20;21;22;23;24;25;26;27;28;29;5;";
    RunResult v2 = parse({fp, "--protver", "2"});
    EXPECT_EQ(v2.exitCode, 0) << v2.err;
    expectLines(v2, {"t2_0: \"22\" unit \"s\"", "t5_0: \"24\" unit \"s\"", "Uc: \"5\" unit \"V\""});
    RunResult v0 = parse({fp});
    EXPECT_EQ(v0.exitCode, 0) << v0.err;
    expectLines(v0, {"t2_0: \"\" unit \"s\"", "t5_0: \"22\" unit \"s\"", "Uc: \"28\" unit \"V\""});
}

TEST(ParseCli, VariantAndTextConversion) {
    RunResult r = parse({"F;104;1;0;gG;16;0.4;1.2;", "--variant", "KORVEN"});
    expectLines(r, {"Z_lim: \"1.2\" unit \"#S258\"", "Isc_lim: \"\" unit \"A\""});
    // The terminal's UTF-8 goes through the documents' code page and back.
    r = parse({"F;201;0;1;230;50;12:00;31.12.2026 \xC2\xB5;"});
    expectLines(r, {"date: \"31.12.2026 \xC2\xB5\""});
}

TEST(ParseCli, UnknownContentGivesStatusOne) {
    RunResult r = parse({"F;7;0;1;"});
    EXPECT_EQ(r.exitCode, 1);
    expectLines(r, {"function code: (none)", "NewFunctionsSeen: yes"});
    EXPECT_EQ(r.out.find("record:"), std::string::npos) << r.out;
    r = parse({"F;109;0;9;"});
    EXPECT_EQ(r.exitCode, 1);
    // A status outside the map leaves the string without a verdict.
    expectLines(r, {"function code: 109", "status: 3", "NewFunctionsSeen: yes"});
}

TEST(ParseCli, UsageErrors) {
    EXPECT_EQ(parse({}).exitCode, 2);
    EXPECT_EQ(parse({"F;9;0;0;", "--protver", "x"}).exitCode, 2);
    EXPECT_EQ(parse({"F;9;0;0;", "extra"}).exitCode, 2);
}

}  // namespace
}  // namespace pelvoro::e2e
