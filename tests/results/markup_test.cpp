#include "results/markup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/lang_text.h"
#include "results/result_rows.h"

namespace pelvoro {
namespace {

TextCodeTable codesFrom(const std::string& iniText) {
    TextCodeTable table;
    table.fill(*LanguageFile::fromText("[Language]\n" + iniText));
    return table;
}

MarkupInterpreter interpreterWith(const TextCodeTable& codes) {
    MarkupSources sources;
    sources.textCodes = &codes;
    sources.keyText = [](std::string_view key) { return "<" + std::string(key) + ">"; };
    return MarkupInterpreter(std::move(sources));
}

std::vector<std::string> runTexts(const MarkupLine& line) {
    std::vector<std::string> texts;
    for (const auto& run : line.runs) texts.push_back(run.text);
    return texts;
}

TEST(Markup, ResultValueWithOhmSign) {
    TextCodeTable codes;
    const MarkupLine line = interpreterWith(codes).parse("X#PR#L2R: 12.5M#S258", MarkupMode::Write);
    EXPECT_EQ(line.props.level, 2);
    EXPECT_EQ(line.props.kind, "R");
    ASSERT_EQ(line.runs.size(), 2u);
    EXPECT_EQ(line.runs[0].text, "R: 12.5M");
    EXPECT_FALSE(line.runs[0].glyph);
    EXPECT_EQ(line.runs[1].symbol, 258);
    EXPECT_TRUE(line.runs[1].glyph);
    EXPECT_EQ(line.runs[1].text, "\xD9");
    EXPECT_EQ(line.runs[1].charSet, CharacterSet::Greek);
    EXPECT_EQ(line.runs[1].fontName, "Courier New");
}

TEST(Markup, ResultValueWithOhmSignOnTheClipboard) {
    TextCodeTable codes;
    const MarkupLine line =
        interpreterWith(codes).parse("X#PR#L2R: 12.5M#S258", MarkupMode::ClipBrd);
    EXPECT_EQ(line.text(), "R: 12.5M<imOhm>");
    ASSERT_EQ(line.runs.size(), 2u);
    EXPECT_FALSE(line.runs[1].glyph);
    EXPECT_FALSE(line.runs[1].picture);
}

TEST(Markup, TextCodeTakesTheCurrentAttributes) {
    const TextCodeTable codes = codesFrom("text20=Failed\n");
    const MarkupLine line = interpreterWith(codes).parse("X#CR#AR#K020", MarkupMode::Write);
    ASSERT_EQ(line.runs.size(), 1u);
    EXPECT_EQ(line.runs[0].text, "Failed");
    EXPECT_EQ(line.runs[0].colour, kMarkupRed);
    EXPECT_EQ(line.runs[0].alignment, RunAlignment::Right);
}

TEST(Markup, DoubleHashIsALiteralHash) {
    TextCodeTable codes;
    EXPECT_EQ(runTexts(interpreterWith(codes).parse("X##5", MarkupMode::Write)),
              (std::vector<std::string>{"#5"}));
    EXPECT_EQ(interpreterWith(codes).parse("Xa##b", MarkupMode::Write).text(), "a#b");
}

// Each token changes exactly the attributes named; the run after it shows them.
TEST(Markup, AttributeTokens) {
    struct Case {
        const char* tokens;
        std::function<void(TResultText&)> change;
    };
    const std::vector<Case> cases = {
        {"#AL", [](TResultText&) {}},
        {"#AR", [](TResultText& r) { r.alignment = RunAlignment::Right; }},
        {"#AC", [](TResultText& r) { r.alignment = RunAlignment::Centre; }},
        {"#AR#AL", [](TResultText&) {}},
        {"#CB", [](TResultText& r) { r.colour = kMarkupBlue; }},
        {"#CG", [](TResultText& r) { r.colour = kMarkupGreen; }},
        {"#CR", [](TResultText& r) { r.colour = kMarkupRed; }},
        {"#CR#Cb", [](TResultText&) {}},
        {"#FB", [](TResultText& r) { r.bold = true; }},
        {"#FI", [](TResultText& r) { r.italic = true; }},
        {"#FU", [](TResultText& r) { r.underline = true; }},
        {"#FB#FI#FU", [](TResultText& r) { r.bold = r.italic = r.underline = true; }},
        {"#H5", [](TResultText& r) { r.size = 5; }},
        {"#H9", [](TResultText& r) { r.size = 9; }},
        {"#HA", [](TResultText& r) { r.size = 10; }},
        {"#HC", [](TResultText& r) { r.size = 12; }},
        {"#HF", [](TResultText& r) { r.size = 15; }},
        {"#H4", [](TResultText&) {}},
        {"#HG", [](TResultText&) {}},
        // Unknown arguments are consumed without effect; so are unknown letters.
        {"#AX", [](TResultText&) {}},
        {"#Cr", [](TResultText&) {}},
        {"#FX", [](TResultText&) {}},
        {"#Q", [](TResultText&) {}},
        {"#z", [](TResultText&) {}},
        {"#L9", [](TResultText&) {}},
        {"#PZ", [](TResultText&) {}},
    };
    TextCodeTable codes;
    const MarkupInterpreter interpreter = interpreterWith(codes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tokens);
        const MarkupLine line =
            interpreter.parse(std::string("X") + c.tokens + "x", MarkupMode::Write);
        TResultText expected;
        expected.text = "x";
        c.change(expected);
        ASSERT_EQ(line.runs.size(), 1u);
        EXPECT_EQ(line.runs[0], expected);
    }
}

TEST(Markup, LineProperties) {
    struct Case {
        const char* line;
        int level;
        const char* kind;
    };
    const std::vector<Case> cases = {
        {"Xtext", 1, ""},   {"X#L1", 1, ""},     {"X#L2", 2, ""},
        {"X#L3", 3, ""},    {"X#L4", 1, ""},     {"X#L0", 1, ""},
        {"X#PC", 1, "C"},   {"X#PD", 1, "D"},    {"X#PL", 1, "L"},
        {"X#PN", 1, "N"},   {"X#PR", 1, "R"},    {"X#PS", 1, "S"},
        {"X#PV", 1, "V"},   {"X#PX", 1, ""},     {"X#Pr", 1, ""},
        {"X#L3#L2", 2, ""}, {"X#PR#PL", 1, "L"}, {"X#PR#L3text#L2", 2, "R"},
    };
    TextCodeTable codes;
    const MarkupInterpreter interpreter = interpreterWith(codes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const MarkupLine line = interpreter.parse(c.line, MarkupMode::Write);
        EXPECT_EQ(line.props.level, c.level);
        EXPECT_EQ(line.props.kind, c.kind);
    }
}

TEST(Markup, ArgumentOfATwoLetterTokenIsConsumedEvenWhenItIsAHash) {
    TextCodeTable codes;
    // "#A#" consumes the "#"; "CR" is then plain text.
    EXPECT_EQ(interpreterWith(codes).parse("X#A#CRx", MarkupMode::Write).text(), "CRx");
}

TEST(Markup, AttributesAreStickyWithinALineAndResetPerLine) {
    TextCodeTable codes;
    MarkupInterpreter interpreter = interpreterWith(codes);
    MarkupLine line;
    interpreter.parse("Xab#CR#FBcd#H8ef", MarkupMode::Write, line);
    ASSERT_EQ(runTexts(line), (std::vector<std::string>{"ab", "cd", "ef"}));
    EXPECT_EQ(line.runs[0].colour, kMarkupBlack);
    EXPECT_EQ(line.runs[1].colour, kMarkupRed);
    EXPECT_TRUE(line.runs[1].bold);
    EXPECT_EQ(line.runs[2].colour, kMarkupRed);
    EXPECT_TRUE(line.runs[2].bold);
    EXPECT_EQ(line.runs[2].size, 8);

    interpreter.parse("X#PRnext", MarkupMode::Write, line);  // the same record, reused
    ASSERT_EQ(line.runs.size(), 1u);
    TResultText expected;
    expected.text = "next";
    EXPECT_EQ(line.runs[0], expected);
    EXPECT_EQ(line.props.kind, "R");
}

TEST(Markup, DefaultFontCanBeChangedAndReset) {
    TextCodeTable codes;
    MarkupInterpreter interpreter = interpreterWith(codes);
    interpreter.setDefaultFont("Arial", 8);
    MarkupLine line = interpreter.parse("Xa", MarkupMode::Write);
    EXPECT_EQ(line.runs[0].fontName, "Arial");
    EXPECT_EQ(line.runs[0].size, 8);
    interpreter.resetAttributes();
    line = interpreter.parse("Xa", MarkupMode::Write);
    EXPECT_EQ(line.runs[0].fontName, "Courier New");
    EXPECT_EQ(line.runs[0].size, 10);
}

TEST(Markup, ControlCharactersAndByte255AreDropped) {
    TextCodeTable codes;
    const std::string line = std::string("Xa\tb\nc") + char(0) + "d\xFF" + "e\xFE\x80";
    EXPECT_EQ(interpreterWith(codes).parse(line, MarkupMode::Write).text(), "abcde\xFE\x80");
}

TEST(Markup, EmptyLineAndMarkerOnly) {
    TextCodeTable codes;
    for (const char* text : {"", "X", "#", "XX"}) {
        SCOPED_TRACE(text);
        const MarkupLine line = interpreterWith(codes).parse(text, MarkupMode::Write);
        EXPECT_EQ(line.props, TResCommProp{});
    }
    EXPECT_TRUE(interpreterWith(codes).parse("#", MarkupMode::Write).runs.empty());
    EXPECT_EQ(interpreterWith(codes).parse("XX", MarkupMode::Write).text(), "X");
}

TEST(Markup, SymbolOccupiesARunOfItsOwn) {
    TextCodeTable codes;
    const MarkupLine line = interpreterWith(codes).parse("Xa#S348b#S349#S349", MarkupMode::Write);
    ASSERT_EQ(line.runs.size(), 5u);
    EXPECT_EQ(line.runs[0].text, "a");
    EXPECT_TRUE(line.runs[1].picture);
    EXPECT_EQ(line.runs[1].symbol, 348);
    EXPECT_EQ(line.runs[2].text, "b");
    EXPECT_EQ(line.runs[2].symbol, 0);
    EXPECT_EQ(line.runs[3].symbol, 349);
    EXPECT_EQ(line.runs[4].symbol, 349);
}

TEST(Markup, GlyphChangesFontOnlyForItsOwnRun) {
    TextCodeTable codes;
    const MarkupLine line = interpreterWith(codes).parse("X#HCU #S270 5", MarkupMode::Write);
    ASSERT_EQ(line.runs.size(), 3u);
    EXPECT_EQ(line.runs[1].fontName, "Symbol");
    EXPECT_EQ(line.runs[1].charSet, CharacterSet::Symbol);
    EXPECT_EQ(line.runs[1].text, "\xB3");
    EXPECT_EQ(line.runs[1].size, 12);
    EXPECT_EQ(line.runs[2].fontName, "Courier New");
    EXPECT_EQ(line.runs[2].charSet, CharacterSet::Default);
    EXPECT_EQ(line.runs[2].size, 12);
}

TEST(Markup, NotMeasuredPlaceholder) {
    TextCodeTable codes;
    const std::string text = "XU: " + std::string(kNotMeasuredPlaceholder) + "V";
    const MarkupLine write = interpreterWith(codes).parse(text, MarkupMode::Write);
    ASSERT_EQ(write.runs.size(), 5u);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(write.runs[i].glyph);
        EXPECT_EQ(write.runs[i].text, "_");
    }
    EXPECT_EQ(interpreterWith(codes).parse(text, MarkupMode::ClipBrd).text(), "U: ___V");
}

