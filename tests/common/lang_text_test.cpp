#include "common/lang_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/language_fixture.h"

namespace pelvoro {
namespace {

using testing::TempDir;

TEST(LanguageFile, ValuesFollowTheIniRules) {
    TempDir dir;
    dir.write("L.ini",
              "; comment\r\n[Other]\r\nbtnOK_8=Wrong\r\n[Language]\r\n"
              "btnOK_8 =   OK  \r\n"
              "quoted_10=\"  spaced  \"\r\n"
              "single_10='x'\r\n"
              "half_10=\"open\r\n"
              "twoLines_30=first\xA7second\r\n"
              "tail_10=end\xA7\r\n"
              "only_5=\xA7\r\n"
              "empty_5=\r\n"
              "btnOK_8=Duplicate\r\n");
    auto f = LanguageFile::load(dir.file("L.ini"));
    ASSERT_TRUE(f->exists());
    struct Case {
        const char* key;
        std::string expected;
    } cases[] = {
        {"btnOK_8", "OK"},            // trimmed; the first of two wins; other sections ignored
        {"BTNOK_8", "OK"},            // keys compare without case
        {"btnOK_8 ", "OK"},           // and without blanks around them, as ini files do
        {"quoted_10", "  spaced  "},  // a quote pair goes, what it held stays
        {"single_10", "x"},
        {"half_10", "\"open"},             // a lone quote stays
        {"twoLines_30", "first\nsecond"},  // 0xA7 is a line break
        {"tail_10", "end\xA7"},            // except in last position
        {"only_5", "\xA7"},                // a one-character value is left alone
        {"empty_5", ""},
        {"missing_15", "**"},
    };
    for (const auto& c : cases) EXPECT_EQ(f->text(c.key), c.expected) << c.key;
}

TEST(LanguageFile, MissingFileGivesStarsForEveryKey) {
    auto f = LanguageFile::load("/nonexistent/folder/English.ini");
    EXPECT_FALSE(f->exists());
    EXPECT_EQ(f->text("btnOK_8"), "**");
}

TEST(LangText, UsesTheCurrentLanguage) {
    {
        testing::ScopedLanguage lang("[Language]\r\nmsgTerminate_35=Exit?\r\n");
        EXPECT_EQ(LangText("msgTerminate_35"), "Exit?");
        EXPECT_EQ(LangText("msgOther_35"), "**");
    }
}

// Keys asked again and again are kept per thread: every length, keys that differ in one byte
// only (first, middle, last), and a new current language replaces every kept text.
TEST(LangText, KeptTextsBelongToTheirExactKeyAndLanguage) {
    std::vector<std::string> keys;
    for (size_t n = 1; n <= 44; ++n) {
        std::string key(n, 'k');
        keys.push_back(key);
        for (size_t at : {size_t(0), n / 2, n - 1}) {
            std::string other = key;
            other[at] = 'q';
            if (std::find(keys.begin(), keys.end(), other) == keys.end()) keys.push_back(other);
        }
    }
    for (const char* language : {"one", "two"}) {
        std::string ini = "[Language]\r\n";
        for (size_t i = 0; i < keys.size(); ++i)
            if (i % 3 != 2) ini += keys[i] + "=" + language + std::to_string(i) + "\r\n";
        testing::ScopedLanguage lang(ini);
        for (int round = 0; round < 3; ++round) {
            for (size_t i = 0; i < keys.size(); ++i) {
                const std::string want =
                    i % 3 != 2 ? language + std::to_string(i) : std::string("**");
                EXPECT_EQ(LangText(keys[i]), want) << keys[i];
            }
        }
    }
}

TEST(TextCodeTable, HoldsText0ToText600) {
    std::string ini =
        "[Language]\r\ntext0=zero\r\ntext7=seven\r\ntext600=last\r\ntext601=beyond\r\n";
    auto f = LanguageFile::fromText(ini);
    TextCodeTable table;
    table.fill(*f);
    EXPECT_EQ(table.at(0), "zero");
    EXPECT_EQ(table.at(7), "seven");
    EXPECT_EQ(table.at(600), "last");
    EXPECT_EQ(table.at(601), "");  // beyond the table: empty, not the file's text601
    EXPECT_EQ(table.at(-1), "");
    EXPECT_EQ(table.at(5), "**");  // a missing code reads like any missing key
}

TEST(InstrVariant, TailsDecideTheVariantWord) {
    struct Case {
        const char* name;
        const char* before;
        const char* expected;
    } cases[] = {
        {"TQ 42-E", "", "EU"},
        {"TQ 42-ESP", "", "ESP"},  // "-ESP" is not mistaken for "-E"
        {"X-K", "", "KORVEN"},
        {"X-AUS", "", "AUS"},
        {"X-OST", "", "AVSTRIJA"},
        {"X-CH", "", "SVICA"},
        {"X-IT", "", "MARUT"},
        {"X-DE", "", "DE"},
        {"TQ 41 UK  ", "", "KORVEN"},
        {"TQ 41 UK", "old", "old"},  // without the two blanks nothing
                                     // changes
        {"X-SO", "", "SOLVIK"},
        {"X-VARN", "", "VARN"},
        {"X-DOSK", "", "DOSK"},
        {"X-e", "kept", "kept"},  // case-sensitive
        {"", "kept", "kept"},
    };
    for (const auto& c : cases) {
        std::string variant = c.before;
        deriveInstrVariant(c.name, variant);
        EXPECT_EQ(variant, c.expected) << '"' << c.name << '"';
    }
}

}  // namespace
}  // namespace pelvoro
