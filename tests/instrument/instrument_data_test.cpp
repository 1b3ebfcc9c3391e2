// The pure rules of the instrument data: write encodings, checksums, the serial number
// field and Increment.

#include "instrument/instrument_data.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

TEST(Writes, ClockValuesAreUpperCaseHexOfAtLeastTwoDigits) {
    EXPECT_EQ(hexField(2024), "7E8");
    EXPECT_EQ(hexField(5), "05");
    EXPECT_EQ(hexField(0), "00");
    EXPECT_EQ(hexField(59), "3B");
    EXPECT_EQ(clockWriteCommand("MDT", {2024, 12, 9, 7, 5, 59}), "MDT\r7E8\r0C\r09\r07\r05\r3B\r");
    EXPECT_EQ(clockWriteCommand("MCD", {2000, 1, 1, 0, 0, 0}), "MCD\r7D0\r01\r01\r00\r00\r00\r");
}

TEST(Writes, SerialNumberChecksumIsXoredWithTheMask) {
    // '1' + '2' = 0x31 + 0x32 = 0x63; 0x0063 ^ 0x58E3 = 0x5880.
    EXPECT_EQ(serialNumberWriteCommand("12"), std::string("MWN\r\x80\x58"
                                                          "12\0",
                                                          9));
}

TEST(Writes, BoxTextLosesItsLineFeedsBeforeSummingAndTheSumWraps) {
    // "A\r\nB" is sent as "A\rB": 0x41 + 0x0D + 0x42 = 0x90.
    EXPECT_EQ(boxTextWriteCommand("MWU", "A\r\nB"), std::string("MWU\r\x90\x00"
                                                                "A\rB\0",
                                                                10));
    std::string many(300, '\xFF');  // 300 * 255 = 76500 = 0x12AD4 -> 0x2AD4
    EXPECT_EQ(textChecksum(many), 0x2AD4);
    std::string cmd = boxTextWriteCommand("MWF", many);
    EXPECT_EQ(cmd.substr(0, 6), std::string("MWF\r\xD4\x2A", 6));
    EXPECT_EQ(cmd.back(), '\0');
}

TEST(Writes, StatusLine) {
    struct Case {
        bool received;
        const char* line;
        bool ok;
        const char* code;
    } cases[] = {
        {true, "SER", true, ""}, {true, "SER0", true, ""},  {true, "SER12", false, "12"},
        {true, "OK", true, ""},  {false, "SER", false, ""}, {false, "", false, ""},
        {true, "SE5", true, ""},
    };
    for (const Case& c : cases) {
        WriteStatus s = interpretWriteStatus(c.received, c.line);
        EXPECT_EQ(s.ok, c.ok) << c.line;
        EXPECT_EQ(s.errorCode, c.code) << c.line;
    }
}

TEST(Increment, AddsOneKeepingLeadingZerosWithinEightCharacters) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"00000099", "00000100"},
        {"0", "1"},
        {"1234", "1235"},
        {"99999999", "99999999"},
        {"09999999", "10000000"},
        {"00000000", "00000001"},
        {"9999999", "10000000"},
        {"12a4", "12a4"},
        {"", ""},
        {"-5", "-5"},
        {"007", "008"},
    };
    for (const Case& c : cases) EXPECT_EQ(incrementSerialNumber(c.in), c.out) << c.in;
}

TEST(SerialNumberField, OnlyDigitsAndBackspaceMayChangeTheText) {
    SerialNumberFieldRules rules;
    rules.reset("123");
    rules.keyPressed('4', false);
    EXPECT_EQ(rules.changed("1234"), "1234");
    rules.keyPressed('x', false);
    EXPECT_EQ(rules.changed("1234x"), "1234");  // snaps back
    EXPECT_TRUE(rules.changeAllowed());
    rules.keyPressed('\b', true);
    EXPECT_EQ(rules.changed("123"), "123");
    rules.keyPressed('\0', false);  // Delete, Ctrl+V...
    EXPECT_EQ(rules.changed("12"), "123");
    rules.clicked("555");
    EXPECT_EQ(rules.acceptedText(), "555");
    EXPECT_TRUE(rules.changeAllowed());
}

TEST(ServiceSwitches, ComparedExactlyAtTheirPositions) {
    using V = std::vector<std::string>;
    EXPECT_TRUE(serviceSwitchesFromArguments(V{"brenkolivsaja"}).factory);
    EXPECT_FALSE(serviceSwitchesFromArguments(V{"x", "brenkolivsaja"}).factory);
    EXPECT_FALSE(serviceSwitchesFromArguments(V{"Brenkolivsaja"}).factory);
    EXPECT_TRUE(serviceSwitchesFromArguments(V{"mirtavek"}).calibration);
    ServiceSwitches both = serviceSwitchesFromArguments(V{"brenkolivsaja", "mirtavek"});
    EXPECT_TRUE(both.factory && both.calibration);
    EXPECT_FALSE(serviceSwitchesFromArguments(V{"a", "b", "mirtavek"}).calibration);
    EXPECT_FALSE(serviceSwitchesFromArguments(V{}).factory);
    EXPECT_TRUE(isStartDocumentArgument(V{"/tmp/a.TMV"}));
    EXPECT_FALSE(isStartDocumentArgument(V{"mirtavek", "/tmp/a.TMV"}));
    EXPECT_FALSE(isStartDocumentArgument(V{""}));
    EXPECT_FALSE(isStartDocumentArgument(V{}));
}

TEST(InstrumentDialog, SendStateByModel) {
    EXPECT_EQ(sendEnabledForModel("TQ41"), true);
    EXPECT_EQ(sendEnabledForModel("AutoFind"), true);
    EXPECT_EQ(sendEnabledForModel("TQ52"), true);
    EXPECT_EQ(sendEnabledForModel("TQ42"), false);
    EXPECT_EQ(sendEnabledForModel("TQ61"), false);
    EXPECT_EQ(sendEnabledForModel("CV61"), std::nullopt);
    EXPECT_EQ(sendEnabledForModel("RB7"), std::nullopt);
}

TEST(InstrumentDialog, BoxShowsSixLabelledLines) {
    TInstrumentData d;
    d.line(2) = "N";
    d.line(3) = "M";
    d.line(4) = "F";
    d.line(5) = "H";
    d.line(10) = "D";
    d.line(11) = "C";
    EXPECT_EQ(instrumentBoxText(d),
              "Name:      N\nModel:     M\nFW ver.:   F\nHW ver.:   H\nDoc. ver.: D\nCal. date: C");
    EXPECT_EQ(instrumentBoxTemplate(),
              "Name:      \nModel:     \nFW ver.:   \nHW ver.:   \nDoc. ver.: \nCal. date: ");
}

}  // namespace
}  // namespace pelvoro
