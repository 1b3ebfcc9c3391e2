#include "files/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/item_types.h"
#include "files/document_file.h"
#include "files/transfer_folder.h"
#include "files_test_support.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::filesTestData;
using testing::readBytes;
using testing::shape;

class FakeHost : public DocumentHost {
  public:
    StructureDocument* createDocumentWindow(std::unique_ptr<StructureDocument> document,
                                            const std::string& fileName,
                                            const std::string& prefix) override {
        windows.push_back({std::move(document), fileName, prefix});
        return windows.back().document.get();
    }
    StructureDocument* activeDocument() override {
        return windows.empty() ? nullptr : windows.back().document.get();
    }
    void documentLoaded(StructureDocument& doc) override {
        loaded.push_back(&doc);
        loadingWhenShown = doc.Loading;
    }
    void documentRenamed(StructureDocument& doc) override { renamed.push_back(doc.Caption); }
    void refreshCommandState() override { ++refreshes; }
    int nextImportNumber() override { return ++imports; }
    void showInstrumentData(const TInstrumentData& d) override {
        instrumentNames.push_back(d.name());
    }

    struct Window {
        std::unique_ptr<StructureDocument> document;
        std::string fileName, prefix;
    };
    std::vector<Window> windows;
    std::vector<StructureDocument*> loaded;
    std::vector<std::string> renamed, instrumentNames;
    bool loadingWhenShown = false;
    int refreshes = 0, imports = 0;
};

class FileCommandsTest : public ::testing::Test {
  protected:
    FileCommandsTest() : commands(host, prompts, recent, environment()) {}

    FileEnvironment environment() {
        FileEnvironment env;
        env.transferFolder = dir.file("Results");
        env.documentFilter = "Tamvisto Files (*.TMV)|*.TMV";
        env.defaultExtension = "PLV";
        env.openDirectory = dir.path();
        fs::create_directories(env.transferFolder);
        return env;
    }
    std::string sample() {
        std::string p = dir.file("sample.TMV");
        fs::copy_file(filesTestData("v20_sample.TMV"), p, fs::copy_options::overwrite_existing);
        return p;
    }

    testing::ScopedLanguage language{testing::kFilesLanguage};
    testing::TempDir dir;
    FakeHost host;
    testing::ScriptedPrompts prompts;
    RecentFiles recent;
    FileCommands commands;
};

TEST_F(FileCommandsTest, OpenLoadsTheFileIntoANewWindow) {
    std::string path = sample();
    StructureDocument* doc = commands.open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FilePath, path);
    EXPECT_EQ(doc->Caption, "sample.TMV");
    EXPECT_TRUE(doc->HasFile);
    EXPECT_FALSE(doc->Loading);
    EXPECT_FALSE(doc->Modified);
    EXPECT_TRUE(host.loadingWhenShown);
    EXPECT_EQ(shape(doc->root()), "Object 1(Block 1(Fuse 1(Result),Fuse 2(Old result))),Object 2");
    EXPECT_EQ(host.instrumentNames, std::vector<std::string>{"Tamvisto CV61"});
    EXPECT_EQ(recent.entries(), std::vector<std::string>{path});
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(prompts.busyDepth, 0);
}

TEST_F(FileCommandsTest, OpenOfAMissingFileSaysSoAndMakesNoWindow) {
    EXPECT_EQ(commands.open(dir.file("none.TMV")), nullptr);
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"File does not exist!\n" + dir.file("none.TMV")});
    EXPECT_TRUE(host.windows.empty());
    EXPECT_TRUE(recent.empty());
}

