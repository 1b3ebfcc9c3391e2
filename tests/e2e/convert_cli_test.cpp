// pelvoro-cli convert: documents of any version and transcripts in, version 20 out.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

namespace fs = std::filesystem;

std::string sourceFile(const std::string& relative) {
    return (fs::path(PELVORO_SOURCE_DATA_DIR).parent_path() / relative).string();
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ConvertCli : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("pelvoro-convert-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string at(const std::string& name) const { return (folder / name).string(); }
    static RunResult convert(const std::string& in, const std::string& out) {
        return runProgram("pelvoro-cli", {"--language", "English", "convert", in, out},
                          milliseconds(20000));
    }
    fs::path folder;
};

TEST_F(ConvertCli, OlderVersionsAndTranscriptsBecomeVersion20) {
    struct Case {
        std::string input, expected;
    } cases[] = {
        {"tests/files/data/v1_sample.TMV", "tests/files/data/v1_sample.expected.TMV"},
        {"tests/files/data/v15_graph.TMV", "tests/files/data/v15_graph.expected.TMV"},
        {"tests/files/data/v20_sample.TMV", "tests/files/data/v20_sample.TMV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        RunResult r = convert(sourceFile(c.input), at("out.TMV"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(bytesOf(at("out.TMV")), bytesOf(sourceFile(c.expected)));
    }
    // A transcript (by its extension) is imported; converting the result again changes
    // nothing.
    fs::copy_file(sourceFile("tests/files/data/sample.KRD"), at("capture.krd"));
    RunResult r = convert(at("capture.krd"), at("capture.TMV"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string once = bytesOf(at("capture.TMV"));
    EXPECT_NE(once.find("Name: Loop impedance\r\n"), std::string::npos);
    EXPECT_NE(once.find("8: First Second\r\n"), std::string::npos);
    ASSERT_EQ(convert(at("capture.TMV"), at("again.TMV")).exitCode, 0);
    EXPECT_EQ(bytesOf(at("again.TMV")), once);
}

TEST_F(ConvertCli, FailuresLeaveTheOutputAlone) {
    std::ofstream(at("old.TMV"), std::ios::binary) << "previous";
    std::string bad = bytesOf(sourceFile("tests/files/data/v20_sample.TMV"));
    bad.replace(bad.find("Type: 5"), 7, "Type: x");
    std::ofstream(at("bad.TMV"), std::ios::binary) << bad;

    RunResult r = convert(at("bad.TMV"), at("old.TMV"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("'x' is not a valid integer value"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Line "), std::string::npos);
    r = convert(at("missing.TMV"), at("old.TMV"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(bytesOf(at("old.TMV")), "previous");
    // An output folder that does not exist.
    r = convert(sourceFile("tests/files/data/v20_sample.TMV"), at("no/such/folder.TMV"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(convert(at("bad.TMV"), "").exitCode, 1);
    EXPECT_EQ(runProgram("pelvoro-cli", {"convert", "only-one"}).exitCode, 2);

    // What is not a document is refused and nothing is written; a read-only output stays.
    std::ofstream(at("README"), std::ios::binary) << "# Notes\nnot a document\n";
    fs::copy_file(sourceFile("tests/files/data/sample.KRD"), at("capture.Krd"));
    for (const char* in : {"README", "capture.Krd"}) {
        r = convert(at(in), at("fresh.TMV"));
        EXPECT_EQ(r.exitCode, 1) << in;
        EXPECT_NE(r.err.find("not a document"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(at("fresh.TMV"))) << in;
    }
    // A transcript cut inside a result record is read only in part: nothing is written.
    std::string cut = bytesOf(sourceFile("tests/files/data/sample.KRD"));
    cut.resize(cut.find("F;10;0;1;2.5;") + 9);
    std::ofstream(at("cut.KRD"), std::ios::binary) << cut;
    r = convert(at("cut.KRD"), at("fresh.TMV"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("read only in part"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(at("fresh.TMV")));
    fs::permissions(at("old.TMV"), fs::perms::owner_read | fs::perms::group_read);
    r = convert(sourceFile("tests/files/data/v20_sample.TMV"), at("old.TMV"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ermission"), std::string::npos) << r.err;
    EXPECT_EQ(bytesOf(at("old.TMV")), "previous");
}

// A document that lost its end or a section marker is read only in part: every command
// that reads a document says so, fails, and writes nothing.
TEST_F(ConvertCli, DamagedDocumentsFailEveryCommandThatReadsThem) {
    const std::string whole = bytesOf(sourceFile("tests/files/data/v20_sample.TMV"));
    std::string lost = whole;
    lost.erase(lost.find("$StructureItems%\r\n"), 18);
    const std::pair<const char*, std::string> files[] = {
        {"cut.TMV", whole.substr(0, whole.rfind("----------"))},
        {"lost.TMV", lost},
    };
    for (const auto& [name, bytes] : files) {
        std::ofstream(at(name), std::ios::binary) << bytes;
        const std::vector<std::vector<std::string>> commands = {
            {"convert", at(name), at("out.pdf")},
            {"export", at(name), at("out.pdf")},
            {"report", at(name), at("out.pdf")},
            {"structure", at(name), at("out.pdf")},
            {"table", at(name)},
            {"measurements", at(name), "--item", "1"},
            {"graph", at(name), "--item", "1", "-o", at("out.pdf")},
        };
        for (std::vector<std::string> args : commands) {
            SCOPED_TRACE(std::string(name) + " " + args[0]);
            args.insert(args.begin(), {"--language", "English"});
            RunResult r = runProgram("pelvoro-cli", args, milliseconds(20000));
            EXPECT_NE(r.exitCode, 0);
            EXPECT_NE(r.err.find("Line "), std::string::npos) << r.err;
            EXPECT_TRUE(r.out.empty()) << r.out;
            EXPECT_FALSE(fs::exists(at("out.pdf")));
        }
    }
}

TEST_F(ConvertCli, ConvertingKeepsTheMeasurementDates) {
    // Coded results keep the date lines written beside them.
    RunResult r = convert(sourceFile("data/Demo.TMV"), at("demo.TMV"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(bytesOf(at("demo.TMV")), bytesOf(sourceFile("data/Demo.TMV")));
}

}  // namespace
}  // namespace pelvoro::e2e
