// How pelvoro-cli download and send end when they do not end well: interrupted by SIGINT
// or SIGTERM (as Cancel: the tester told, the port closed, the temporary files gone, exit
// 130), an OUT that cannot be written (the document is kept and its path told), a
// connection that fails (the device and the rate named), a download that brought part of
// the memory (how many records of how many).

#include <gtest/gtest.h>

#include <filesystem>

#include "sim_harness.h"
#include "support/language_fixture.h"

namespace pelvoro::e2e {
namespace {

namespace fs = std::filesystem;

// The private temporary folder of a pelvoro-cli download run.
fs::path cliFolder(pid_t pid) {
    return fs::temp_directory_path() / ("pelvoro-cli-download-" + std::to_string(long(pid)));
}

TEST(CliTransferEnd, SignalsEndTheExchangeAsCancelDoes) {
    struct Case {
        const char* command;
        int sig;
        const char* model;
        const char* scenario;
        const char* busyWith;  // in the simulator's log: the exchange is under way
    };
    for (const Case& c : {Case{"download", SIGINT, "TQ71", "tq71.sim", "MR1"},
                          Case{"download", SIGTERM, "TQ42", "tq42.sim", "MRE"},
                          Case{"download", SIGINT, "CV61", "cv61.sim", "rx t"},
                          Case{"send", SIGTERM, "TQ41", "tq41.sim", "MAS"}}) {
        SCOPED_TRACE(std::string(c.command) + " " + c.model);
        pelvoro::testing::TempDir dir;
        // At 300 baud the exchange takes long enough to be interrupted in the middle.
        Simulator sim({"--scenario", scenarioPath(c.scenario), "--baud", "300"});
        ASSERT_FALSE(sim.device().empty());
        const std::string out = dir.file("out.TMV");
        std::vector<std::string> args = {c.command,    "--model", c.model, "--device",
                                         sim.device(), "--baud",  "300"};
        if (std::string(c.command) == "download") {
            args.insert(args.end(), {"-o", out});
        } else {
            args.push_back(PELVORO_SOURCE_DATA_DIR "/Demo.TMV");
        }
        BackgroundRun cli("pelvoro-cli", args, {"XDG_CONFIG_HOME=" + dir.path()});
        ASSERT_TRUE(sim.logShows(c.busyWith, milliseconds(60000))) << sim.log();
        const fs::path folder = cliFolder(cli.pid());
        cli.signal(c.sig);
        RunResult r = cli.wait(milliseconds(30000));
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 130) << r.err;
        EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out)) << "nothing is written";
        EXPECT_FALSE(fs::exists(folder)) << "the temporary folder goes";
        // The tester was told: the family's end command (the single-letter tester has
        // none; its line just falls silent).
        if (std::string(c.model) != "CV61") {
            EXPECT_TRUE(sim.logShows("connection ended")) << sim.log();
        }
    }
}

TEST(CliTransferEnd, UnwritableOutKeepsTheDownloadedDocument) {
    pelvoro::testing::TempDir dir;
    Simulator sim({"--scenario", scenarioPath("tq42.sim")});
    const std::string out = dir.file("no-such-folder/out.TMV");
    RunResult r = runProgram(
        "pelvoro-cli",
        {"download", "--model", "TQ42", "--device", sim.device(), "--baud", "4800", "-o", out},
        milliseconds(60000), {"XDG_CONFIG_HOME=" + dir.path()});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    const std::string marker = "the downloaded document is kept in ";
    const std::size_t at = r.err.find(marker);
    ASSERT_NE(at, std::string::npos) << r.err;
    std::string kept = r.err.substr(at + marker.size());
    kept = kept.substr(0, kept.find('\n'));
    ASSERT_TRUE(fs::exists(kept)) << kept;
    const std::string document = readFile(kept);
    EXPECT_NE(document.find("Name: Insulation"), std::string::npos);
    EXPECT_NE(document.find("Name: Continuity"), std::string::npos);
    EXPECT_NE(document.find("TQ 42"), std::string::npos) << "with the instrument data";
    fs::remove_all(fs::path(kept).parent_path());
}

TEST(CliTransferEnd, FailuresNameTheLineAndIncompleteDownloadsCountTheRecords) {
    pelvoro::testing::TempDir dir;
    {
        Simulator sim({"--scenario", scenarioPath("cv61.sim"), "--fault", "silence"});
        RunResult r = runProgram("pelvoro-cli",
                                 {"download", "--model", "CV61", "--device", sim.device(), "--baud",
                                  "1200", "-o", dir.file("a.TMV")},
                                 milliseconds(60000), {"XDG_CONFIG_HOME=" + dir.path()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(sim.device() + " at 1200 baud"), std::string::npos) << r.err;
    }
    for (const char* language : {"ENGLISH", "DEUTSCH"}) {
        SCOPED_TRACE(language);
        // The cable is pulled during the second record: one of two came.
        Simulator sim({"--scenario", scenarioPath("tq42.sim"), "--fault", "pull@MRE#2:4"});
        std::vector<std::string> env = {"XDG_CONFIG_HOME=" + dir.path()};
        RunResult r = runProgram("pelvoro-cli",
                                 {"--language", language, "download", "--model", "TQ42", "--device",
                                  sim.device(), "--baud", "4800", "-o", dir.file("b.TMV")},
                                 milliseconds(60000), env);
        const std::string expected = std::string(language) == "ENGLISH"
                                         ? "Records received: 1 of 2."
                                         : "Empfangene Datens\xC3\xA4tze: 1 von 2.";
        EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace pelvoro::e2e
