// How the identification reply fills the instrument data record.

#include "protocols/family_c/family_c_identification.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

TEST(FamilyCBlock, NineFieldsOfFortyBytesFromByteTwo) {
    std::string b(kFamilyCIdentificationSize, '\xFF');
    auto put = [&](int field, const std::string& text) {
        b.replace(2 + field * 40, text.size(), text);
    };
    put(0, "   Firm data");
    put(1, "CV 61");
    put(2, "1.07");
    put(3, std::string(40, '9'));  // a full field without a terminator
    put(4, "unused");
    TInstrumentData d;
    d.line(3) = "kept";
    applyFamilyCBlock(d, b);
    EXPECT_EQ(d.line(8), "Firm data");
    EXPECT_EQ(d.line(2), "CV 61");
    EXPECT_EQ(d.line(4), "1.07");
    EXPECT_EQ(d.line(7), std::string(40, '9'));
    EXPECT_EQ(d.line(3), "kept");
}

}  // namespace
}  // namespace pelvoro
