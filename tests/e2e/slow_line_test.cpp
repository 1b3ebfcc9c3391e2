// Downloads on slow lines: at 300 and 600 baud every tester family gives the same document
// as on a fast line, with lines up to the longest a tester sends (the split result lines
// of an earlier tester, about 90 characters, take 3 s at 300 baud). Once in memory on the
// virtual clock (every family, both rates), and once through pelvoro-cli and the real
// serial port against the simulator sending at the line's pace on a pseudo terminal.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "download_harness.h"

namespace pelvoro::e2e {
namespace {

// A result with a code-22 line: the program splits its 74-character value into five
// lines; the line itself is 85 characters.
const char* const kLongResult =
    "\n[result]\nparent 03\nX#PD Board check\n"
    "F;22;1;5;12345678ABCDE0123456789abcdefTHE-TWENTY-NINE-CHARACTERS-XX0123456789ABCDEF;\n";

struct SlowCase {
    const char* model;
    const char* scenario;
    const char* extra;  // appended to the scenario
    int results;
};

const SlowCase kSlowCases[] = {
    {"TQ41", "tq41.sim", kLongResult, 3},  // structure, then results with split lines
    {"TQ71", "tq71.sim", "", 6},           // results, lines up to 39 characters
    {"TQ75", "tq75.sim", "", 0},           // ";" arguments, coding versions, named structure
    {"TQ42", "tq42.sim", "", 2},           // binary installation records
    {"TQ60", "tq60.sim", "", 2},           // binary high-voltage records, a graph text
    {"CV61", "cv61.sim", "", 3},           // single letters, the 362-byte identification
};

std::string scenarioText(const SlowCase& c) {
    return readFile(scenarioPath(c.scenario)) + c.extra;
}

TEST(SlowLine, EveryFamilyGivesTheSameDocumentAsOnAFastLine) {
    for (const SlowCase& c : kSlowCases) {
        DownloadBench fast(c.model, scenarioText(c), 115200);
        DownloadResult reference = fast.run();
        ASSERT_EQ(reference.outcome.status, DownloadStatus::Complete) << c.model;
        if (c.results > 0) {
            EXPECT_EQ(fast.results(), c.results) << c.model;
        }
        // The slow rates, and the slowest with a tester that takes 0.8 s over every answer
        // (on a fast line that is inside the reply window; the line's own time is extra).
        for (auto [baud, fault] :
             {std::pair<int, std::string>{300, ""}, {600, ""}, {300, "fault late:800\n"}}) {
            SCOPED_TRACE(std::string(c.model) + " at " + std::to_string(baud) + " baud " + fault);
            DownloadBench slow(c.model, fault + scenarioText(c), baud);
            DownloadResult r = slow.run();
            ASSERT_FALSE(slow.hung);
            EXPECT_EQ(r.outcome.status, DownloadStatus::Complete)
                << downloadStatusName(r.outcome.status);
            EXPECT_EQ(slow.messages(), fast.messages());
            EXPECT_EQ(slow.results(), fast.results());
            EXPECT_EQ(slow.savedText(), fast.savedText());
        }
    }
}

// The same through the command-line program, the real serial port and the simulator,
// which sends no faster than the rate allows. The downloads run side by side: each waits
// on its line most of the time.
TEST(SlowLine, CommandLineDownloadsOnAPseudoTerminalMatchTheFastLine) {
    struct Run {
        std::string name;
        std::unique_ptr<Simulator> sim;
        std::unique_ptr<BackgroundRun> cli;
        RunResult result;
    };
    pelvoro::testing::TempDir dir;
    std::vector<Run> runs;
    // One wave per rate (six downloads side by side, not eighteen): on a loaded machine a
    // starved simulator would fall silent longer than a tester may.
    for (int baud : {4800, 300, 600}) {
        const std::size_t waveStart = runs.size();
        for (const SlowCase& c : kSlowCases) {
            Run run;
            run.name = std::string(c.model) + "_" + std::to_string(baud);
            const std::string scenario = dir.file(run.name + ".sim");
            std::ofstream(scenario, std::ios::binary) << scenarioText(c);
            std::vector<std::string> simArgs = {"--scenario", scenario};
            // The reference: the simulator sends as fast as the pseudo terminal takes it.
            if (baud != 4800) simArgs.insert(simArgs.end(), {"--baud", std::to_string(baud)});
            run.sim = std::make_unique<Simulator>(simArgs);
            run.cli = std::make_unique<BackgroundRun>(
                "pelvoro-cli",
                std::vector<std::string>{"download", "--model", c.model, "--device",
                                         run.sim->device(), "--baud", std::to_string(baud), "-o",
                                         dir.file(run.name + ".TMV")},
                std::vector<std::string>{"XDG_CONFIG_HOME=" + dir.path()});
            runs.push_back(std::move(run));
        }
        for (std::size_t i = waveStart; i < runs.size(); ++i)
            runs[i].result = runs[i].cli->wait(milliseconds(240000));
    }
    const std::size_t models = std::size(kSlowCases);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run& run = runs[i];
        const Run& reference = runs[i % models];
        SCOPED_TRACE(run.name);
        EXPECT_FALSE(run.result.timedOut);
        EXPECT_EQ(run.result.exitCode, 0) << run.result.err;
        EXPECT_EQ(run.result.err, reference.result.err);
        ASSERT_TRUE(std::filesystem::exists(dir.file(run.name + ".TMV")));
        EXPECT_EQ(readFile(dir.file(run.name + ".TMV")),
                  readFile(dir.file(reference.name + ".TMV")));
    }
}

}  // namespace
}  // namespace pelvoro::e2e
