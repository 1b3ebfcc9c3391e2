#include <gtest/gtest.h>

#include <algorithm>

#include "app/exit_sequence.h"
#include "common/identity.h"
#include "app/startup.h"
#include "common/lang_text.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::ScriptedPrompts;
using testing::TempDir;

// Records the order in which the start sequence uses the window.
class RecordingHost : public StartupHost {
  public:
    SettingsStore& settings() override { return store; }
    Prompts& prompts() override { return promptsDouble; }
    MainWindowState& mainState() override { return state; }
    int printerCount() override {
        steps.push_back("printers");
        return printers;
    }
    void setMainCaption(const std::string& c) override { steps.push_back("caption " + c); }
    void applyBrandProfile() override { steps.push_back("brand"); }
    void offerAllCommands() override { steps.push_back("all commands"); }
    void showCheckedModel() override { steps.push_back("model " + state.checkedModel); }
    void setDocumentFilters(const std::string& f) override { steps.push_back("filters " + f); }
    void resetDocumentCounters() override { steps.push_back("counters"); }
    void refreshCommandState() override { steps.push_back("refresh"); }
    void configurePortBuffers() override { steps.push_back("port"); }
    void refreshAddItemCommands() override { steps.push_back("additem"); }
    void setInitialDirectories(const std::string& d) override { steps.push_back("dirs " + d); }
    void translateCaptions() override {
        steps.push_back("captions text7=" + currentTextCodes().at(7));
    }
    void terminate() override { steps.push_back("terminate"); }

    MemorySettingsStore store;
    ScriptedPrompts promptsDouble;
    MainWindowState state;
    std::vector<std::string> steps;
    int printers = 1;
};

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("Tamvisto_Main.ini",
                  "[Tamvisto]\r\n[ENGLISH]\r\nfile=English.ini\r\nhelpfile=Help EN.chm\r\n"
                  "[DEUTSCH]\r\nfile=Deutsch.ini\r\nhelpfile=Hilfe.chm\r\n");
        dir.write("English.ini", "[Language]\r\ntext7=seven\r\nAllItems_15=All\r\n");
        dir.write("Deutsch.ini", "[Language]\r\ntext7=sieben\r\n");
    }
    void TearDown() override { setCurrentLanguageFile(nullptr); }
    TempDir dir;
    RecordingHost host;
};

TEST_F(StartupTest, FirstRunWritesTheDefaultsAndForcesTheModel) {
    StartupOutcome out = runStartup(host, dir.path());
    EXPECT_FALSE(out.terminated);
    EXPECT_EQ(host.store.readString("Language"), "ENGLISH");
    EXPECT_EQ(host.store.readInt("LangIndex"), 0);
    EXPECT_EQ(host.store.readString("InstrModel"), "CV61");
    EXPECT_EQ(appEnvironment().helpFile, dir.file("Tamvisto HELP.chm"));
    std::vector<std::string> expected = {
        "caption Tamvisto", "printers", "brand", "model CV61",
        "filters Tamvisto Files (*.TMV)|*.TMV", "counters", "refresh", "port", "additem",
        // the stored model (just written) is read back
        "model CV61", "dirs " + dir.file("Results"), "captions text7=seven"};
    EXPECT_EQ(host.steps, expected);
}

TEST_F(StartupTest, StoredLanguageChoosesItsFileAndHelp) {
    host.store.writeString("Language", "DEUTSCH");
    host.store.writeString("InstrModel", "TQ41");  // overwritten by the forced model
    host.store.writeString("File_1", "b.TMV");
    host.store.writeString("File_2", "a.TMV");
    runStartup(host, dir.path());
    EXPECT_EQ(appEnvironment().language, "DEUTSCH");
    EXPECT_EQ(appEnvironment().helpFile, dir.file("Hilfe.chm"));
    EXPECT_EQ(host.steps.back(), "captions text7=sieben");
    EXPECT_EQ(host.store.readString("InstrModel"), "CV61");
    EXPECT_EQ(host.state.checkedModel, "CV61");
    EXPECT_EQ(host.state.recentFiles.entries(), (std::vector<std::string>{"a.TMV", "b.TMV"}));
}