// Every symbol: its clipboard text, and what it becomes for the screen.
TEST(Markup, SymbolTable) {
    struct Case {
        int code;
        const char* clip;
        enum { Picture, Glyph, Nothing } write;
    };
    const std::vector<Case> cases = {
        {257, "<imSmer>", Case::Picture},
        {258, "<imOhm>", Case::Glyph},
        {270, ">=", Case::Glyph},
        {272, "_", Case::Glyph},
        {274, "rho", Case::Glyph},
        {277, "x 1/2", Case::Picture},
        {278, "x 1", Case::Picture},
        {279, "x 5", Case::Picture},
        {300, "AC 0\xB0", Case::Picture},
        {301, "AC 180\xB0", Case::Picture},
        {302, "A 0\xB0", Case::Picture},
        {303, "A 180\xB0", Case::Picture},
        {304, "AC x 1/2 0\xB0", Case::Picture},
        {305, "AC x 1/2 180\xB0", Case::Picture},
        {306, "A x 1/2 0\xB0", Case::Picture},
        {307, "A x 1/2 180\xB0", Case::Picture},
        {308, "AC x 1 0\xB0", Case::Picture},
        {309, "AC x 1 180\xB0", Case::Picture},
        {310, "A x 1 0\xB0", Case::Picture},
        {311, "A x 1 180\xB0", Case::Picture},
        {312, "AC x 5 0\xB0", Case::Picture},
        {313, "AC x 5 180\xB0", Case::Picture},
        {314, "A x 5 0\xB0", Case::Picture},
        {315, "A x 5 180\xB0", Case::Picture},
        {316, "G", Case::Picture},
        {317, "S", Case::Picture},
        {318, "AC", Case::Picture},
        {319, "A", Case::Picture},
        {320, "<imStep>", Case::Picture},
        {321, "B neg", Case::Picture},
        {322, "B pos", Case::Picture},
        {323, "B", Case::Picture},
        {324, "B x 1/2 pos", Case::Picture},
        {325, "B x 1/2 neg", Case::Picture},
        {326, "B x 1 pos", Case::Picture},
        {327, "B x 1 neg", Case::Picture},
        {328, "B x 5 pos", Case::Picture},
        {329, "B x 5 neg", Case::Picture},
        {330, "AC 0\xB0", Case::Picture},
        {331, "AC 180\xB0", Case::Picture},
        {332, "A 0\xB0", Case::Picture},
        {333, "A 180\xB0", Case::Picture},
        {341, " ", Case::Picture},
        {342, "  ", Case::Picture},
        {343, "  ", Case::Picture},
        {344, "  ", Case::Picture},
        {346, "", Case::Picture},
        {348, "  ", Case::Picture},
        {349, "  ", Case::Picture},
        {350, "  ", Case::Picture},
        {351, "  ", Case::Picture},
        {352, "  ", Case::Picture},
        {356, "AC x 2 0\xB0", Case::Picture},
        {357, "AC x 2 180\xB0", Case::Picture},
        {358, "A x 2 0\xB0", Case::Picture},
        {359, "A x 2 180\xB0", Case::Picture},
        {360, "B x 2 pos", Case::Picture},
        {361, "B x 2 neg", Case::Picture},
        // Codes without an entry give an empty run in both modes.
        {0, "", Case::Nothing},
        {256, "", Case::Nothing},
        {345, "", Case::Nothing},
        {999, "", Case::Nothing},
    };
    TextCodeTable codes;
    const MarkupInterpreter interpreter = interpreterWith(codes);
    size_t listed = 0;
    for (const auto& c : cases) {
        char token[8];
        std::snprintf(token, sizeof token, "#S%03d", c.code);
        SCOPED_TRACE(token);
        const MarkupLine clip = interpreter.parse(std::string("X") + token, MarkupMode::ClipBrd);
        ASSERT_EQ(clip.runs.size(), 1u);
        EXPECT_EQ(clip.runs[0].text, c.clip);
        EXPECT_FALSE(clip.runs[0].picture || clip.runs[0].glyph);

        const MarkupLine write = interpreter.parse(std::string("X") + token, MarkupMode::Write);
        ASSERT_EQ(write.runs.size(), 1u);
        EXPECT_EQ(write.runs[0].symbol, c.code);
        EXPECT_EQ(write.runs[0].picture, c.write == Case::Picture);
        EXPECT_EQ(write.runs[0].glyph, c.write == Case::Glyph);
        EXPECT_EQ(write.runs[0].text.empty(), c.write != Case::Glyph);
        EXPECT_EQ(markupSymbol(c.code).known, c.write != Case::Nothing);
        if (c.write != Case::Nothing) ++listed;
    }
    EXPECT_EQ(listed, markupSymbolCodes().size());
}

