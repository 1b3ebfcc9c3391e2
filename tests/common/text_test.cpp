#include "common/text.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "common/codepage.h"
#include "common/ini_file.h"
#include "common/text_measure.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

TEST(ParseInt, AcceptsWholeNumbersOnly) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {" 7 ", 7},
        {"-1", -1},
        {"+3", 3},
        {"$1F", 31},
        {"0x10", 16},
        {"", {}},
        {"-", {}},
        {"12a", {}},
        {"1.5", {}},
        {"2147483647", 2147483647},
        {"2147483648", {}},
        {"-2147483648", -2147483647 - 1},
        {"99999999999999999999", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SplitLines, KnowsEveryLineEnd) {
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    for (CodePage cp : {CodePage::Windows1250, CodePage::Windows1251, CodePage::Windows1252}) {
        std::string all;
        for (int b = 1; b < 256; ++b) all += char(b);
        EXPECT_EQ(fromUtf8(toUtf8(all, cp), cp), all);
    }
}

TEST(CodePage, KnownCharacters) {
    EXPECT_EQ(toUtf8("\xA7", CodePage::Windows1252), "\xC2\xA7");              // section sign
    EXPECT_EQ(toUtf8("\x80", CodePage::Windows1252), "\xE2\x82\xAC");          // euro
    EXPECT_EQ(toUtf8("\xC4\xC0", CodePage::Windows1251), "\xD0\x94\xD0\x90");  // Cyrillic DA
    EXPECT_EQ(fromUtf8("\xC3\xB6", CodePage::Windows1252), "\xF6");            // o umlaut
    EXPECT_EQ(fromUtf8("\xE2\x84\xA6", CodePage::Windows1252), "?");  // ohm sign: not in 1252
    EXPECT_EQ(codePageByName("windows-1251"), CodePage::Windows1251);
    EXPECT_EQ(codePageByName(""), CodePage::Windows1252);
    EXPECT_FALSE(codePageByName("ebcdic"));
}

TEST(IniFile, SectionsInFileOrderAndMissingValues) {
    IniFile ini =
        IniFile::parse("[First]\r\na=1\r\n[ENGLISH]\r\nfile=English.ini\r\n[Deutsch]\r\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"First", "ENGLISH", "Deutsch"}));
    EXPECT_EQ(ini.value("english", "FILE"), "English.ini");
    EXPECT_FALSE(ini.value("Deutsch", "file"));
    EXPECT_EQ(ini.value("None", "file", "fallback"), "fallback");
    EXPECT_FALSE(IniFile::load("/no/such/file.ini").exists());
}

TEST(WrapWords, BreaksAtBlanksAndCutsLongWords) {
    testing::FixedWidthMeasure m(1);  // one pixel per character
    FontSpec f;
    EXPECT_EQ(wrapWords(m, "aaa bbb ccc", f, 7), (std::vector<std::string>{"aaa bbb", "ccc"}));
    EXPECT_EQ(wrapWords(m, "abcdefghij", f, 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    EXPECT_EQ(wrapWords(m, "one\ntwo", f, 20), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(wrapWords(m, "", f, 20), (std::vector<std::string>{""}));
}

// Lines are the words joined by one blank whatever the blanks between them; a word cut at
// the width leaves its rest to start the next line.
TEST(WrapWords, JoinsWordsByOneBlank) {
    testing::FixedWidthMeasure m(1);
    FontSpec f;
    struct Case {
        std::string_view text;
        int width;
        std::vector<std::string> lines;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"aa  bb", 20, {"aa bb"}},
             {"  aa bb  ", 20, {"aa bb"}},
             {"aa bb  cc dd", 5, {"aa bb", "cc dd"}},
             {"aa  bb cc", 8, {"aa bb cc"}},
             {"aa  bb cc", 7, {"aa bb", "cc"}},
             {"one\n\ntwo", 20, {"one", "", "two"}},
             {"one\n two", 20, {"one", "two"}},
             {"\n", 20, {""}},
             {"   ", 20, {""}},
             {"ab abcdefghij cd", 4, {"ab", "abcd", "efgh", "ij", "cd"}},
             {"abcdefghij k", 4, {"abcd", "efgh", "ij k"}},
             {"abcdefghij  k", 4, {"abcd", "efgh", "ij k"}},
             {"a b c d e f", 3, {"a b", "c d", "e f"}},
         }) {
        EXPECT_EQ(wrapWords(m, std::string(c.text), f, c.width), c.lines) << c.text;
    }
}

}  // namespace
}  // namespace pelvoro
