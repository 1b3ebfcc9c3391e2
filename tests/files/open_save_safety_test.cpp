// Open and Save never destroy a file: what is not a document is not opened, and saving
// replaces only what the user may replace, through a temporary file of its own.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "document/item_types.h"
#include "files/document_file.h"
#include "files/file_commands.h"
#include "document/results_hook.h"
#include "files/safe_save.h"
#include "files_test_support.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::crlf;
using testing::filesTestData;
using testing::readBytes;

class NullHost : public DocumentHost {
  public:
    StructureDocument* createDocumentWindow(std::unique_ptr<StructureDocument> document,
                                            const std::string&, const std::string&) override {
        windows.push_back(std::move(document));
        return windows.back().get();
    }
    StructureDocument* activeDocument() override {
        return windows.empty() ? nullptr : windows.back().get();
    }
    void documentLoaded(StructureDocument&) override {}
    void documentRenamed(StructureDocument&) override {}
    void refreshCommandState() override {}
    int nextImportNumber() override { return ++imports; }
    std::vector<std::unique_ptr<StructureDocument>> windows;
    int imports = 0;
};

const char* kLanguage =
    "[Language]\n"
    "AllItems_15=All items\n"
    "UnKnown_15=Unknown\n"
    "msgFileNotExist_35=File does not exist!\n"
    "msgWriteError_35=Write error!\n"
    "msgNotDocument_50=Not a document:\n"
    "msgTranscriptHint_70=Transcript?\n"
    "msgReadPartly_50=Read in part.\n"
    "msgSaveAsHint_70=Use Save As.\n";

class OpenSaveSafetyTest : public ::testing::Test {
  protected:
    OpenSaveSafetyTest() : commands(host, prompts, recent, environment()) {}
    FileEnvironment environment() {
        FileEnvironment env;
        env.transferFolder = dir.file("Results");
        env.documentFilter = "Tamvisto Files (*.TMV)|*.TMV";
        env.defaultExtension = "PLV";
        env.importFilter = "Files (*.KRD)|*.KRD";
        env.openDirectory = dir.path();
        return env;
    }
    static fs::perms modeOf(const std::string& p) { return fs::status(p).permissions(); }
    std::vector<std::string> folderEntries(const std::string& folder) {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }

    testing::ScopedLanguage language{kLanguage};
    testing::TempDir dir;
    NullHost host;
    testing::ScriptedPrompts prompts;
    RecentFiles recent;
    FileCommands commands;
};