TEST(Markup, SymbolTextsComeFromTheCurrentLanguage) {
    const auto previous = currentLanguageFile();
    setCurrentLanguageFile(LanguageFile::fromText("[Language]\nimOhm=Ohm\nimStep=Ramp\n"));
    const MarkupLine line =
        ParseMarkup("XR: 2k#S258 #S320 #S257", MarkupMode::ClipBrd, TextCodeTable());
    setCurrentLanguageFile(previous);
    EXPECT_EQ(line.text(), "R: 2kOhm Ramp **");
}

TEST(Markup, NoMoreThanTwentyRuns) {
    TextCodeTable codes;
    std::string text = "X";
    for (int i = 0; i < 25; ++i) text += "#S348t" + std::to_string(i);
    text += "#L3#PR";
    const MarkupLine line = interpreterWith(codes).parse(text, MarkupMode::Write);
    ASSERT_EQ(line.runs.size(), 20u);
    EXPECT_EQ(line.runs[19].text, "t9");
    // Tokens after the last kept run still set the line's properties.
    EXPECT_EQ(line.props.level, 3);
    EXPECT_EQ(line.props.kind, "R");
}

TEST(Markup, TextCodesAreInterpretedAsMarkup) {
    const TextCodeTable codes = codesFrom(
        "text1=#FBTitle\n"
        "text2=a#K003b\n"
        "text3=#CG3\n"
        "text600=last\n");
    const MarkupInterpreter interpreter = interpreterWith(codes);
    MarkupLine line = interpreter.parse("X#K001 rest", MarkupMode::Write);
    ASSERT_EQ(runTexts(line), (std::vector<std::string>{"Title", " rest"}));
    EXPECT_TRUE(line.runs[0].bold);
    EXPECT_TRUE(line.runs[1].bold);  // the code's own tokens stay in effect

    line = interpreter.parse("X#K002c", MarkupMode::Write);
    ASSERT_EQ(runTexts(line), (std::vector<std::string>{"a", "3", "b", "c"}));
    EXPECT_EQ(line.runs[0].colour, kMarkupBlack);
    EXPECT_EQ(line.runs[1].colour, kMarkupGreen);

    EXPECT_EQ(interpreter.parse("X#K600", MarkupMode::Write).text(), "last");
    EXPECT_EQ(interpreter.parse("X<#K601>", MarkupMode::Write).text(), "<>");
    EXPECT_EQ(interpreter.parse("X<#K999>", MarkupMode::Write).text(), "<>");
}