TEST_F(FileCommandsTest, DamagedFileStaysOpenWithWhatWasRead) {
    std::string bytes = readBytes(filesTestData("v20_sample.TMV"));
    bytes.replace(bytes.find("PID: 5"), 6, "PID: x");
    dir.write("bad.TMV", bytes);
    StructureDocument* doc = commands.open(dir.file("bad.TMV"));
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->Loading);
    EXPECT_FALSE(doc->HasFile);  // Save asks for a name instead of overwriting the damaged file
    dir.write("bad (2).TMV", "taken");
    EXPECT_EQ(doc->FilePath, dir.file("bad (2).TMV")) << "suggested when the window opened";
    EXPECT_EQ(freeNameBeside(dir.file("bad.TMV")), dir.file("bad (3).TMV"));
    EXPECT_EQ(freeNameBeside(dir.file("plain")), dir.file("plain (2)"));
    EXPECT_EQ(shape(doc->root()), "Object 1(Block 1(Fuse 1(Result),Fuse 2))");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("'x' is not a valid integer value"), std::string::npos);
    EXPECT_EQ(recent.size(), 1);
}

TEST_F(FileCommandsTest, RecentFilesTakeAPathOnceInARow) {
    std::string a = sample();
    std::string b = dir.file("b.TMV");
    fs::copy_file(a, b);
    commands.open(a);
    commands.open(a);
    commands.open(b);
    commands.open(a);
    EXPECT_EQ(recent.entries(), (std::vector<std::string>{a, b, a}));
    // The second newest entry opens b.
    StructureDocument* doc = commands.openRecent(2);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FilePath, b);
    EXPECT_EQ(commands.openRecent(9), nullptr);
}

TEST_F(FileCommandsTest, OpenImportsFilesWithTheTranscriptExtension) {
    fs::copy_file(filesTestData("sample.KRD"), dir.file("capture.KRD"));
    fs::copy_file(filesTestData("sample.KRD"), dir.file("mixed.Krd"));
    StructureDocument* doc = commands.open(dir.file("capture.KRD"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->ImportTag, "#Import1#");
    EXPECT_EQ(doc->Caption, "capture.KRD");  // through Open: the plain file name
    EXPECT_EQ(doc->FilePath, dir.file("capture.PLV"));
    EXPECT_FALSE(doc->HasFile);
    EXPECT_TRUE(doc->HasImportTemp);
    EXPECT_EQ(doc->InstrumentData.line(8), "First\rSecond");
    EXPECT_TRUE(fs::exists(dir.file("Results/#Import1#")));
    EXPECT_EQ(shape(doc->root()), "Object A(Board A(Odd type(Result),Loop impedance)),No id");

    // Mixed case is no transcript name, and the file is no document: it is not opened.
    const size_t windows = host.windows.size();
    EXPECT_EQ(commands.open(dir.file("mixed.Krd")), nullptr);
    EXPECT_EQ(host.windows.size(), windows);

    // The import command's own caption carries the tag.
    StructureDocument* second = commands.importTranscript(dir.file("capture.KRD"), false);
    EXPECT_EQ(second->Caption, "#Import2#     (capture.KRD)");
    EXPECT_EQ(host.windows.back().prefix, "#Import2#");
}

TEST_F(FileCommandsTest, AnImportThatLosesContentSaysSo) {
    testing::ScopedLanguage language(std::string(testing::kFilesLanguage) +
                                     "msgReadPartly_50=Read in part.\n"
                                     "msgRecordsCut_50=Cut records:\n"
                                     "msgPartMissing_35=Missing:\n"
                                     "InstrDataPart_35=instrument data\n"
                                     "msgStructRead_35=Structure:\nmsgResultsRead_35=results:\n"
                                     "msgOrphans_70=Under Unknown:\n");
    std::string cut = readBytes(filesTestData("sample.KRD"));
    cut.resize(cut.find("F;10;0;1;2.5;") + 9);
    std::ofstream(dir.file("cut.KRD"), std::ios::binary) << cut;
    StructureDocument* doc = commands.open(dir.file("cut.KRD"));
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->HasFile);  // Save goes through Save As
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"Read in part.\n" + dir.file("cut.KRD") +
                                       "\nCut records: 1\nStructure: 4, results: 1"});

    // Without instrument data the rest is read; a result whose owner is missing is said.
    prompts.shown.clear();
    std::ofstream(dir.file("bare.KRD"), std::ios::binary)
        << testing::crlf({">>MST<<", "1", "", "", "A", "01", ">+<", ">>>SER", ">>MRA<<", "R9",
                          "X#PNr", ">-<", ">+<"});
    doc = commands.open(dir.file("bare.KRD"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(shape(doc->root()), "Unknown(r),A");
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{
                  "Read in part.\n" + dir.file("bare.KRD") +
                      "\nMissing: instrument data (>>MWH<<)\nStructure: 1, results: 1",
                  dir.file("bare.KRD") + "\nUnder Unknown: 1"}));
}

