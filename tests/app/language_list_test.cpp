#include "app/language_list.h"

#include <gtest/gtest.h>

#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::TempDir;

const char* kMainIni =
    "[Tamvisto]\r\nVersion=2.1\r\n"
    "[ENGLISH]\r\nfile=English.ini\r\ndispname=English\r\n"
    "[FRANCAIS]\r\nfile=Francais.ini\r\ndispname=Francais\r\n"
    "[DEUTSCH]\r\nfile=Deutsch.ini\r\ndispname=Deutsch\r\n";

TEST(LanguageList, SkipsTheFirstSectionAndMissingFiles) {
    TempDir dir;
    dir.write("English.ini", "[Language]\r\n");
    dir.write("Deutsch.ini", "[Language]\r\n");  // no Francais.ini
    LanguageList list = buildLanguageList(IniFile::parse(kMainIni), dir.path(), "ENGLISH");
    EXPECT_FALSE(list.currentLanguageMissing);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].section, "ENGLISH");
    EXPECT_EQ(list.entries[1].section, "DEUTSCH");  // index 1 counts only what is offered
    EXPECT_EQ(list.entries[1].dispname, "Deutsch");
}

TEST(LanguageList, UnknownCurrentLanguageOffersOnlyEnglish) {
    TempDir dir;
    testing::ScopedLanguage lang("[Language]\r\nrgLangEn_15=English\r\n");
    LanguageList list = buildLanguageList(IniFile::parse(kMainIni), dir.path(), "KLINGON");
    EXPECT_TRUE(list.currentLanguageMissing);
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].section, "ENGLISH");
}

TEST(LanguageChoice, StoresANewChoiceAndSaysWhenItApplies) {
    testing::ScopedLanguage lang("[Language]\r\nmsgChangeLanguage_70=Next start.\r\n");
    LanguageList list;
    list.entries = {{"ENGLISH", "English.ini", "English", "", ""},
                    {"DEUTSCH", "Deutsch.ini", "Deutsch", "", ""}};
    MemorySettingsStore store;
    store.writeInt("LangIndex", 0);
    store.writeString("Language", "ENGLISH");
    testing::ScriptedPrompts prompts;

    EXPECT_FALSE(applyLanguageChoice(store, list, 0, prompts));  // already stored: nothing
    EXPECT_TRUE(prompts.shown.empty());

    EXPECT_TRUE(applyLanguageChoice(store, list, 1, prompts));
    EXPECT_EQ(store.readInt("LangIndex"), 1);
    EXPECT_EQ(store.readString("Language"), "DEUTSCH");
    EXPECT_TRUE(prompts.showed("Next start."));
    EXPECT_EQ(preselectedLanguageIndex(store), 1);
}

}  // namespace
}  // namespace pelvoro