TEST(Markup, SelfReferringTextCodesEnd) {
    const TextCodeTable codes = codesFrom(
        "text1=a#K001b\n"
        "text2=x#K003\n"
        "text3=y#K002\n");
    const MarkupInterpreter interpreter = interpreterWith(codes);
    EXPECT_EQ(interpreter.parse("X#K001", MarkupMode::Write).text(), "ab");
    EXPECT_EQ(interpreter.parse("X#K002", MarkupMode::Write).text(), "xy");
    // The same code may appear several times one after another.
    EXPECT_EQ(interpreter.parse("X#K003#K003", MarkupMode::ClipBrd).text(), "yxyx");
}

TEST(Markup, ChainOfDoublingTextCodesStaysCheap) {
    std::string ini;
    for (int i = 1; i < 100; ++i) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "text%d=#K%03d#K%03d\n", i, i + 1, i + 1);
        ini += entry;
    }
    ini += "text100=z\n";
    const TextCodeTable codes = codesFrom(ini);
    // Without a bound on expansions this would expand 2^99 times and never end.
    const MarkupLine line = interpreterWith(codes).parse("X#K001", MarkupMode::Write);
    EXPECT_EQ(line.text().find_first_not_of('z'), std::string::npos);
    EXPECT_LE(line.runs.size(), size_t(kMaxMarkupRuns));
}

