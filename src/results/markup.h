#pragma once
// The display mark-up of result lines and its interpreter.
//
// A mark-up line is an 8-bit string: a marker character that is skipped (the generator
// writes "X"), then plain text mixed with "#" tokens:
//
//   ##            a literal "#"
//   #Knnn         text code nnn of the text-code table, interpreted in place
//   #Snnn         symbol code nnn: a run of its own (picture, glyph or, for the
//                 clipboard, a text)
//   #AL #AR #AC   alignment of the following runs
//   #CB #CG #CR #Cb  colour: blue, green, red, black
//   #FB #FI #FU   adds bold, italic, underline (cumulative within the line)
//   #H5..#H9, #HA..#HF  font size 5..15 points
//   #L1 #L2 #L3   detail level of the line
//   #Px           kind of the line (C, D, L, N, R, S, V)
//
// Any other letter after "#" is consumed without effect; after A, C, F, H, L and P the
// next character is consumed too, whatever it is. Every "#" closes the current run when
// it holds text; a run takes the attributes current when it is closed. A line keeps at
// most 20 runs.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pelvoro {

class TextCodeTable;

// "Write" draws symbols as pictures and glyphs (screen, printer); "ClipBrd" turns them
// into their text equivalents (clipboard, text export).
enum class MarkupMode { Write, ClipBrd };

enum class RunAlignment { Left = 0, Right = 1, Centre = 2 };

// The character set a run's bytes are meant in. Default is the language's code page;
// Greek holds the ohm sign (0xD9) and rho (0xF1); Symbol is the symbol font's own
// encoding (0xB3 is the sign >=).
enum class CharacterSet { Default, Greek, Symbol };

struct MarkupColour {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const MarkupColour&, const MarkupColour&) = default;
};

inline constexpr MarkupColour kMarkupBlack{0, 0, 0};
inline constexpr MarkupColour kMarkupBlue{0, 0, 255};
inline constexpr MarkupColour kMarkupGreen{0, 128, 0};
inline constexpr MarkupColour kMarkupRed{255, 0, 0};

inline constexpr int kMaxMarkupRuns = 20;
inline const char* const kMarkupFontName = "Courier New";
inline constexpr int kMarkupFontSize = 10;

// The value of a quantity that the instrument did not measure: three blank glyphs.
inline constexpr std::string_view kNotMeasuredPlaceholder = "#S272#S272#S272";

// One run of a line.
struct TResultText {
    std::string text;      // plain text, a glyph's byte, or a symbol's clipboard text
    int symbol = 0;        // the symbol code this run stands for; 0 for plain text
    bool picture = false;  // Write mode: draw the picture of `symbol` (text is empty)
    bool glyph = false;    // Write mode: `text` is one character drawn in `charSet`
    MarkupColour colour = kMarkupBlack;
    CharacterSet charSet = CharacterSet::Default;
    std::string fontName = kMarkupFontName;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int size = kMarkupFontSize;  // points
    RunAlignment alignment = RunAlignment::Left;

    friend bool operator==(const TResultText&, const TResultText&) = default;
};

// The properties of a line.
struct TResCommProp {
    int level = 1;     // detail level 1..3
    std::string kind;  // "" or one of "C", "D", "L", "N", "R", "S", "V"
    friend bool operator==(const TResCommProp&, const TResCommProp&) = default;
};

struct MarkupLine {
    TResCommProp props;
    std::vector<TResultText> runs;  // at most kMaxMarkupRuns

    // The runs' texts one after another (for names and plain listings).
    std::string text() const;
};

// What the clipboard keeps of a line, without its runs: the properties, the first run's
// text and the line's text as clipboardLineText gives it (left-aligned runs in order,
// each right-aligned run after six blanks, centred runs left out).
struct ClipboardLine {
    TResCommProp props;
    std::string firstRun;
    std::string text;
};

// Where the interpreter finds text codes and the texts of the symbols 257, 258 and 320
// in clipboard mode. Empty members mean the current run's: currentTextCodes() and
// LangText().
struct MarkupSources {
    const TextCodeTable* textCodes = nullptr;
    std::function<std::string(std::string_view)> keyText;
};

// How a symbol appears. `glyphByte` and `charSet` are set for the four glyph codes;
// `known` is false for codes without an entry.
struct MarkupSymbol {
    bool known = false;
    bool glyph = false;
    char glyphByte = 0;
    CharacterSet charSet = CharacterSet::Default;
    const char* glyphFont = nullptr;  // font of the glyph; null: the line's font
    const char* pictureName = nullptr;
    const char* clipText = nullptr;  // text equivalent; null when it comes from a key
    const char* clipKey = nullptr;   // language key of the text equivalent
};
MarkupSymbol markupSymbol(int code);

// Every symbol code that has an entry, in ascending order.
const std::vector<int>& markupSymbolCodes();

// Interprets lines; keeps no state between lines but its sources and defaults.
class MarkupInterpreter {
  public:
    explicit MarkupInterpreter(MarkupSources sources = {});

    MarkupLine parse(std::string_view line, MarkupMode mode) const;
    void parse(std::string_view line, MarkupMode mode, MarkupLine& out) const;
    // The line in "ClipBrd" mode as the clipboard keeps it; `out` keeps its buffers.
    void parseClipboard(std::string_view line, ClipboardLine& out) const;

    // The font every line starts with. Callers may change it for a drawing pass and put
    // the standard defaults back with resetAttributes().
    void setDefaultFont(std::string name, int size);
    void resetAttributes();

  private:
    template <class Sink>
    struct State;
    template <class Sink>
    void interpret(std::string_view text, State<Sink>& state, int depth) const;
    template <class Sink>
    void symbolRun(int code, State<Sink>& state) const;
    std::string keyText(std::string_view key) const;
    const TextCodeTable& textCodes() const;

    MarkupSources sources_;
    std::string defaultFont_ = kMarkupFontName;
    int defaultSize_ = kMarkupFontSize;
};

// The common entry point: interprets `line` with the current text codes and language.
MarkupLine ParseMarkup(std::string_view line, MarkupMode mode);
// The same with a text-code table of the caller's.
MarkupLine ParseMarkup(std::string_view line, MarkupMode mode, const TextCodeTable& codes);

}  // namespace pelvoro
