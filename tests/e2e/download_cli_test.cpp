// pelvoro-cli download against the simulator on a pseudo terminal: the saved document
// compared whole with its golden file for an installation tester, a high-voltage tester
// with a graph and the machine tester; what the command does when no document comes or
// only part of the memory.

#include <gtest/gtest.h>

#include <filesystem>

#include "sim_harness.h"
#include "support/language_fixture.h"

namespace pelvoro::e2e {
namespace {

std::string goldenPath(const std::string& name) {
    return std::string(PELVORO_SOURCE_DATA_DIR) + "/../tests/e2e/golden/" + name;
}

struct CliDownload {
    RunResult run;
    std::string saved;
    bool written = false;
};

CliDownload download(const std::string& model, const std::string& scenario,
                     const std::vector<std::string>& simArgs = {}) {
    pelvoro::testing::TempDir dir;
    std::vector<std::string> args = {"--model", model, "--scenario", scenarioPath(scenario)};
    args.insert(args.end(), simArgs.begin(), simArgs.end());
    Simulator sim(args);
    CliDownload d;
    EXPECT_FALSE(sim.device().empty());
    const std::string out = dir.file("out.TMV");
    d.run = runProgram(
        "pelvoro-cli",
        {"download", "--model", model, "--device", sim.device(), "--baud", "4800", "-o", out},
        milliseconds(60000),
        {"XDG_CONFIG_HOME=" + dir.path(), "PELVORO_WIRE_LOG=" + dir.file("wire.log")});
    d.written = std::filesystem::exists(out);
    if (d.written) d.saved = readFile(out);
    return d;
}

TEST(DownloadCli, SavedDocumentsMatchTheirGoldens) {
    struct Case {
        const char* model;
        const char* scenario;
        const char* golden;
        const char* err;  // what the command may print
    };
    for (const Case& c : {
             Case{"TQ42", "tq42.sim", "download_tq42.PLV", ""},
             Case{"TQ60", "tq60.sim", "download_tq60.PLV", ""},
             Case{"CV61", "cv61.sim", "download_cv61.PLV", ""},
             Case{"CV61", "demo_cv61.sim", "download_demo_cv61.PLV", ""},
         }) {
        SCOPED_TRACE(c.golden);
        CliDownload d = download(c.model, c.scenario);
        EXPECT_EQ(d.run.exitCode, 0) << d.run.err;
        EXPECT_EQ(d.run.err, *c.err ? englishText(c.err) + "\n" : std::string());
        ASSERT_TRUE(d.written);
        std::string golden = readFile(goldenPath(c.golden));
        if (d.saved != golden) {
            std::ofstream(std::string("/tmp/") + c.golden, std::ios::binary) << d.saved;
            ADD_FAILURE() << "saved document differs from " << c.golden << "; written to /tmp/"
                          << c.golden;
        }
    }
}

TEST(DownloadCli, NoDocumentFailsWithTheMessageAndWritesNothing) {
    CliDownload d = download("CV61", "cv61.sim", {"--fault", "silence"});
    EXPECT_EQ(d.run.exitCode, 1);
    EXPECT_NE(d.run.err.find(englishText("msgConnectError_35")), std::string::npos) << d.run.err;
    EXPECT_FALSE(d.written);
}

// A document that is not whole is saved, but never with exit 0: a script that clears
// the tester after a download must be able to tell.
TEST(DownloadCli, WhatIsNotWholeIsSavedAndToldButNeverExitsZero) {
    struct Case {
        const char* model;
        const char* scenario;
        const char* fault;
        int exitCode;
        const char* message;  // printed on standard error
        const char* kept;     // in the saved document ("": nothing saved)
    };
    for (const Case& c : {
             // The cable is pulled during the second record: the first is kept.
             Case{"TQ42", "tq42.sim", "pull@MRE#2:4", 3, "msgDLoadNotCompl_50", "Name: Insulation"},
             Case{"CV61", "cv61.sim", "silence@t", 3, "msgIdentNotRead_70", "Name: High voltage"},
             Case{"TQ75", "tq75.sim", "silence@MN1#2", 3, "msgStructNamesNotRead_70", "Type: 23"},
             Case{"CV61", "cv61.sim", "silence@RFF", 1, "msgConnectError_35", ""},
             Case{"TQ42", "tq42.sim", "silence@MNU", 1, "msgCommunFail_35", ""},
         }) {
        SCOPED_TRACE(std::string(c.model) + " " + c.fault);
        CliDownload d = download(c.model, c.scenario, {"--fault", c.fault});
        EXPECT_EQ(d.run.exitCode, c.exitCode) << d.run.err;
        EXPECT_NE(d.run.err.find(englishText(c.message)), std::string::npos) << d.run.err;
        ASSERT_EQ(d.written, *c.kept != 0);
        if (d.written) {
            EXPECT_NE(d.saved.find(c.kept), std::string::npos) << d.saved;
        }
    }
}

}  // namespace
}  // namespace pelvoro::e2e