// Cut-off tokens at the end of a line, and malformed numbers, never read past the line
// and never swallow a following token.
TEST(Markup, TruncatedAndMalformedTokens) {
    struct Case {
        const char* line;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"Xa#", "a"},       {"Xa#K", "a"},      {"Xa#K0", "a"},       {"Xa#K00", "a"},
        {"Xa#S", "a"},      {"Xa#S2", "a"},     {"Xa#S25", "a"},      {"Xa#A", "a"},
        {"Xa#C", "a"},      {"Xa#F", "a"},      {"Xa#H", "a"},        {"Xa#L", "a"},
        {"Xa#P", "a"},      {"Xa#K1x2", "ax2"}, {"Xa#S25#CRb", "ab"}, {"Xa#K-12b", "a-12b"},
        {"Xa#S2a8", "aa8"}, {"X#K0001", "1"},
    };
    const TextCodeTable codes = codesFrom("text0=\n");
    const MarkupInterpreter interpreter = interpreterWith(codes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        // A copy without a terminating byte after it shows reads past the end to tools.
        const std::string line(c.line);
        const MarkupLine parsed =
            interpreter.parse(std::string_view(line.data(), line.size()), MarkupMode::Write);
        EXPECT_EQ(parsed.text(), c.text);
    }
    EXPECT_EQ(interpreter.parse("Xa#S25#CRb", MarkupMode::Write).runs.back().colour, kMarkupRed);
}

