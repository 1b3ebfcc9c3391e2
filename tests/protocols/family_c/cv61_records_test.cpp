// The machine tester's record texts.

#include "protocols/family_c/cv61_records.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

TEST(CV61Record, ValueTexts) {
    struct Case {
        unsigned char v0, v1, v2;
        const char* text;
    };
    for (const Case& c : {
             Case{0x13, 0x01, 0x23, "0.123kV"},     // point code 3, kV
             Case{0xBA, 0x19, 0x99, ">19.99MOhm"},  // greater-than, MOhm, point code 2
             Case{0x00, 0xFF, 0xFF, ""},            // no value
             Case{0x3A, 0xAA, 0xAA, "*****MOhm"},   // over range
             Case{0x08, 0xBB, 0xBB, "____V"},       // not measured
             Case{0x24, 0x12, 0x34, ".1234mA"},     // point code 4: before the first digit
             Case{0x20, 0x12, 0x34, "1234mA"},      // point code 0: none
             Case{0x25, 0x12, 0x34, "1234mA"},      // point code 5: none
             Case{0x2A, 0x1F, 0x34, "1Ohm"},        // a digit above 9 ends the digits
             Case{0x43, 0x04, 0x20, "0.420s"},      // unit 8
             Case{0x78, 0x00, 0x05, "0005"},        // unit code 15: none
         }) {
        EXPECT_EQ(cv61Value(c.v0, c.v1, c.v2), c.text) << c.text;
    }
}

std::string record(int function, int bits, int setting, std::string values = "") {
    std::string r = {1,    2,    0,    7,   char(function), char(bits), char(setting), 0x09,
                     0x45, 0x31, 0x12, 0x26};
    if (values.empty()) values = std::string("\x13\x01\x23\x22\x01\x50\x00\xFF\xFF", 9);
    return r + values;
}

TEST(CV61Record, FpStringsOfTheFiveFunctionsWithTheirSettings) {
    struct Case {
        int function, bits, setting;
        const char* fp;
        const char* nameKey;
    };
    const std::string v = std::string("\x13\x01\x23\x22\x01\x50\x00\xFF\xFF", 9);
    for (const Case& c : {
             Case{1, 0, 0, "F;301;0.123kV;01.50mA;;1mA;1000V; (R);", "HV_16"},
             Case{1, 6, 17, "F;301;0.123kV;01.50mA;;333mA;1500V; (C);", "HV_16"},
             Case{1, 9, 12, "F;301;0.123kV;01.50mA;;100mA;1250V;;", "HV_16"},
             Case{1, 3, 5, "F;301;0.123kV;01.50mA;;30mA;; (R);", "HV_16"},
             Case{2, 0, 2, "F;302;0.123kV;01.50mA;;3.3V, 1.0mm2;;;", "dU_16"},
             Case{2, 0, 7, "F;302;0.123kV;01.50mA;;;;;", "dU_16"},
             Case{3, 0, 105, "F;303;0.123kV;01.50mA;;1500mOhm;;;", "R-10A_16"},
             Case{3, 0, 110, "F;303;0.123kV;01.50mA;;2000mOhm;;;", "R-10A_16"},
             Case{3, 0, 0, "F;303;0.123kV;01.50mA;;*mOhm;;;", "R-10A_16"},
             Case{4, 1, 3, "F;304;0.123kV;01.50mA;;0.4MOhm;1000V;;", "MOhm_16"},
             Case{4, 0, 12, "F;304;0.123kV;01.50mA;;4MOhm;500V;;", "MOhm_16"},
             Case{4, 0, 20, "F;304;0.123kV;01.50mA;;30MOhm;500V;;", "MOhm_16"},
             Case{5, 1, 0, "F;305;0.123kV;;;;4P;;", "dT_16"},  // values 2 and 3 empty
             Case{6, 0, 0, "F;0.123kV;01.50mA;;;;;", ""},
         }) {
        CV61Texts t = decodeCV61Record(record(c.function, c.bits, c.setting, v), "2P", "4P");
        EXPECT_EQ(cv61FpString(t), c.fp);
        EXPECT_STREQ(cv61NameKey(c.function), c.nameKey);
        EXPECT_EQ(t.date, "31.12.26");
        EXPECT_EQ(t.time, "09:45");
        EXPECT_EQ(t.machine, 2);
        EXPECT_FALSE(cv61RecordDamaged(record(c.function, c.bits, c.setting, v)));
    }
    // Time and date are BCD: a nibble above 9 is line noise, wherever it stands.
    const std::string good = record(1, 0, 0, v);
    for (std::size_t at = 7; at <= 11; ++at)
        for (unsigned char garbled : {0x0D, 0xA0}) {
            std::string r = good;
            r[at] = char(garbled);
            EXPECT_TRUE(cv61RecordDamaged(r)) << "byte " << at;
        }
}

}  // namespace
}  // namespace pelvoro
