#include "document/item_names.h"

#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "common/settings_store.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "support/language_fixture.h"

namespace pelvoro {
namespace {

StructureItem& addChild(StructureDocument& doc, StructureItem& parent, const std::string& name,
                        int type = 5) {
    return *doc.addItem(parent, type, name);
}

TEST(NewItemName, NumbersAfterTheLargestNumberAmongTheSiblings) {
    struct Case {
        const char* what;
        std::string base;
        std::vector<std::string> siblings;
        std::string expected;
    };
    const Case cases[] = {
        {"first of its kind", "Fuse ", {}, "Fuse 1"},
        {"empty base, no children", "", {}, "1"},
        {"largest plus one, not a count", "Fuse ", {"Fuse 1", "Fuse 4", "Fuse x"}, "Fuse 5"},
        {"gaps are not reused", "Fuse ", {"Fuse 1", "Fuse 3"}, "Fuse 4"},
        {"failed conversion counts 0", "Fuse ", {"Fuse 12a"}, "Fuse 1"},
        {"the bare base does not count", "Fuse ", {"Fuse "}, "Fuse 1"},
        {"case-sensitive", "Fuse ", {"fuse 7", "FUSE 9"}, "Fuse 1"},
        {"other names are ignored", "Fuse ", {"Block 8", "Room 3"}, "Fuse 1"},
        {"empty base counts every number", "", {"2", "7", "x"}, "8"},
        {"negative numbers do not lower it", "F", {"F-5"}, "F1"},
        {"the largest number does not wrap", "F", {"F2147483647"}, "F2147483648"},
    };
    for (const Case& c : cases) {
        StructureDocument doc;
        for (const auto& s : c.siblings) addChild(doc, doc.root(), s);
        EXPECT_EQ(NewItemName(c.base, doc.root()), c.expected) << c.what;
    }
}

TEST(NewItemName, WithoutDefaultNameThreeFusesAreNamedOneTwoThree) {
    structureNames().clear();
    StructureDocument doc;
    StructureItem& block = addChild(doc, doc.root(), "Block", ItemType::Block);
    std::vector<std::string> got;
    for (int i = 0; i < 3; ++i)
        got.push_back(addChild(doc, block, NewItemName(ItemType::Fuse, block)).caption());
    EXPECT_EQ(got, (std::vector<std::string>{"1", "2", "3"}));
}

TEST(StructureNames, ShippedNamesKeepTheirTrailingBlankAndOrder) {
    IniFile ini = IniFile::parse(
        "[NAMES_5]\r\nDefault=\"Fuse \"\r\nSocket=\r\nLight=\r\n[NAMES_23]\r\nDefault=Result\r\n"
        "[NAMES_12]\r\nDefault=A very long room name\r\n");
    StructureNames names;
    names.loadOriginals(ini);
    EXPECT_EQ(names.defaultName(5), "Fuse ");
    EXPECT_EQ(names.alternatives(5), (std::vector<std::string>{"Socket", "Light"}));
    EXPECT_EQ(names.defaultName(23), "") << "results have no name";
    EXPECT_EQ(names.defaultName(12), "A very long r") << "names are cut to 13 characters";
    EXPECT_EQ(names.defaultName(2), "");
}

TEST(StructureNames, TheUsersNamesSurviveTheStoreAndOverrideTheShippedOnes) {
    StructureNames names;
    names.setDefaultName(5, "Circuit ");
    names.setAlternatives(5, {"Socket", "Light"});
    names.setDefaultName(33, "Kreis ");
    MemorySettingsStore store;
    names.storeTo(store);

    StructureNames later;
    later.loadOriginals(
        IniFile::parse("[NAMES_5]\r\nDefault=Fuse\r\n[NAMES_2]\r\nDefault=Block\r\n"));
    later.loadFromStore(store);
    EXPECT_EQ(later.defaultName(5), "Circuit ");
    EXPECT_EQ(later.alternatives(5), (std::vector<std::string>{"Socket", "Light"}));
    EXPECT_EQ(later.defaultName(33), "Kreis ");
    // Every named type was stored, so the store's (empty) name wins for Block too.
    EXPECT_EQ(later.defaultName(2), "");

    StructureNames fresh;
    fresh.loadOriginals(IniFile::parse("[NAMES_2]\r\nDefault=Block\r\n"));
    fresh.loadFromStore(MemorySettingsStore{});
    EXPECT_EQ(fresh.defaultName(2), "Block") << "an empty store leaves the shipped names";
}

TEST(StructureNames, ChoosingAnAlternativeMakesItTheDefault) {
    StructureNames names;
    names.setDefaultName(5, "Fuse ");
    names.setAlternatives(5, {"Socket", "Light"});
    EXPECT_FALSE(NameChosen(names, 5, "Kitchen 3"));
    EXPECT_EQ(names.defaultName(5), "Fuse ");
    EXPECT_TRUE(NameChosen(names, 5, "Light"));
    EXPECT_EQ(names.defaultName(5), "Light");
    EXPECT_FALSE(NameChosen(names, 2, "Light")) << "only the item's own type's list counts";
    names.addAlternative(5, "Oven");
    EXPECT_EQ(names.alternatives(5).front(), "Oven");
}

TEST(ParameterLists, EachSectionFillsItsParameterInFileOrder) {
    IniFile ini = IniFile::parse(
        "[PHASE]\r\nL1=\r\nL2=x\r\nL3=\r\n[CROSS_SECTION]\r\n1.5 mm2=\r\n[WIRING_TYPE]\r\nA1=\r\n"
        "[INSULATION_TYPE]\r\nPVC=\r\n[CIRCUIT_BREAKER]\r\nB16=\r\n[TRIPING_TIME]\r\n0.4 s=\r\n"
        "[RCD_TYPE]\r\nAC=\r\n[NOM_CURRENT]\r\n16 A=\r\n[DIFF_CURRENT]\r\n30 mA=\r\n");
    ParameterLists lists = LoadParameterLists(ini);
    EXPECT_EQ(lists[0], (std::vector<std::string>{"L1", "L2", "L3"}));
    const char* firsts[] = {"L1", "1.5 mm2", "A1", "PVC", "B16", "0.4 s", "AC", "16 A", "30 mA"};
    for (int i = 0; i < kParameterCount; ++i) {
        ASSERT_FALSE(lists[i].empty()) << parameterInfos()[i].section;
        EXPECT_EQ(lists[i].front(), firsts[i]) << parameterInfos()[i].section;
    }
    TStructItemData d;
    parameterField(d, 6) = "AC";
    parameterField(d, 7) = "16 A";
    EXPECT_EQ(d.texts().RcdType, "AC");
    EXPECT_EQ(d.texts().NominalCurrent, "16 A");
}

TEST(ParameterLists, MissingFileOrSectionGivesEmptyLists) {
    for (const auto& l : LoadParameterLists(std::string("/nonexistent/StructureNames.ini")))
        EXPECT_TRUE(l.empty());
    ParameterLists lists = LoadParameterLists(IniFile::parse("[PHASE]\r\nL1=\r\n"));
    EXPECT_EQ(lists[0].size(), 1u);
    EXPECT_TRUE(lists[8].empty());
}

TEST(InstallationNames, BuiltInUntilTheStoreHoldsThem) {
    testing::ScopedLanguage lang(
        "[Language]\r\nConnect_1=Water pipe\r\nLocation_1=Kitchen\r\nLocation_19=Garden\r\n");
    MemorySettingsStore store;
    InstallationNames names = initialInstallationNames(store);
    EXPECT_EQ(names.connection[0], "Water pipe");
    EXPECT_EQ(names.location[0], "Kitchen");
    EXPECT_EQ(names.location[18], "Garden");
    EXPECT_EQ(names.connection[1], "**") << "a missing text shows as such";
    EXPECT_EQ(names.location[19], "") << "rows 20 to 25 have no built-in names";

    names.connection[0] = "Gas";
    names.location[24] = "Roof";
    storeInstallationNames(names, store);
    EXPECT_EQ(store.readString("Connect_0"), "Gas");
    EXPECT_EQ(store.readString("Location_24"), "Roof");
    EXPECT_TRUE(store.contains("Connect_21"));
    EXPECT_FALSE(store.contains("Connect_22")) << "22 connection names only";
    EXPECT_EQ(initialInstallationNames(store), names);
}

TEST(InstallationNames, LoadOriginalsKeepsRowsTwentyToTwentyFive) {
    testing::ScopedLanguage lang("[Language]\r\nConnect_1=Water pipe\r\n");
    InstallationNames names;
    names.connection[0] = "mine";
    names.location[21] = "kept";
    loadOriginalInstallationNames(names);
    EXPECT_EQ(names.connection[0], "Water pipe");
    EXPECT_EQ(names.location[21], "kept");
}

}  // namespace
}  // namespace pelvoro
