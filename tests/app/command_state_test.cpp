#include "app/command_state.h"

#include <gtest/gtest.h>

#include <set>

#include "app/brand_profile.h"
#include "support/language_fixture.h"

namespace pelvoro {
namespace {

TEST(ShortenPath, CutsAfterTheLastSeparatorBeyondFifteenCharacters) {
    struct Case {
        const char* path;
        const char* shown;
    } cases[] = {
        {"C:\\Data\\Results\\abc.TMV", "...\\Results\\abc.TMV"},
        {"C:\\a\\abc.TMV", "C:\\a\\abc.TMV"},
        {"C:\\averyveryverylongfolder\\x.TMV", "...\\averyveryverylongfolder\\x.TMV"},
        {"\\abcdefghijklmno.TMV",
         "...\\abcdefghijklmno.TMV"},  // even when the cut is the first character
        {"/home/user/Results/abc.TMV", ".../Results/abc.TMV"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenPath(c.path), c.shown) << c.path;
}

TEST(RecentFileCaptions, NewestFirstAtMostFour) {
    EXPECT_EQ(recentFileCaptions({"a", "b", "c"}),
              (std::vector<std::string>{"1: c", "2: b", "3: a"}));
    EXPECT_EQ(recentFileCaptions({"1", "2", "3", "4", "5"}).size(), 4u);
    EXPECT_TRUE(recentFileCaptions({}).empty());
}

TEST(CommandState, NothingNeedingADocumentIsEnabledWithoutOne) {
    CommandContext ctx;
    ctx.selectedModel = "CV61";
    ToolbarEnabling e = computeToolbarEnabling(ctx);
    EXPECT_FALSE(e.save || e.viewStructure || e.viewLightRep || e.tableGr || e.graph ||
                 e.moveUpDn || e.drawGraphMenu || e.showTableMenu || e.send);
    EXPECT_TRUE(e.download);
    EXPECT_TRUE(e.releaseMoveMode);
    EXPECT_FALSE(sendMenuEnabled(ctx));
    EXPECT_FALSE(editCommandsEnabled(ctx));
    EXPECT_FALSE(deleteItemEnabled(ctx));
    EXPECT_FALSE(exportEnabled(ctx));
    EXPECT_FALSE(documentCommandsEnabled(ctx));
}

TEST(CommandState, SendRulesDifferBetweenMenuAndButton) {
    CommandContext ctx;
    ctx.documentCount = 1;
    struct Case {
        const char* model;
        bool menu;
        bool button;
    } cases[] = {
        {"CV61", true, true},         {"TQ41", true, true},  {"AutoFind", true, false},
        {"TQ95M", true, false},       {"TQ52", true, false}, {"TQ42", false, false},
        {"LP40000112", false, false}, {"TQ75", true, true},
    };
    for (const auto& c : cases) {
        ctx.selectedModel = c.model;
        EXPECT_EQ(sendMenuEnabled(ctx), c.menu) << c.model;
        EXPECT_EQ(computeToolbarEnabling(ctx).send, c.button) << c.model;
    }
}

TEST(CommandState, ARunningTransferDisablesDownloadAndSend) {
    CommandContext ctx;
    ctx.documentCount = 2;
    ctx.selectedModel = "CV61";
    ctx.portOpen = true;
    ToolbarEnabling e = computeToolbarEnabling(ctx);
    EXPECT_FALSE(e.download);
    EXPECT_FALSE(e.send);
    ctx.portOpen = false;
    e = computeToolbarEnabling(ctx);
    EXPECT_TRUE(e.download);
    EXPECT_TRUE(e.send);
}

TEST(CommandState, GraphAndTableFollowTheSelectedSeries) {
    CommandContext ctx;
    ctx.documentCount = 1;
    ctx.hasActiveDocument = true;
    ctx.hasSelectedItem = true;
    ToolbarEnabling e = computeToolbarEnabling(ctx);
    EXPECT_FALSE(e.graph);
    EXPECT_FALSE(e.tableGr);
    ctx.selectedHasSeries = true;
    ctx.seriesKind = 6;
    e = computeToolbarEnabling(ctx);
    EXPECT_TRUE(e.graph);
    EXPECT_FALSE(e.tableGr);  // kind 6 has no table
    ctx.seriesKind = 1;
    EXPECT_TRUE(computeToolbarEnabling(ctx).tableGr);
}

TEST(CommandState, EditNeedsTheFocusInTheResultArea) {
    CommandContext ctx;
    ctx.documentCount = 1;
    ctx.resultTableShown = true;
    EXPECT_FALSE(editCommandsEnabled(ctx));  // focus in the tree
    ctx.focusInResultArea = true;
    EXPECT_TRUE(editCommandsEnabled(ctx));
}

TEST(CommandState, DeleteIsRefusedForTheRoot) {
    CommandContext ctx;
    ctx.documentCount = 1;
    ctx.hasSelectedItem = true;
    ctx.selectedItemOnTopLevel = true;
    EXPECT_FALSE(deleteItemEnabled(ctx));
    ctx.selectedItemOnTopLevel = false;
    EXPECT_TRUE(deleteItemEnabled(ctx));
}

TEST(NewStructureTitle, PrefixAndCounterWithoutBlank) {
    testing::ScopedLanguage lang("[Language]\r\nNewStructure_25=New structure\r\n");
    EXPECT_EQ(newStructureTitle(1), "New structure1");
    EXPECT_EQ(newStructureTitle(12), "New structure12");
}

TEST(BrandProfile, HidesWhatTheBrandDoesNotOffer) {
    for (const char* hidden :
         {"tbnSend", "mmInstrSendStruct", "mmEdit", "mmStructure", "mmInstrModel", "tbnNew",
          "mmFileImport", "mmHelpIndex", "tbToolBar_AN", "tbnGraph", "TQ60", "LS40000118",
          "mmStrAddCont_E_AN", "sepFileExport"})
        EXPECT_TRUE(isHiddenByBrand(hidden)) << hidden;
    for (const char* shown :
         {"mmFileOpen",      "mmFileClose",      "mmFileSave",     "mmFileSaveAs",
          "mmFileHeadSetUp", "mmFilePreview",    "mmFileExport",   "mmFileExit",
          "mmInstrDownLoad", "mmInstrInstrData", "mmConfigPort",   "mmConfigLanguage",
          "mmHelpContents",  "mmHelpAbout",      "tbToolBarBasic", "tbToolBarRep",
          "tbnViewLightRep", "tbnDownLoad",      "CV61",           "TQ41"})
        EXPECT_FALSE(isHiddenByBrand(shown)) << shown;
}

}  // namespace
}  // namespace pelvoro

#include "app/help_file.h"

namespace pelvoro {
namespace {

TEST(HelpFile, FallsBackToTheHtmlHelpOfTheSameName) {
    std::set<std::string> files = {"/d/Tamvisto HELP.chm", "/d/Tamvisto HELP.html", "/d/Only.chm",
                                   "/d/Manual.pdf"};
    auto exists = [&](const std::string& f) { return files.count(f) > 0; };
    EXPECT_EQ(resolveHelpFile("/d/Tamvisto HELP.chm", true, exists), "/d/Tamvisto HELP.chm");
    EXPECT_EQ(resolveHelpFile("/d/Tamvisto HELP.chm", false, exists), "/d/Tamvisto HELP.html");
    EXPECT_EQ(resolveHelpFile("/d/Missing.chm", true, exists), "");
    EXPECT_EQ(resolveHelpFile("/d/Only.chm", false, exists), "");
    EXPECT_EQ(resolveHelpFile("/d/Manual.pdf", false, exists), "/d/Manual.pdf");
    EXPECT_EQ(resolveHelpFile("", false, exists), "");
}

}  // namespace
}  // namespace pelvoro
