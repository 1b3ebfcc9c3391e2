// pelvoro-cli decode: one coded record in hexadecimal in, FP string, name and verdict out.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct CliRun {
    std::string out;
    int status = -1;
};

CliRun cli(const std::string& args) {
    std::string command =
        std::string(PELVORO_BIN_DIR) + "/pelvoro-cli --language English " + args + " 2>&1";
    CliRun r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 512> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    int s = pclose(p);
    r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return r;
}

TEST(DecodeCli, InstallRecordWithTypeCode) {
    // Header, byte 15 (insulation), R 0 "Pass", R 1 in MOhm "12.5".
    const std::string hex = "000100010001 0F 520000 50617373 00 520107 31322E35 00";
    CliRun r = cli("decode install \"" + hex + "\" --type-code 24");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("FP: F;102;11;0;;-;12.5M;\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Name: Insulation resistance\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Verdict: understood\n"), std::string::npos) << r.out;

    // The same bytes on a tester whose type code does not know byte 15.
    r = cli("decode install \"" + hex + "\" --type-code 22");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Verdict: not understood\n"), std::string::npos) << r.out;
}

TEST(DecodeCli, HvRecordReportsProblems) {
    // Insulation, R 7 is no quantity of code 202, then R 1 in MOhm "200".
    CliRun r = cli("decode hv 00000000025207017800520103323030");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Quantity Fail FC:202 QC:7"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("FP: F;202;0;1;200M;;;;;;;;;;\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("problems reported: 1"), std::string::npos) << r.out;
}

TEST(DecodeCli, BadArguments) {
    EXPECT_EQ(cli("decode install 0g").status, 2);
    EXPECT_EQ(cli("decode install 123").status, 2);
    EXPECT_EQ(cli("decode other 00").status, 2);
    EXPECT_EQ(cli("decode install").status, 2);
}

}  // namespace
