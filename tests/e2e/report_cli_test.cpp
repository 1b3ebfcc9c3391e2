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

// A document with an object, a block and `count` fuses with one result each.
std::string generatedDocument(int count) {
    std::string s =
        "Version: 20\r\n\r\n$InstrumentData%\r\n2: Tamvisto CV61\r\n3: CV61\r\n7: 777\r\n"
        "8: Maker\r\n------\r\n\r\n$HeaderOperator%\r\n1: Op One\r\n3: Site One\r\n"
        "5: Generated footer\r\n------\r\n\r\n$HeaderInstrData%\r\n------\r\n\r\n"
        "$ReportComments%\r\nComment line one\r\nComment line two\r\n------\r\n\r\n"
        "$StructureItems%\r\n"
        "ID: 1\r\nPID: -1\r\nBID: -1\r\nName: Plant\r\nType: 1\r\n----------1\r\n"
        "ID: 2\r\nPID: 1\r\nBID: -1\r\nName: Main block\r\nType: 2\r\n----------2\r\n";
    int id = 3, previousFuse = -1;
    char name[16];
    for (int i = 1; i <= count; ++i) {
        const int fuse = id++, result = id++;
        std::snprintf(name, sizeof name, "R%04d", i);
        s += "ID: " + std::to_string(fuse) + "\r\nPID: 2\r\nBID: " + std::to_string(previousFuse) +
             "\r\nName: F" + std::to_string(i) + "\r\nType: 5\r\n----------" +
             std::to_string(fuse) + "\r\n";
        s += "ID: " + std::to_string(result) + "\r\nPID: " + std::to_string(fuse) +
             "\r\nBID: -1\r\nName: " + name + "\r\nType: 23\r\nResText: X#PN#L1" + name +
             "\r\nResText: X#PR#L1" + name + " loop\r\nResText: X#PR#L2Z: 0." + std::to_string(i) +
             "#S258\r\nResText: X#PL#L3Lim: 1.44#S258\r\n"
             "ResText: X#PD05.12.2025  14:30\r\n----------" +
             std::to_string(result) + "\r\n";
        previousFuse = fuse;
    }
    return s;
}

void checkEveryPage(const std::vector<std::string>& pages) {
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].find("Measurement report"), std::string::npos) << "page " << i + 1;
        EXPECT_TRUE(
            std::regex_search(pages[i], std::regex("Page: +" + std::to_string(i + 1) + "\\b")))
            << "page " << i + 1 << ":\n"
            << pages[i];
        EXPECT_NE(pages[i].find("Results"), std::string::npos) << "page " << i + 1;
    }
}

TEST(ReportCli, GeneratedDocumentPrintsEveryRowInOrderAndCommentsLast) {
    const std::string doc = tempPath("gen.TMV"), pdf = tempPath("gen.pdf");
    std::ofstream(doc, std::ios::binary) << generatedDocument(300);
    for (const char* level : {"full", "low"}) {
        RunResult r = cli({"report", doc, pdf, "--level", level, "--date", "2026-03-04"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::vector<std::string> pages = pdfPages(pdf);
        ASSERT_GT(pages.size(), 3u) << level;
        EXPECT_EQ(r.out, std::to_string(pages.size()) + " pages\n");
        checkEveryPage(pages);
        EXPECT_NE(pages[0].find("Op One"), std::string::npos);
        EXPECT_NE(pages[0].find("Site One"), std::string::npos);
        EXPECT_EQ(pages[1].find("Op One"), std::string::npos);  // the title band once
        std::string all;
        for (const std::string& p : pages) all += p;
        size_t at = 0;
        char name[16];
        for (int i = 1; i <= 300; ++i) {
            std::snprintf(name, sizeof name, "R%04d loop", i);
            const size_t found = all.find(name, at);
            ASSERT_NE(found, std::string::npos) << level << ": " << name;
            at = found;
            if (std::string(level) == "full") {
                // The whole row is on the page where it starts.
                const std::string value = "Z: 0." + std::to_string(i) + "\xCE\xA9";
                EXPECT_NE(all.find(value, at), std::string::npos) << value;
            }
        }
        const size_t comments = all.find("Comments:");
        EXPECT_GT(comments, at);
        EXPECT_GT(all.find("Comment line two"), comments);
        EXPECT_NE(all.find("Generated footer"), std::string::npos);
        if (std::string(level) == "low") {
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
