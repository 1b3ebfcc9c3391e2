// pelvoro-cli table: the results table of a document's root as text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

const std::string kDemo = std::string(PELVORO_SOURCE_DATA_DIR) + "/Demo.TMV";
const std::string kGolden = std::string(PELVORO_SOURCE_DATA_DIR) + "/../tests/e2e/golden/";

RunResult table(std::vector<std::string> args) {
    args.insert(args.begin(), {"--language", "English", "table"});
    return runProgram("pelvoro-cli", args, milliseconds(20000));
}

TEST(TableCli, DemoDocumentAtEachLevelMatchesItsGoldenText) {
    for (const char* level : {"full", "medium", "low"}) {
        RunResult r = table({kDemo, "--level", level});
        EXPECT_EQ(r.exitCode, 0) << level << ": " << r.err;
        EXPECT_EQ(r.out, readFile(kGolden + "table_demo_" + level + ".txt")) << level;
    }
}

TEST(TableCli, ResultsAreGeneratedFromTheCodedStrings) {
    RunResult r = table({kDemo});
    // Lines that the file holds only as coded results.
    EXPECT_NE(r.out.find("\n\tHigh voltage\n\t  I: 1.52mA\n"), std::string::npos) << r.out;
    // Without SUB Items the root shows nothing: every result is further down.
    RunResult none = table({kDemo, "--no-sub"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
}

TEST(TableCli, BadArgumentsAndMissingFiles) {
    EXPECT_EQ(table({kDemo, "--level", "huge"}).exitCode, 2);
    EXPECT_EQ(table({}).exitCode, 2);
    RunResult missing = table({"/nonexistent/none.TMV"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("no such file"), std::string::npos);
}

}  // namespace
}  // namespace pelvoro::e2e