TEST(Markup, RunsTakeTheAttributesCurrentWhenClosed) {
    TextCodeTable codes;
    // A symbol closes the open text run; the text after it opens a new run.
    const MarkupLine line =
        interpreterWith(codes).parse("X#AR#CRFailed#S349#Cb ok", MarkupMode::Write);
    ASSERT_EQ(line.runs.size(), 3u);
    EXPECT_EQ(line.runs[0].alignment, RunAlignment::Right);
    EXPECT_EQ(line.runs[1].colour, kMarkupRed);
    EXPECT_EQ(line.runs[2].colour, kMarkupBlack);
    EXPECT_EQ(line.runs[2].alignment, RunAlignment::Right);
}

// What the clipboard keeps of a line (properties, first run, text) is what the runs of
// the line show, whichever way the line is interpreted.
TEST(Markup, TheClipboardKeepsWhatTheRunsShow) {
    const TextCodeTable codes = codesFrom(
        "text1=Pass\n"
        "text2=a#K003b\n"
        "text3=#AR#CG3\n");
    const MarkupInterpreter interpreter = interpreterWith(codes);
    std::string many = "X#PR";
    for (int i = 0; i < 25; ++i)
        many += (i % 3 ? "#AR" : "#AL") + std::string("#S348t") + std::to_string(i);
    const std::vector<std::string> lines = {
        "",
        "X",
        "X#PR#L2R: 12.5M#S258",
        "X#PR#L1#FBTest#AR#K001",
        "X#PV#ACcentre#ALleft#AR right",
        "X#PS#S346after",
        "X#PD#S999x##y",
        "X#PL#L3#K002c",
        many,
    };
    ClipboardLine kept;
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        const MarkupLine parsed = interpreter.parse(line, MarkupMode::ClipBrd);
        interpreter.parseClipboard(line, kept);
        EXPECT_EQ(kept.props, parsed.props);
        EXPECT_EQ(kept.firstRun, parsed.runs.empty() ? "" : parsed.runs[0].text);
        EXPECT_EQ(kept.text, clipboardLineText(parsed));
    }
}

}  // namespace
}  // namespace pelvoro