TEST_F(StartupTest, AllCommandsSkipsTheProfileAndKeepsTheStoredModel) {
    StartupOptions options;
    options.allCommands = true;
    for (const std::string stored : {"TQ41", ""}) {
        RecordingHost h;
        if (!stored.empty()) h.store.writeString("InstrModel", stored);
        runStartup(h, dir.path(), options);
        EXPECT_EQ(std::count(h.steps.begin(), h.steps.end(), "brand"), 0);
        EXPECT_EQ(std::count(h.steps.begin(), h.steps.end(), "all commands"), 1);
        // Nothing stored: Auto Find stays checked, and nothing is written for it.
        EXPECT_EQ(h.state.checkedModel, stored.empty() ? "AutoFind" : stored);
        EXPECT_EQ(h.store.contains("InstrModel"), !stored.empty());
    }
}

TEST_F(StartupTest, NoPrinterEndsTheProgramBeforeTheModelIsStored) {
    host.printers = 0;
    StartupOutcome out = runStartup(host, dir.path());
    EXPECT_TRUE(out.terminated);
    EXPECT_TRUE(host.promptsDouble.showed("No printer installed. Application will be terminated!"));
    EXPECT_EQ(host.steps.back(), "terminate");
    EXPECT_FALSE(host.store.contains("InstrModel"));
}

TEST_F(StartupTest, UnavailableStoreRunsInEnglishWithoutWriting) {
    host.store.setAvailable(false);
    runStartup(host, dir.path());
    EXPECT_EQ(appEnvironment().language, "ENGLISH");
    EXPECT_EQ(host.store.writeCount(), 0);
}

// Document windows that close unless their save question is cancelled.
class FakeWindows : public ExitHost {
  public:
    int documentWindowCount() override { return int(windows.size()); }
    bool closeActiveDocumentWindow() override {
        if (windows.empty()) return false;
        closeAttempts.push_back(windows.back());
        if (windows.back() != refusing) windows.pop_back();
        return true;
    }
    void processEvents() override {}
    void terminate() override { terminated = true; }

    std::vector<std::string> windows;
    std::string refusing;
    std::vector<std::string> closeAttempts;
    bool terminated = false;
};

class ExitTest : public ::testing::Test {
  protected:
    testing::ScopedLanguage lang{
        "[Language]\r\nmsgTerminate_35=Quit?\r\nmbcConfirmation_20=Confirm\r\n"};
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    MainWindowState state;
    FakeWindows windows;
};

TEST_F(ExitTest, AnsweringNoKeepsEverything) {
    windows.windows = {"a", "b"};
    prompts.answers = {Answer::No};
    EXPECT_FALSE(requestExit(windows, prompts, store, state));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].title, "Confirm");
    EXPECT_EQ(prompts.shown[0].text, "Quit?");
    EXPECT_TRUE(windows.closeAttempts.empty());
    EXPECT_EQ(store.writeCount(), 0);
}

TEST_F(ExitTest, ClosesEveryWindowThenStoresTheSettings) {
    windows.windows = {"a", "b", "c"};
    state.recentFiles.append("x.TMV");
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(requestExit(windows, prompts, store, state));
    EXPECT_EQ(windows.closeAttempts, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(windows.terminated);
    EXPECT_EQ(store.readString("File_1"), "x.TMV");
    EXPECT_TRUE(store.contains("InstrModel"));
}

TEST_F(ExitTest, AWindowThatStaysOpenCancelsTheExit) {
    windows.windows = {"a", "b", "c"};
    windows.refusing = "b";  // the second one closed: its save question was cancelled
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(requestExit(windows, prompts, store, state));
    EXPECT_EQ(windows.windows, (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(windows.terminated);
    EXPECT_EQ(store.writeCount(), 0);
}

}  // namespace
}  // namespace pelvoro
