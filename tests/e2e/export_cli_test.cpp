// pelvoro-cli export, measurements and graph.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim_harness.h"
#include "support/language_fixture.h"

namespace pelvoro::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kGolden = std::string(PELVORO_SOURCE_DATA_DIR) + "/../tests/e2e/golden/";
const std::string kSource = kGolden + "measurements.TMV";

RunResult cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--language", "English"});
    return runProgram("pelvoro-cli", args, milliseconds(30000));
}

TEST(ExportCli, EachLevelAndFormatMatchesItsGoldenFileByteForByte) {
    pelvoro::testing::TempDir dir;
    struct Case {
        std::vector<std::string> options;
        const char* golden;
    } cases[] = {
        {{}, "export_full_tab_crlf.txt"},
        {{"--level", "medium"}, "export_medium_tab_crlf.txt"},
        {{"--level", "low"}, "export_low_tab_crlf.txt"},
        {{"--delimiter", "semicolon", "--eol", "lf"}, "export_full_semicolon_lf.txt"},
        {{"--level", "low", "--eol", "cr"}, "export_low_tab_cr.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        std::vector<std::string> args = {"export", kSource, dir.file("out.txt")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        RunResult r = cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readFile(dir.file("out.txt")), readFile(kGolden + c.golden));
    }
}

// Fields as a spreadsheet reads delimited text: quoted fields may hold the delimiter,
// doubled quotes and line breaks.
std::vector<std::vector<std::string>> readDelimited(const std::string& text, char delimiter) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == delimiter || c == '\n') {
            rows.back().push_back(field);
            field.clear();
            wasQuoted = false;
            if (c == '\n') rows.emplace_back();
        } else {
            field += c;
        }
    }
    rows.back().push_back(field);
    return rows;
}