TEST_F(FileCommandsTest, SavingAnImportProposesThePlvNameAndRemovesTheTemporaryFile) {
    fs::copy_file(filesTestData("sample.KRD"), dir.file("capture.KRD"));
    StructureDocument* doc = commands.open(dir.file("capture.KRD"));
    prompts.fileChoices.push_back(dir.file("capture.PLV"));
    EXPECT_TRUE(commands.save(*doc));
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].fileName, "capture.PLV");
    EXPECT_EQ(fs::path(prompts.fileRequests[0].directory), fs::path(dir.path() + "/"));
    EXPECT_EQ(prompts.fileRequests[0].defaultExtension, "PLV");
    EXPECT_FALSE(fs::exists(dir.file("Results/#Import1#")));
    EXPECT_FALSE(doc->HasImportTemp);
    EXPECT_TRUE(doc->HasFile);
    EXPECT_EQ(doc->Caption, "capture.PLV");
    EXPECT_EQ(host.renamed, std::vector<std::string>{"capture.PLV"});
    // What was saved reads back as the same document.
    StructureDocument back;
    ASSERT_TRUE(readDocumentFromBytes(back, readBytes(dir.file("capture.PLV"))).ok);
    EXPECT_EQ(writeDocumentToString(back), readBytes(dir.file("capture.PLV")));
}

TEST_F(FileCommandsTest, SaveAsAddsTheDefaultExtensionAndCancelIsRemembered) {
    StructureDocument* doc = commands.open(sample());
    prompts.fileChoices.push_back(std::nullopt);
    EXPECT_FALSE(commands.saveAs(*doc));
    EXPECT_TRUE(doc->SaveCancelled);
    prompts.fileChoices.push_back(dir.file("copy"));
    EXPECT_TRUE(commands.saveAs(*doc));
    EXPECT_EQ(doc->FilePath, dir.file("copy.PLV"));
    EXPECT_EQ(readBytes(dir.file("copy.PLV")), readBytes(filesTestData("v20_sample.TMV")));
    // Save now writes without asking.
    doc->setModified();
    EXPECT_TRUE(commands.save(*doc));
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_FALSE(doc->Modified);
}

TEST_F(FileCommandsTest, DialogsStartInTheFolderLastUsedForDocuments) {
    // As a user meets it: the documents folder at first, then wherever documents went.
    FileEnvironment env = environment();
    env.documentFolder = dir.file("Documents");
    std::vector<std::string> remembered;
    env.documentFolderUsed = [&](const std::string& f) { remembered.push_back(f); };
    commands.setEnvironment(env);
    fs::create_directories(dir.file("jobs"));
    fs::copy_file(filesTestData("v20_sample.TMV"), dir.file("jobs/site.TMV"));

    prompts.fileChoices.push_back(dir.file("jobs/site.TMV"));
    commands.openCommand();
    // A downloaded document has no folder of its own: Save As suggests its caption in the
    // folder last used, and both document extensions are listed.
    auto downloaded = std::make_unique<StructureDocument>();
    downloaded->Caption = downloaded->FilePath = "DownLoad1";
    prompts.fileChoices.push_back(dir.file("jobs/dl"));
    EXPECT_TRUE(commands.saveAs(*downloaded));
    prompts.fileChoices.push_back(std::nullopt);
    commands.openCommand();

    ASSERT_EQ(prompts.fileRequests.size(), 3u);
    EXPECT_EQ(prompts.fileRequests[0].directory, dir.file("Documents"));
    EXPECT_EQ(prompts.fileRequests[1].directory, dir.file("jobs"));
    EXPECT_EQ(prompts.fileRequests[1].fileName, "DownLoad1");
    EXPECT_EQ(prompts.fileRequests[1].filter, "Tamvisto Files (*.TMV *.PLV)|*.TMV;*.PLV");
    EXPECT_EQ(prompts.fileRequests[2].directory, dir.file("jobs"));
    EXPECT_TRUE(fs::exists(dir.file("jobs/dl.PLV")));
    EXPECT_EQ(remembered, (std::vector<std::string>{dir.file("jobs"), dir.file("jobs")}));
    // A name of the user's language for the brand's files.
    testing::ScopedLanguage german{"[Language]\r\nDocumentFiles_25=Tamvisto-Dateien\r\n"};
    EXPECT_EQ(documentDialogFilter(env), "Tamvisto-Dateien (*.TMV *.PLV)|*.TMV;*.PLV");
}

