#include "files/file_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QTreeView>
#include <filesystem>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/adapters/user_folders.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/widgets/child_form.h"
#include "files/transfer_folder.h"
#include "files/widgets/file_commands_qt.h"
#include "main_window_fixture.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;

class FileCommandsWidgetTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startWindow());
        // Temporary files of this test stay in its own folder: "Results" beside its data.
        useTemporaryDataFolder();
        savedResultsFolder = appEnvironment().resultsFolder;
        appEnvironment().resultsFolder.clear();
        installFileCommands(*window);
        window->show();
        demo = copyDemo();
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        appEnvironment().resultsFolder = savedResultsFolder;
    }

    std::string demo;
    std::string savedResultsFolder;
};

TEST_F(FileCommandsWidgetTest, CommandsAreAttachedAndTheTransferFolderIsWritable) {
    for (const char* c :
         {"FileOpen", "FileClose", "FileSave", "FileSaveAs", "OpenRecent", "Import"})
        EXPECT_TRUE(window->hasCommandHandler(c)) << c;
    EXPECT_EQ(transferFolder(), dir.file("Results"));
    EXPECT_TRUE(fs::is_directory(transferFolder()));
}

TEST_F(FileCommandsWidgetTest, DialogsStartWhereTheUserKeepsDocuments) {
    // Never in the transfer folder: the documents folder first, then the last one used,
    // also at the next start (the settings keep it).
    prompts.fileChoices.push_back(demo);
    window->action("mmFileOpen")->trigger();
    settle();
    prompts.fileChoices.push_back(std::nullopt);
    window->action("mmFileOpen")->trigger();
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(prompts.fileRequests[0].directory, userDocumentsFolder());
    EXPECT_NE(prompts.fileRequests[0].directory, transferFolder());
    EXPECT_EQ(prompts.fileRequests[1].directory, dir.path());
    EXPECT_EQ(store.readString(kDocumentFolderSetting), dir.path());
}

TEST_F(FileCommandsWidgetTest, OpenShowsTheDemoDocumentWithItsTree) {
    prompts.fileChoices.push_back(demo);
    window->runCommand("FileOpen");
    settle();
    ASSERT_EQ(window->documentWindows().size(), 1u);
    TfrmChildForm* form = activeForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(window->activeDocumentWindow()->windowTitle(), "Demo.TMV");
    StructureDocument& doc = form->document();
    EXPECT_TRUE(doc.HasFile);
    EXPECT_FALSE(doc.Loading);
    EXPECT_EQ(doc.root().childCount(), 2);
    EXPECT_EQ(form->selectedItem(), &doc.root());
    // The tree shows the root with its two objects.
    QAbstractItemModel* model = form->treeModel();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 2);
    EXPECT_EQ(window->mainState().recentFiles.entries(), std::vector<std::string>{demo});
    EXPECT_TRUE(prompts.shown.size() == 1 && prompts.shown[0].kind == "open");
}

TEST_F(FileCommandsWidgetTest, SaveAsRenamesTheWindowAndCloseAsksOnlyForChanges) {
    FileCommands* commands = fileCommandsOf(*window);
    ASSERT_NE(commands, nullptr);
    commands->open(demo);
    settle();
    TfrmChildForm* form = activeForm();
    ASSERT_NE(form, nullptr);
    std::string copy = dir.file("copy.PLV");
    prompts.fileChoices.push_back(dir.file("copy"));
    window->runCommand("FileSaveAs");
    EXPECT_EQ(window->activeDocumentWindow()->windowTitle(), "copy.PLV");
    EXPECT_TRUE(fs::exists(copy));

    // A change, then Close: Cancel keeps the window, No closes it.
    form->document().setModified();
    prompts.answers = {Answer::Cancel};
    window->runCommand("FileClose");
    settle();
    EXPECT_EQ(window->documentWindows().size(), 1u);
    prompts.answers = {Answer::No};
    window->runCommand("FileClose");
    settle();
    EXPECT_EQ(window->documentWindows().size(), 0u);
    int questions = 0;
    for (const auto& s : prompts.shown) questions += s.kind == "yesnocancel";
    EXPECT_EQ(questions, 2);
}

TEST_F(FileCommandsWidgetTest, OpenNeverBringsUpAnotherFilesImport) {
    // An unsaved import of X.KRD carries X.PLV as its path; opening the existing X.PLV
    // gives that file its own window.
    FileCommands* commands = fileCommandsOf(*window);
    ASSERT_NE(commands, nullptr);
    const std::string plv = dir.file("X.PLV");
    fs::copy_file(demo, plv);
    fs::copy_file(std::string(PELVORO_SOURCE_DATA_DIR) + "/../tests/files/data/sample.KRD",
                  dir.file("X.KRD"));
    StructureDocument* imported = commands->open(dir.file("X.KRD"));
    ASSERT_NE(imported, nullptr);
    settle();
    StructureDocument* opened = commands->open(plv);
    settle();
    EXPECT_NE(opened, imported);
    ASSERT_EQ(window->documentWindows().size(), 2u);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->HasFile);
    // Opening the file again brings its own window to the front.
    EXPECT_EQ(commands->open(plv), opened);
    EXPECT_EQ(window->documentWindows().size(), 2u);
}

TEST_F(FileCommandsWidgetTest, CommandLineDocumentIsOpenedOnceTheLoopRuns) {
    TfrmMainForm::Services s;
    s.settings = &store;
    s.prompts = &prompts;
    s.printerCount = [] { return 1; };
    s.portOpen = [] { return false; };
    TfrmMainForm second(s);
    ASSERT_TRUE(second.start(PELVORO_SOURCE_DATA_DIR));
    appEnvironment().dataDir = dir.path();
    installFileCommands(second);
    second.setProperty("startDocument", pathToQt(demo));
    settle();
    ASSERT_EQ(second.documentWindows().size(), 1u);
    EXPECT_EQ(second.documentWindows()[0]->windowTitle(), "Demo.TMV");

    // A missing document only gives the open command's message.
    TfrmMainForm third(s);
    ASSERT_TRUE(third.start(PELVORO_SOURCE_DATA_DIR));
    appEnvironment().dataDir = dir.path();
    installFileCommands(third);
    third.setProperty("startDocument", pathToQt(dir.file("missing.TMV")));
    prompts.shown.clear();
    settle();
    EXPECT_EQ(third.documentWindows().size(), 0u);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{LangText("msgFileNotExist_35") + "\n" +
                                                        dir.file("missing.TMV")});
    prompts.answers.assign(4, Answer::No);
    second.mdiArea()->closeAllSubWindows();
    settle();
}

}  // namespace
}  // namespace pelvoro
