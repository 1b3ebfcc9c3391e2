// How the identification reply fills the instrument data record.

#include "protocols/family_b/family_b_identification.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

std::string block(const std::string& fields, unsigned char typeCode = 24) {
    std::string b;
    b += char(typeCode);
    b += '\x07';
    return b + fields;
}

TEST(FamilyBBlock, FieldsGoToTheirItemsAndAnUnclosedLastFieldIsLost) {
    TInstrumentData d;
    d.line(4) = "old fw";
    d.line(6) = "old extra";
    std::string fields =
        std::string("Name\0TQ 42\0v1.10\r123\0Firm\rUser\0", 31) + "Extra";  // no end
    applyFamilyBBlock(d, block(fields, 200), FirmwareFieldRule::Whole);
    EXPECT_EQ(d.line(1), "200");
    EXPECT_EQ(d.line(2), "Name");
    EXPECT_EQ(d.line(3), "TQ 42");
    EXPECT_EQ(d.line(4), "v1.10");
    EXPECT_EQ(d.line(7), "123");
    EXPECT_EQ(d.line(8), "Firm");
    EXPECT_EQ(d.line(9), "User");
    EXPECT_EQ(d.line(6), "old extra");
}

TEST(FamilyBBlock, FieldsAfterTheSeventhAreIgnored) {
    TInstrumentData d;
    applyFamilyBBlock(d, block(std::string("a\0b\0c\0d\0e\0f\0g\0h\0", 16)),
                      FirmwareFieldRule::Whole);
    EXPECT_EQ(d.line(6), "g");
    EXPECT_EQ(d.line(10), "");
    EXPECT_EQ(d.line(11), "");
}

TEST(FamilyBBlock, BrandRuleForTheFirmwareField) {
    struct Case {
        const char* brand;
        const char* field;
        const char* fw;
        const char* hw;
    } cases[] = {
        {"Pelvoro", "FWV: 1.02 HW: 3", "FWV: 1.02 HW: 3", "old hw"},
        {"ULVANOR X", "1.5", "1.5", "old hw"},
        {"Quorrel", "FWV 1.02 HW 3B", "1.02", "3B"},
        {"Quorrel", "FWV 2.00", "2.00", "old hw"},  // no hardware part
        {"Tamvisto", "1.5", "old fw", "old hw"},
    };
    for (const Case& c : cases) {
        TInstrumentData d;
        d.line(4) = "old fw";
        d.line(5) = "old hw";
        applyFamilyBBlock(d, block(std::string("n\0m\0", 4) + c.field + '\0'),
                          firmwareFieldRuleForBrand(c.brand));
        EXPECT_EQ(d.line(4), c.fw) << c.brand << " " << c.field;
        EXPECT_EQ(d.line(5), c.hw) << c.brand << " " << c.field;
    }
}

TEST(HardwareVersionStep, RunsForFourModelsFromFirmwareOnePointOne) {
    struct Case {
        const char* key;
        const char* firmware;
        bool wanted;
    } cases[] = {
        {"TQ42", "v1.05", false}, {"TQ42", "v1.10", true},      {"TQ42", "1.1", true},
        {"TQ42H", "V2.0", true},  {"TQ22", "ver. 1.09", false}, {"LP40000112", "1.2", true},
        {"TQ60", "v3.00", false}, {"TQ42", "v1.2.3", false},    {"TQ42", "beta", false},
        {"TQ42", "", false},      {"TQ42", ".1.5", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wantsHardwareVersion(c.key, c.firmware), c.wanted) << c.key << " " << c.firmware;
    EXPECT_EQ(hardwareVersionFromBlock(std::string("HW 3\0junk", 9)), "HW 3");
    EXPECT_EQ(hardwareVersionFromBlock("HW 4\rjunk"), "HW 4");
}

}  // namespace
}  // namespace pelvoro