TEST_F(FileCommandsTest, FailedSaveKeepsNameTemporaryFilesAndModified) {
    fs::copy_file(filesTestData("sample.KRD"), dir.file("capture.KRD"));
    StructureDocument* doc = commands.open(dir.file("capture.KRD"));
    doc->DownloadTag = "#DownLoad1#";
    doc->HasDownloadTemp = true;
    dir.write("Results/#DownLoad1#", "x");
    doc->setModified();
    std::string before = doc->Caption;
    // The folder does not exist: the file cannot be created.
    EXPECT_FALSE(commands.saveTo(*doc, dir.file("missing/doc.PLV")));
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"Write error!\n" + dir.file("missing/doc.PLV") +
                                       ": No such file or directory"});
    EXPECT_EQ(doc->Caption, before);
    EXPECT_EQ(doc->FilePath, dir.file("capture.PLV"));
    EXPECT_FALSE(doc->HasFile);
    EXPECT_TRUE(doc->Modified);
    EXPECT_TRUE(doc->HasImportTemp);
    EXPECT_TRUE(fs::exists(dir.file("Results/#Import1#")));
    EXPECT_TRUE(fs::exists(dir.file("Results/#DownLoad1#")));
    EXPECT_TRUE(recent.empty() || recent.newest(1) != dir.file("missing/doc.PLV"));
}

TEST_F(FileCommandsTest, FailedRenameLeavesTheOldFileWhole) {
    std::string path = sample();
    StructureDocument* doc = commands.open(path);
    doc->deleteItem(*doc->root().child(0));
    // A folder in the way of the target: writing works, the rename over it fails.
    std::string blocked = dir.file("blocked.TMV");
    fs::create_directories(blocked + "/inside");
    EXPECT_FALSE(commands.saveTo(*doc, blocked));
    EXPECT_TRUE(doc->Modified);
    EXPECT_EQ(doc->FilePath, path);
    EXPECT_FALSE(fs::exists(blocked + ".saving~"));
    EXPECT_EQ(readBytes(path), readBytes(filesTestData("v20_sample.TMV")));
}