TEST_F(OpenSaveSafetyTest, SavingReplacesOnlyWhatItMay) {
    const std::string sample = readBytes(filesTestData("v20_sample.TMV"));
    StructureDocument doc;
    doc.addItem(doc.root(), ItemType::Object, "Saved");
    const std::string fresh = writeDocumentToString(doc);
    const fs::perms ro = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

    struct Case {
        const char* name;
        // Prepares the folder and returns the path to save to.
        std::function<std::string(const std::string& folder)> prepare;
        bool saved;
        const char* reason;  // part of the message when the save fails
    } cases[] = {
        {"new file", [&](const std::string& f) { return f + "/doc.TMV"; }, true, ""},
        {"writable file keeps its mode",
         [&](const std::string& f) {
             dir.write(fs::path(f).filename().string() + "/doc.TMV", sample);
             fs::permissions(f + "/doc.TMV", fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read);
             return f + "/doc.TMV";
         },
         true, ""},
        {"read-only file",
         [&](const std::string& f) {
             dir.write(fs::path(f).filename().string() + "/doc.TMV", sample);
             fs::permissions(f + "/doc.TMV", ro);
             return f + "/doc.TMV";
         },
         false, "Permission denied"},
        {"read-only folder",
         [&](const std::string& f) {
             dir.write(fs::path(f).filename().string() + "/doc.TMV", sample);
             fs::permissions(f, fs::perms::owner_read | fs::perms::owner_exec);
             return f + "/doc.TMV";
         },
         false, "Permission denied"},
        {"symbolic link is written through",
         [&](const std::string& f) {
             fs::create_directories(f + "/real");
             dir.write(fs::path(f).filename().string() + "/real/doc.TMV", sample);
             fs::create_symlink("real/doc.TMV", f + "/link.TMV");
             return f + "/link.TMV";
         },
         true, ""},
        {"stray files with temporary-looking names stay",
         [&](const std::string& f) {
             const std::string name = fs::path(f).filename().string();
             dir.write(name + "/doc.TMV.saving~", "stray");
             dir.write(name + "/.doc.TMV.aaaaaaaa~", "stray");
             return f + "/doc.TMV";
         },
         true, ""},
        {"missing folder", [&](const std::string& f) { return f + "/missing/doc.TMV"; }, false,
         "No such file or directory"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = dir.file("case" + std::to_string(++n));
        fs::create_directories(folder);
        const std::string path = c.prepare(folder);
        const std::string target = resolveLinkTarget(path);
        const bool existed = fs::exists(target);
        const std::string before = existed ? readBytes(target) : "";
        const fs::perms modeBefore = existed ? modeOf(target) : fs::perms::none;
        std::vector<std::string> entriesBefore = folderEntries(folder);
        if (!existed && c.saved) entriesBefore.push_back(fs::path(path).filename());
        std::sort(entriesBefore.begin(), entriesBefore.end());
        prompts.shown.clear();
        doc.setModified();

        EXPECT_EQ(commands.saveTo(doc, path), c.saved);
        if (c.saved) {
            EXPECT_EQ(readBytes(target), fresh);
            EXPECT_FALSE(doc.Modified);
            EXPECT_TRUE(prompts.shown.empty());
            if (existed) {
                EXPECT_EQ(modeOf(target), modeBefore);
            }
        } else {
            EXPECT_TRUE(doc.Modified);
            ASSERT_EQ(prompts.shown.size(), 1u);
            const std::string& text = prompts.shown[0].text;
            EXPECT_EQ(text.rfind("Write error!\n" + path + ": ", 0), 0u) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            if (existed) {
                EXPECT_EQ(readBytes(target), before);
            }
        }
        // No temporary file is left behind and no other file was touched.
        if (fs::exists(folder)) {
            EXPECT_EQ(folderEntries(folder), entriesBefore);
        }
        if (fs::is_symlink(path)) {
            EXPECT_EQ(fs::read_symlink(path), "real/doc.TMV");
        }
        for (const char* stray : {"/doc.TMV.saving~", "/.doc.TMV.aaaaaaaa~"})
            if (fs::exists(folder + stray)) {
                EXPECT_EQ(readBytes(folder + stray), "stray");
            }
        fs::permissions(folder, fs::perms::owner_all);
    }
}

TEST_F(OpenSaveSafetyTest, OpenRefusesWhatIsNotADocument) {
    static const char kBinary[] =
        "\x7f"
        "ELF\0\1\2\3------\r\n\xff\xfe";
    const std::string sample = readBytes(filesTestData("v20_sample.TMV"));
    struct Case {
        const char* name;
        std::string bytes;
        bool opens;
        const char* hint;  // a second line of the refusal
    } cases[] = {
        {"README.TMV", "# Project\r\nSome text.\r\n------\r\n", false, ""},
        {"binary.TMV", std::string(kBinary, sizeof kBinary - 1), false, ""},
        {"empty.TMV", "", false, ""},
        {"capture.Krd", readBytes(filesTestData("sample.KRD")), false, "Transcript?"},
        {"truncated.TMV", sample.substr(0, sample.find("ID: 4")), true, ""},
        {"version1.TMV",
         crlf({"$HeaderOperator%", "Op", "------", "", "$HeaderInstrData%", "------", "",
               "$StructureItems%", "ID: 1", "PID: -1", "BID: -1", "Name: Old", "Type: 1",
               "----------1"}),
         true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, c.bytes);
        prompts.shown.clear();
        const size_t windows = host.windows.size();
        const int recents = recent.size();
        StructureDocument* doc = commands.open(dir.file(c.name));
        if (c.opens) {
            ASSERT_NE(doc, nullptr);
            EXPECT_TRUE(doc->HasFile);
            EXPECT_GT(doc->root().childCount(), 0);
            EXPECT_TRUE(prompts.shown.empty());
        } else {
            EXPECT_EQ(doc, nullptr);
            EXPECT_EQ(host.windows.size(), windows);
            EXPECT_EQ(recent.size(), recents);
            ASSERT_EQ(prompts.shown.size(), 1u);
            std::string expected = "Not a document:\n" + dir.file(c.name);
            if (*c.hint) expected += std::string("\n") + c.hint;
            EXPECT_EQ(prompts.shown[0].text, expected);
        }
        EXPECT_EQ(readBytes(dir.file(c.name)), c.bytes);
    }
    // A missing file is named too.
    prompts.shown.clear();
    EXPECT_EQ(commands.open(dir.file("none.TMV")), nullptr);
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"File does not exist!\n" + dir.file("none.TMV")});
}

TEST_F(OpenSaveSafetyTest, DamagedFileSaysSoAndSaveAsStartsAtIt) {
    std::string bytes = readBytes(filesTestData("v20_sample.TMV"));
    bytes.replace(bytes.find("PID: 5"), 6, "PID: x");
    fs::create_directories(dir.file("work"));
    dir.write("work/bad.TMV", bytes);
    const std::string path = dir.file("work/bad.TMV");
    StructureDocument* doc = commands.open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(prompts.shown.size(), 1u);
    const std::string& text = prompts.shown[0].text;
    EXPECT_EQ(text.rfind("Read in part.\n" + path + "\nLine ", 0), 0u) << text;
    EXPECT_NE(text.find("'x' is not a valid integer value\nUse Save As."), std::string::npos)
        << text;
    // Save asks for a name, in the file's folder with its name; cancelling writes nothing.
    prompts.fileChoices.push_back(std::nullopt);
    EXPECT_FALSE(commands.save(*doc));
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(fs::path(prompts.fileRequests[0].directory), fs::path(dir.file("work/")));
    EXPECT_EQ(prompts.fileRequests[0].fileName, "bad.TMV");
    EXPECT_EQ(readBytes(path), bytes);
}

TEST_F(OpenSaveSafetyTest, OpenDialogOffersDocumentsTranscriptsAndAllFiles) {
    EXPECT_EQ(openDialogFilter(environment()),
              "Tamvisto Files (*.TMV *.PLV)|*.TMV;*.PLV|** (*.KRD)|*.KRD|** (*)|*");
}

}  // namespace
}  // namespace pelvoro
