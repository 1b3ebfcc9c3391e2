#include "app/main_settings.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

MainWindowState withRecent(std::initializer_list<const char*> oldestFirst) {
    MainWindowState s;
    for (const char* f : oldestFirst) s.recentFiles.append(f);
    return s;
}

TEST(RecentFilesSetting, StoresNewestFirstAndBlanksTheRest) {
    MemorySettingsStore store;
    saveSetting(store, withRecent({"old.TMV", "new.TMV"}), "LastOpFiles");
    EXPECT_EQ(store.readString("File_1"), "new.TMV");
    EXPECT_EQ(store.readString("File_2"), "old.TMV");
    EXPECT_EQ(store.readString("File_3"), "");
    EXPECT_EQ(store.readString("File_4"), "");

    MainWindowState next;
    loadSetting(store, next, "LastOpFiles");
    EXPECT_EQ(next.recentFiles.entries(), (std::vector<std::string>{"old.TMV", "new.TMV"}));
}

TEST(RecentFilesSetting, KeepsOnlyTheNewestFour) {
    MemorySettingsStore store;
    saveSetting(store, withRecent({"1", "2", "3", "4", "5", "6"}), "LastOpFiles");
    EXPECT_EQ(store.readString("File_1"), "6");
    EXPECT_EQ(store.readString("File_4"), "3");
    MainWindowState next;
    loadSetting(store, next, "LastOpFiles");
    EXPECT_EQ(next.recentFiles.entries(), (std::vector<std::string>{"3", "4", "5", "6"}));
}

TEST(RecentFilesSetting, AnEmptyListLeavesTheStoredValues) {
    MemorySettingsStore store;
    store.writeString("File_1", "kept.TMV");
    saveSetting(store, MainWindowState{}, "LastOpFiles");
    EXPECT_EQ(store.readString("File_1"), "kept.TMV");
    EXPECT_FALSE(store.contains("File_2"));
}

TEST(RecentFilesSetting, EmptyAndMissingValuesAreSkippedOnLoad) {
    MemorySettingsStore store;
    store.writeString("File_1", "a");
    store.writeString("File_3", "");
    store.writeInt("File_2", 5);  // wrong type: skipped like a missing value
    MainWindowState s;
    loadSetting(store, s, "LastOpFiles");
    EXPECT_EQ(s.recentFiles.entries(), (std::vector<std::string>{"a"}));
}

TEST(ModelSetting, StoresTheSettingsValueOfTheCheckedEntry) {
    struct Case {
        const char* key;
        const char* stored;
    } cases[] = {{"CV61", "CV61"}, {"RB7", "RB-7"}, {"TQ42H", "TQ42H"}, {"AutoFind", "AutoFind"}};
    for (const auto& c : cases) {
        MemorySettingsStore store;
        MainWindowState s;
        selectModel(s, c.key);
        saveSetting(store, s, "InstrModel");
        EXPECT_EQ(store.readString("InstrModel"), c.stored) << c.key;
    }
    MemorySettingsStore store;
    MainWindowState none;
    none.checkedModel.clear();
    saveSetting(store, none, "InstrModel");
    EXPECT_FALSE(store.contains("InstrModel"));
}

TEST(ModelSetting, LoadChecksTheMatchingEntryOrAutoFind) {
    struct Case {
        const char* stored;
        const char* checked;
        int family;
    } cases[] = {
        {"RB-7", "RB7", 1},      {"TQ41", "TQ41", 2}, {"TQ75", "TQ75", 3},
        {"RB7", "AutoFind", 9},   // the key is not the settings value: family unchanged
        {"cv61", "AutoFind", 9},  // case matters
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.writeString("InstrModel", c.stored);
        MainWindowState s;
        s.modelFamily = 9;
        loadSetting(store, s, "InstrModel");
        EXPECT_EQ(s.checkedModel, c.checked) << c.stored;
        EXPECT_EQ(s.modelFamily, c.family) << c.stored;
    }
}

TEST(ToolbarSetting, StoresTheThreeChecksAsBooleans) {
    MemorySettingsStore store;
    MainWindowState s;
    s.toolbars.structInst = false;
    saveSetting(store, s, "TollBar");
    EXPECT_EQ(store.readBool("mmStandard"), true);
    EXPECT_EQ(store.readBool("mmStructInst_AN"), false);
    EXPECT_EQ(store.readBool("mmReport"), true);
}

TEST(Settings, UnavailableStoreIsNeitherReadNorWritten) {
    MemorySettingsStore store;
    store.setAvailable(false);
    MainWindowState s = withRecent({"a"});
    saveSetting(store, s, "LastOpFiles");
    saveSetting(store, s, "InstrModel");
    EXPECT_EQ(store.writeCount(), 0);
}

}  // namespace
}  // namespace pelvoro