TEST_F(FileCommandsTest, CloseQuestion) {
    struct Case {
        const char* name;
        bool hasFile, modified;
        std::vector<Answer> answers;
        std::optional<std::string> saveChoice;  // Save As dialog result
        bool closes;
        std::vector<std::string> questions;
    } cases[] = {
        {"saved and unchanged closes silently", true, false, {}, {}, true, {}},
        {"changed, No", true, true, {Answer::No}, {}, true, {"Save the changes?\n\n\"sample\""}},
        {"changed, Cancel",
         true,
         true,
         {Answer::Cancel},
         {},
         false,
         {"Save the changes?\n\n\"sample\""}},
        {"changed, Yes saves",
         true,
         true,
         {Answer::Yes},
         {},
         true,
         {"Save the changes?\n\n\"sample\""}},
        {"new, No closes", false, false, {Answer::No}, {}, true, {"Save the file?\n\n\"sample\""}},
        {"new, Cancel stays",
         false,
         true,
         {Answer::Cancel},
         {},
         false,
         {"Save the file?\n\n\"sample\""}},
        {"new, Yes and cancelled dialog stays",
         false,
         true,
         {Answer::Yes},
         std::nullopt,
         false,
         {"Save the file?\n\n\"sample\""}},
        {"new, Yes and saved closes",
         false,
         true,
         {Answer::Yes},
         "saved.TMV",
         true,
         {"Save the file?\n\n\"sample\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.shown.clear();
        prompts.answers.assign(c.answers.begin(), c.answers.end());
        prompts.fileChoices.clear();
        if (c.saveChoice)
            prompts.fileChoices.push_back(dir.file(*c.saveChoice));
        else
            prompts.fileChoices.push_back(std::nullopt);
        StructureDocument doc;
        doc.FilePath = sample();
        doc.HasFile = c.hasFile;
        doc.setModified(c.modified);
        EXPECT_EQ(commands.confirmClose(doc), c.closes);
        std::vector<std::string> questions;
        for (const auto& shown : prompts.shown) {
            if (shown.kind != "yesnocancel") continue;
            questions.push_back(shown.text);
            EXPECT_EQ(shown.title, "Confirmation");
        }
        EXPECT_EQ(questions, c.questions);
        EXPECT_FALSE(doc.SaveCancelled);
        if (c.closes && !c.answers.empty() && c.answers[0] == Answer::Yes) {
            EXPECT_FALSE(doc.Modified);
        }
    }
}

TEST_F(FileCommandsTest, CloseRefusedWhileLoadingOrWhenTheSaveFails) {
    StructureDocument doc;
    doc.Loading = true;
    EXPECT_FALSE(commands.confirmClose(doc));
    EXPECT_TRUE(prompts.shown.empty());

    doc.Loading = false;
    doc.HasFile = true;
    doc.FilePath = dir.file("gone/doc.TMV");
    doc.setModified();
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(commands.confirmClose(doc));
    EXPECT_TRUE(doc.Modified);
}

TEST_F(FileCommandsTest, DiscardingADownloadDeletesItsTemporaryFile) {
    dir.write("Results/#DownLoad3#", "x");
    StructureDocument doc;
    doc.FilePath = "#DownLoad3#";
    doc.DownloadTag = "#DownLoad3#";
    doc.HasDownloadTemp = true;
    prompts.answers = {Answer::No};
    EXPECT_TRUE(commands.confirmClose(doc));
    EXPECT_FALSE(fs::exists(dir.file("Results/#DownLoad3#")));
}

TEST_F(FileCommandsTest, TransferFolderFallsBackWhenResultsIsNotWritable) {
    std::string preferred = dir.file("prog/Results");
    std::string fallback = dir.file("user/Results");
    EXPECT_EQ(chooseTransferFolder(preferred, fallback), preferred);
    // A file where the folder should be: not usable.
    dir.write("prog2/Results", "file");
    EXPECT_EQ(chooseTransferFolder(dir.file("prog2/Results"), fallback), fallback);
    EXPECT_TRUE(fs::is_directory(fallback));
}

TEST_F(FileCommandsTest, PathHelpers) {
    EXPECT_EQ(fileNameOf("/a/b/c.TMV"), "c.TMV");
    EXPECT_EQ(fileNameOf("C:\\x\\y.TMV"), "y.TMV");
    EXPECT_EQ(fileStemOf("/a/b/c.d.TMV"), "c.d");
    EXPECT_EQ(replaceExtension("/a/b.c/d", ".PLV"), "/a/b.c/d.PLV");
    EXPECT_EQ(replaceExtension("/a/t.KRD", ".PLV"), "/a/t.PLV");
}

}  // namespace
}  // namespace pelvoro
