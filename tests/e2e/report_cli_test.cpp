// pelvoro-cli report and structure: the light report and the structure print as PDF files,
// read back with pdftotext.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

const std::string kDemo = std::string(PELVORO_SOURCE_DATA_DIR) + "/Demo.TMV";

RunResult cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--language", "English"});
    return runProgram("pelvoro-cli", args, milliseconds(60000));
}

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "pelvoro-report-" + std::to_string(getpid()) + "-" + name;
}

// The pages of a PDF as text, laid out as printed.
std::vector<std::string> pdfPages(const std::string& pdf) {
    const std::string txt = pdf + ".txt";
    const std::string cmd = "pdftotext -layout '" + pdf + "' '" + txt + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::string all = readFile(txt);
    std::remove(txt.c_str());
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t ff; (ff = all.find('\f', start)) != std::string::npos; start = ff + 1)
        pages.push_back(all.substr(start, ff - start));
    return pages;
}

// Header texts as long as the header dialog takes them, and five comment lines, the
// fourth wider than the page.
const char* const kOperator1 = "Op One Maximilian Mustermann-Schmid";           // 36
const char* const kOperator2 = "Electrical Testing Services Nordhafen GmbH 9";  // 45
const char* const kSite1 = "Site One Hall 12 Nordhafen Harbour Q";              // 36
const char* const kSite2 = "Kaiser-Wilhelm-Strasse 1234, 20457 Hamburg DE";     // 45
const std::vector<std::string> kComments = {
    "Comment line one", "Comment line two: all sockets of the east wing were tested.",
    "Comment line three",
    "Comment line four is far too wide for the page: it goes on and on about the "
    "installation, the weather on the day, the state of the distribution boards and "
    "the recommendations for the next periodic inspection in four years",
    "Comment line five"};

// A document with an object, a block and `count` fuses with one result each; every
// 25th result failed, the others passed.
std::string generatedDocument(int count) {
    std::string s =
        "Version: 20\r\n\r\n$InstrumentData%\r\n2: Tamvisto CV61\r\n3: CV61\r\n7: 777\r\n"
        "8: Maker\r\n------\r\n\r\n$HeaderOperator%\r\n1: " +
        std::string(kOperator1) + "\r\n2: " + kOperator2 + "\r\n3: " + kSite1 + "\r\n4: " + kSite2 +
        "\r\n5: Generated footer\r\n------\r\n\r\n$HeaderInstrData%\r\n------\r\n\r\n"
        "$ReportComments%\r\n";
    for (const std::string& c : kComments) s += c + "\r\n";
    s += "------\r\n\r\n$StructureItems%\r\n"
         "ID: 1\r\nPID: -1\r\nBID: -1\r\nName: Plant Nordhafen production hall with a long "
         "name\r\nType: 1\r\n----------1\r\n"
         "ID: 2\r\nPID: 1\r\nBID: -1\r\nName: Main distribution block of the east wing, "
         "building C, floor 3\r\nType: 2\r\n----------2\r\n";
    int id = 3, previousFuse = -1;
    char name[16];
    for (int i = 1; i <= count; ++i) {
        const int fuse = id++, result = id++;
        std::snprintf(name, sizeof name, "R%04d", i);
        s += "ID: " + std::to_string(fuse) + "\r\nPID: 2\r\nBID: " + std::to_string(previousFuse) +
             "\r\nName: F" + std::to_string(i) +
             " residual current breaker of the workshop sockets\r\nType: 5\r\n----------" +
             std::to_string(fuse) + "\r\n";
        s += "ID: " + std::to_string(result) + "\r\nPID: " + std::to_string(fuse) +
             "\r\nBID: -1\r\nName: " + name + "\r\nType: 23\r\nResText: X#PN#L1" + name +
             "\r\nResText: X#PR#L1" + name + " loop" + (i % 25 == 0 ? "#AR#K020" : "#AR#K023") +
             "\r\nResText: X#PR#L2Z: 0." + std::to_string(i) +
             "#S258\r\nResText: X#PL#L3Lim: 1.44#S258\r\n"
             "ResText: X#PD05.12.2025  14:30\r\n----------" +
             std::to_string(result) + "\r\n";
        previousFuse = fuse;
    }
    return s;
}

void checkEveryPage(const std::vector<std::string>& pages, bool rowsOnEveryPage = true) {
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].find("Measurement report"), std::string::npos) << "page " << i + 1;
        EXPECT_NE(
            pages[i].find("Page " + std::to_string(i + 1) + " of " + std::to_string(pages.size())),
            std::string::npos)
            << "page " << i + 1 << ":\n"
            << pages[i];
        if (rowsOnEveryPage || i == 0) {
            EXPECT_NE(pages[i].find("Results"), std::string::npos) << "page " << i + 1;
        }
    }
}

