// pelvoro-cli lines: one FP string in, the display mark-up lines out.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

RunResult lines(const std::string& language, std::vector<std::string> args) {
    args.insert(args.begin(), {"--language", language, "lines"});
    return runProgram("pelvoro-cli", args, milliseconds(20000));
}

TEST(LinesCli, WholeLinesInTheCurrentLanguage) {
    RunResult en = lines("English", {"F;109;0;1;30m;12.5m;1;"});
    EXPECT_EQ(en.exitCode, 0) << en.err;
    EXPECT_EQ(en.out,
              "X#PR#L1Current#CR#AR#K020\nX#PR#L2I: 12.5mA\nX#PL#L3Limit: 30mA\n"
              "X#PR#L3System: TN/TT\n");
    RunResult de = lines("Deutsch", {"F;109;0;1;30m;12.5m;1;"});
    EXPECT_EQ(de.exitCode, 0) << de.err;
    EXPECT_NE(de.out.find("X#PL#L3Grenzwert: 30mA\n"), std::string::npos) << de.out;
}

TEST(LinesCli, TypeCodeAndVariantReachTheLines) {
    // A line impedance of a typed instrument: the limit is Z_lim for "KORVEN".
    RunResult r = lines(
        "English", {"F;2;0;0;gG;16;0.4;1.2;0.45;510;", "--type-code", "52", "--variant", "KORVEN"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("X#PL#L3Z_lim: 1.2#S258\n"), std::string::npos) << r.out;
}

TEST(LinesCli, WidthWrapsInspectionTexts) {
    const std::string fp = "F;16;0;0;11111;";
    RunResult wide = lines("English", {fp});
    RunResult narrow = lines("English", {fp, "--width", "300"});
    EXPECT_EQ(wide.exitCode, 0) << wide.err;
    EXPECT_EQ(narrow.exitCode, 0) << narrow.err;
    auto count = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    EXPECT_EQ(count(wide.out), 6) << wide.out;  // heading and five questions
    EXPECT_GT(count(narrow.out), 6) << narrow.out;
    EXPECT_NE(narrow.out.find("\nX#PR#L2   "), std::string::npos) << narrow.out;
}

TEST(LinesCli, UnknownCodeAndBadArguments) {
    RunResult r = lines("English", {"F;7;0;1;"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    r = lines("English", {"F;109;0;1;", "--width", "wide"});
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
}  // namespace pelvoro::e2e
