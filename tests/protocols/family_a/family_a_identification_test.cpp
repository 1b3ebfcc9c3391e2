// How the identification reply fills the instrument data record.

#include "protocols/family_a/family_a_identification.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

TEST(FamilyALines, ItemLinesFillTheirItemAndOthersAreIgnored) {
    TInstrumentData d;
    d.line(6) = "kept";
    EXPECT_TRUE(applyFamilyALine(d, "02.TQ 41 tester"));
    EXPECT_TRUE(applyFamilyALine(d, "11.2024-05-01"));
    EXPECT_TRUE(applyFamilyALine(d, "03."));
    EXPECT_FALSE(applyFamilyALine(d, "12.out of range"));
    EXPECT_FALSE(applyFamilyALine(d, "00.zero"));
    EXPECT_FALSE(applyFamilyALine(d, "%50"));
    EXPECT_FALSE(applyFamilyALine(d, "2.x"));
    EXPECT_FALSE(applyFamilyALine(d, "\n01.LF stays in the line"));
    EXPECT_EQ(d.line(2), "TQ 41 tester");
    EXPECT_EQ(d.line(11), "2024-05-01");
    EXPECT_EQ(d.line(3), "");
    EXPECT_EQ(d.line(6), "kept");
    EXPECT_EQ(d.line(1), "");
}

TEST(FamilyALines, FirmAndUserDataTurnUnderscoresIntoLineBreaksAndDropControls) {
    TInstrumentData d;
    applyFamilyALine(d, "08.First_Second");
    EXPECT_EQ(d.line(8), "First\rSecond");
    applyFamilyALine(d, std::string("09.a\x01\x1D\x1E\x1F\tb_c\xE9", 13));
    EXPECT_EQ(d.line(9), std::string("a\x1E\x1F"
                                     "b\rc\xE9"));
    // Other items keep underscores and control characters.
    applyFamilyALine(d, "02.A_B\t");
    EXPECT_EQ(d.line(2), "A_B\t");
}

}  // namespace
}  // namespace pelvoro