// The words of a text, whatever the line breaks and blanks between them.
std::string words(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\f') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

TEST(ReportCli, GeneratedDocumentPrintsEveryTextOnA4AndLetter) {
    const std::string doc = tempPath("gen.TMV"), pdf = tempPath("gen.pdf");
    std::ofstream(doc, std::ios::binary) << generatedDocument(300);
    struct Case {
        const char* level;
        const char* paper;
    } cases[] = {{"full", "a4"}, {"full", "letter"}, {"low", "a4"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " " + c.paper);
        RunResult r = cli(
            {"report", doc, pdf, "--level", c.level, "--date", "2026-03-04", "--paper", c.paper});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        // The comment line too wide is named, and printed all the same.
        EXPECT_NE(r.err.find("Line 4: \"Comment line four"), std::string::npos) << r.err;
        const std::vector<std::string> pages = pdfPages(pdf);
        ASSERT_GT(pages.size(), 3u);
        EXPECT_EQ(r.out, std::to_string(pages.size()) + " pages\n");
        checkEveryPage(pages, false);
        const std::string first = words(pages[0]);
        for (const char* text : {kOperator1, kOperator2, kSite1, kSite2, "4 Mar 2026"})
            EXPECT_NE(first.find(text), std::string::npos) << text << "\n" << pages[0];
        EXPECT_EQ(pages[1].find("Op One"), std::string::npos);  // the title band once
        // The overview: 12 of 300 failed, each listed by its number.
        EXPECT_NE(first.find("Results overview Passed: 288 Failed: 12 No verdict: 0"),
                  std::string::npos)
            << pages[0];
        std::string all;
        for (const std::string& p : pages) all += p;
        for (int n = 25; n <= 300; n += 25)
            EXPECT_TRUE(std::regex_search(
                all, std::regex("\\n *" + std::to_string(n) + " +Plant Nordhafen")))
                << n;
        size_t at = all.find("Failed results:");
        char name[16];
        for (int i = 1; i <= 300; ++i) {
            std::snprintf(name, sizeof name, "R%04d loop", i);
            const size_t found = all.find(name, at);
            ASSERT_NE(found, std::string::npos) << name;
            at = found;
            if (std::string(c.level) == "full") {
                // The whole row is on the page where it starts.
                const std::string value = "Z: 0." + std::to_string(i) + "\xCE\xA9";
                EXPECT_NE(all.find(value, at), std::string::npos) << value;
            }
        }
        const std::string rest = words(all.substr(at));
        size_t comments = rest.find("Comments:");
        EXPECT_NE(comments, std::string::npos);
        for (const std::string& comment : kComments) {
            const size_t found = rest.find(words(comment), comments);
            EXPECT_NE(found, std::string::npos) << comment;
            comments = found;
        }
        EXPECT_NE(rest.find("Signature of the person who tested", comments), std::string::npos);
        EXPECT_NE(all.find("Generated footer"), std::string::npos);
        if (std::string(c.level) == "low") {
            EXPECT_EQ(all.find("Lim:"), std::string::npos);
        }
    }
    std::remove(doc.c_str());
    std::remove(pdf.c_str());
}

TEST(ReportCli, DemoDocumentReportAndStructure) {
    const std::string pdf = tempPath("demo.pdf");
    RunResult r = cli({"report", kDemo, pdf, "--date", "2026-01-02"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 1u);
    checkEveryPage(pages);
    EXPECT_NE(pages[0].find("A. Tester"), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("24051234"), std::string::npos);
    EXPECT_NE(pages.back().find("All results within limits"), std::string::npos);

    RunResult s = cli({"structure", kDemo, pdf});
    ASSERT_EQ(s.exitCode, 0) << s.err;
    pages = pdfPages(pdf);
    EXPECT_EQ(s.out, std::to_string(pages.size()) + " pages\n");
    ASSERT_GE(pages.size(), 1u);
    EXPECT_NE(pages[0].find("(Workshop)"), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("Main board"), std::string::npos) << pages[0];
    std::remove(pdf.c_str());
}

TEST(ReportCli, FailuresLeaveNoFile) {
    const std::string pdf = tempPath("none.pdf");
    for (const char* command : {"report", "structure"}) {
        RunResult missing = cli({command, "/nonexistent/none.TMV", pdf});
        EXPECT_EQ(missing.exitCode, 1) << command;
        EXPECT_NE(missing.err.find("no such file"), std::string::npos);
        RunResult unwritable = cli({command, kDemo, "/nonexistent/dir/out.pdf"});
        EXPECT_EQ(unwritable.exitCode, 1) << command;
        EXPECT_NE(unwritable.err.find("cannot be written"), std::string::npos) << unwritable.err;
        EXPECT_FALSE(std::filesystem::exists(pdf));
    }
    EXPECT_EQ(cli({"report", kDemo, pdf, "--date", "2026-13-40"}).exitCode, 2);
    EXPECT_EQ(cli({"report", kDemo, pdf, "--level", "huge"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace pelvoro::e2e