TEST(ExportCli, NamesHoldingTheDelimiterOrQuotesKeepTheirColumns) {
    pelvoro::testing::TempDir dir;
    dir.write("names.TMV",
              "Version: 20\r\n\r\n$InstrumentData%\r\n------\r\n\r\n$HeaderOperator%\r\n"
              "------\r\n\r\n$HeaderInstrData%\r\n------\r\n\r\n$ReportComments%\r\n------"
              "\r\n\r\n$StructureItems%\r\n"
              "ID: 1\r\nPID: -1\r\nBID: -1\r\nName: Hall; east\r\nType: 1\r\n----------1\r\n"
              "ID: 2\r\nPID: 1\r\nBID: -1\r\nName: Board \"A\"\r\nType: 31\r\n----------2\r\n"
              "ID: 3\r\nPID: 2\r\nBID: -1\r\nName: R1\r\nType: 23\r\n"
              "ResText: X#PR#L1Loop; L1-PE#AR#CGPASS\r\nResText: X#PR#L2Z: 0.4\r\n----------3\r\n");
    RunResult r = cli({"export", dir.file("names.TMV"), dir.file("out.txt"), "--delimiter",
                       "semicolon", "--eol", "lf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = readDelimited(readFile(dir.file("out.txt")), ';');
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows) EXPECT_EQ(row.size(), 2u) << row[0];
    EXPECT_EQ(rows[1][0], "1");
    EXPECT_EQ(rows[1][1], "Hall; east / Board \"A\"");
    EXPECT_EQ(rows[2][1], "Loop; L1-PE      PASS");
    EXPECT_EQ(rows[3][1], "  Z: 0.4");
    // With TAB between the columns the semicolons need no quotes.
    r = cli({"export", dir.file("names.TMV"), dir.file("tab.txt"), "--eol", "lf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(readFile(dir.file("tab.txt")).find("\tLoop; L1-PE"), std::string::npos);
}

TEST(ExportCli, EmptyDocumentGivesAnEmptyFileAndFailuresLeaveTheOldFile) {
    pelvoro::testing::TempDir dir;
    dir.write("empty.TMV",
              "Version: 20\r\n\r\n$InstrumentData%\r\n------\r\n\r\n$HeaderOperator%\r\n------\r\n"
              "\r\n$HeaderInstrData%\r\n------\r\n\r\n$ReportComments%\r\n------\r\n\r\n"
              "$StructureItems%\r\n");
    dir.write("out.txt", "older export");
    RunResult r = cli({"export", dir.file("empty.TMV"), dir.file("out.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir.file("out.txt")));
    EXPECT_EQ(fs::file_size(dir.file("out.txt")), 0u);

    // A folder that does not exist: the reason is named, nothing is left behind.
    r = cli({"export", kSource, dir.file("none/out.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(dir.file("none/out.txt")), std::string::npos) << r.err;
    EXPECT_EQ(cli({"export", kSource, dir.file("out.txt"), "--eol", "crlf2"}).exitCode, 2);
    EXPECT_EQ(cli({"export", "/nonexistent.TMV", dir.file("out.txt")}).exitCode, 1);
}

TEST(MeasurementsCli, TwelveRowsOfTheTableOrARefusal) {
    RunResult r = cli({"measurements", kSource, "--item", "7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, readFile(kGolden + "measurements_item7.txt"));
    r = cli({"measurements", kSource, "--item", "8"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, readFile(kGolden + "measurements_item8.txt"));

    struct Refusal {
        const char* item;
        const char* message;
    } refusals[] = {
        {"9", "step-voltage"},  // the table is not offered for step-voltage tests
        {"4", "no measurement series"}, {"0", "no measurement series"},
        {"10", "no item 10"},           {"x", "no item x"},
    };
    for (const Refusal& f : refusals) {
        RunResult bad = cli({"measurements", kSource, "--item", f.item});
        EXPECT_NE(bad.exitCode, 0) << f.item;
        EXPECT_NE(bad.err.find(f.message), std::string::npos) << f.item << ": " << bad.err;
        EXPECT_EQ(bad.out, "") << f.item;
    }
}

TEST(GraphCli, DrawsEachSeriesKindAsPngAndPdf) {
    pelvoro::testing::TempDir dir;
    for (const char* item : {"7", "8", "9"}) {
        const std::string png = dir.file(std::string("graph") + item + ".png");
        RunResult r = cli({"graph", kSource, "--item", item, "-o", png});
        ASSERT_EQ(r.exitCode, 0) << item << ": " << r.err;
        const std::string bytes = readFile(png);
        ASSERT_GT(bytes.size(), 8u);
        EXPECT_EQ(bytes.substr(1, 3), "PNG");
        if (const char* keep = std::getenv("PELVORO_KEEP_PICTURES"))
            fs::copy_file(png, std::string(keep) + "/graph" + item + ".png",
                          fs::copy_options::overwrite_existing);
    }
    const std::string pdf = dir.file("graph9.pdf");
    RunResult r = cli({"graph", kSource, "--item", "9", "-o", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
    // The format the extension names; any other is refused before anything is written.
    r = cli({"graph", kSource, "--item", "7", "-o", dir.file("graph7.jpg")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(dir.file("graph7.jpg")).substr(0, 3), "\xFF\xD8\xFF");
    r = cli({"graph", kSource, "--item", "7", "-o", dir.file("graph7.bmp")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(fs::exists(dir.file("graph7.bmp")));
    RunResult none = cli({"graph", kSource, "--item", "4", "-o", dir.file("x.png")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_FALSE(fs::exists(dir.file("x.png")));
}

// Curves downloaded from a high-voltage tester keep their graph texts through the
// temporary file, the saved document and its reopening.
TEST(GraphCli, CurvesDownloadedFromTheTesterSurviveSaveAndReopen) {
    pelvoro::testing::TempDir dir;
    Simulator sim({"--scenario", scenarioPath("tq60_curves.sim")});
    const std::string doc = dir.file("curves.TMV");
    RunResult d = cli({"download", "--model", "TQ60", "--device", sim.device(), "-o", doc});
    ASSERT_EQ(d.exitCode, 0) << d.err;
    EXPECT_NE(readFile(doc).find("GraphString: 2;251205143000;"), std::string::npos);
    // The root, the object, then the three results: the same curves as the golden document.
    RunResult m = cli({"measurements", doc, "--item", "2"});
    ASSERT_EQ(m.exitCode, 0) << m.err;
    EXPECT_EQ(m.out, readFile(kGolden + "measurements_item7.txt"));
    m = cli({"measurements", doc, "--item", "3"});
    EXPECT_EQ(m.out, readFile(kGolden + "measurements_item8.txt"));
    EXPECT_NE(cli({"measurements", doc, "--item", "4"}).exitCode, 0);  // step voltage
    RunResult g = cli({"graph", doc, "--item", "4", "-o", dir.file("step.png")});
    EXPECT_EQ(g.exitCode, 0) << g.err;
    // Saved again (as File > Save does) and reopened: still there.
    ASSERT_EQ(cli({"convert", doc, dir.file("again.TMV")}).exitCode, 0);
    m = cli({"measurements", dir.file("again.TMV"), "--item", "2"});
    EXPECT_EQ(m.out, readFile(kGolden + "measurements_item7.txt"));
}

}  // namespace
}  // namespace pelvoro::e2e
