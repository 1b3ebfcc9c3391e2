#include "results/markup.h"

#include <algorithm>
#include <array>
#include <map>
#include <type_traits>

#include "common/lang_text.h"

namespace pelvoro {

namespace {

// Text codes may hold tokens, text codes among them. A code that is being expanded is
// not expanded again inside itself (a language file that refers a text to itself must
// not hang the program), and the nesting and the number of expansions per line are
// bounded so that a chain of codes that each name the next twice stays cheap.
constexpr int kMaxTextCodeDepth = 16;
constexpr int kMaxTextCodeExpansions = 256;

// The degree sign in the single-byte code page.
#define DEG "\xB0"

struct SymbolEntry {
    int code;
    MarkupSymbol symbol;
};

MarkupSymbol picture(const char* name, const char* clipText) {
    MarkupSymbol s;
    s.known = true;
    s.pictureName = name;
    s.clipText = clipText;
    return s;
}

MarkupSymbol keyPicture(const char* name, const char* clipKey) {
    MarkupSymbol s = picture(name, nullptr);
    s.clipKey = clipKey;
    return s;
}

MarkupSymbol glyph(char byte, CharacterSet set, const char* font, const char* clipText,
                   const char* clipKey = nullptr) {
    MarkupSymbol s;
    s.known = true;
    s.glyph = true;
    s.glyphByte = byte;
    s.charSet = set;
    s.glyphFont = font;
    s.clipText = clipText;
    s.clipKey = clipKey;
    return s;
}

const std::map<int, MarkupSymbol>& symbolTable() {
    static const std::map<int, MarkupSymbol> table = [] {
        std::map<int, MarkupSymbol> t;
        t[257] = keyPicture("imSmer", "imSmer");
        t[258] = glyph('\xD9', CharacterSet::Greek, nullptr, nullptr, "imOhm");
        t[270] = glyph('\xB3', CharacterSet::Symbol, "Symbol", ">=");
        t[272] = glyph('_', CharacterSet::Default, "Courier New", "_");
        // rho has a text equivalent too, so that the resistivity label survives an export.
        t[274] = glyph('\xF1', CharacterSet::Greek, nullptr, "rho");
        t[277] = picture("imX12", "x 1/2");
        t[278] = picture("imX1", "x 1");
        t[279] = picture("imX5", "x 5");
        t[300] = picture("imAC0", "AC 0" DEG);
        t[301] = picture("imAC180", "AC 180" DEG);
        t[302] = picture("imA0", "A 0" DEG);
        t[303] = picture("imA180", "A 180" DEG);
        t[304] = picture("imACX12_0", "AC x 1/2 0" DEG);
        t[305] = picture("imACX12_180", "AC x 1/2 180" DEG);
        t[306] = picture("imAX12_0", "A x 1/2 0" DEG);
        t[307] = picture("imAX12_180", "A x 1/2 180" DEG);
        t[308] = picture("imACX1_0", "AC x 1 0" DEG);
        t[309] = picture("imACX1_180", "AC x 1 180" DEG);
        t[310] = picture("imAX1_0", "A x 1 0" DEG);
        t[311] = picture("imAX1_180", "A x 1 180" DEG);
        t[312] = picture("imACX5_0", "AC x 5 0" DEG);
        t[313] = picture("imACX5_180", "AC x 5 180" DEG);
        t[314] = picture("imAX5_0", "A x 5 0" DEG);
        t[315] = picture("imAX5_180", "A x 5 180" DEG);
        t[316] = picture("imGeneral", "G");
        t[317] = picture("imSelective", "S");
        t[318] = picture("imAC", "AC");
        t[319] = picture("imA", "A");
        t[320] = keyPicture("imStep", "imStep");
        t[321] = picture("imBNeg", "B neg");
        t[322] = picture("imBPos", "B pos");
        t[323] = picture("imB", "B");
        t[324] = picture("imBX12Pos", "B x 1/2 pos");
        t[325] = picture("imBX12Neg", "B x 1/2 neg");
        t[326] = picture("imBX1Pos", "B x 1 pos");
        t[327] = picture("imBX1Neg", "B x 1 neg");
        t[328] = picture("imBX5Pos", "B x 5 pos");
        t[329] = picture("imBX5Neg", "B x 5 neg");
        t[330] = picture("imACLarge0", "AC 0" DEG);
        t[331] = picture("imACLarge180", "AC 180" DEG);
        t[332] = picture("imALarge0", "A 0" DEG);
        t[333] = picture("imALarge180", "A 180" DEG);
        t[341] = picture("imClamp", " ");
        t[342] = picture("imUnChecked", "  ");
        t[343] = picture("imNonSelected", "  ");
        t[344] = picture("imChecked", "  ");
        t[346] = picture("imEmpty", "");
        t[348] = picture("imPass", "  ");
        t[349] = picture("imFail", "  ");
        t[350] = picture("imBlanc", "  ");
        t[351] = picture("imL", "  ");
        t[352] = picture("imMinus", "  ");
        t[356] = picture("imACX2_0", "AC x 2 0" DEG);
        t[357] = picture("imACX2_180", "AC x 2 180" DEG);
        t[358] = picture("imAX2_0", "A x 2 0" DEG);
        t[359] = picture("imAX2_180", "A x 2 180" DEG);
        t[360] = picture("imBX2Pos", "B x 2 pos");
        t[361] = picture("imBX2Neg", "B x 2 neg");
        return t;
    }();
    return table;
}

// Reads up to three digits at `pos`; returns the number when there were exactly three.
int threeDigits(std::string_view text, size_t& pos) {
    int value = 0;
    int digits = 0;
    while (digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits == 3 ? value : -1;
}

// The attributes a run takes when it is closed.
struct RunAttributes {
    MarkupColour colour = kMarkupBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int size = kMarkupFontSize;
    RunAlignment alignment = RunAlignment::Left;
};

// Builds the runs of a MarkupLine.
struct RunSink {
    MarkupLine& out;
    const std::string& font;

    TResCommProp& props() { return out.props; }
    bool full() const { return out.runs.size() >= size_t(kMaxMarkupRuns); }
    TResultText make(const RunAttributes& a) const {
        TResultText run;
        run.colour = a.colour;
        run.fontName = font;
        run.bold = a.bold;
        run.italic = a.italic;
        run.underline = a.underline;
        run.size = a.size;
        run.alignment = a.alignment;
        return run;
    }
    void text(std::string& text, const RunAttributes& a) {
        if (full()) return;
        out.runs.push_back(make(a));
        out.runs.back().text = std::move(text);
    }
    void push(TResultText run) {
        if (!full()) out.runs.push_back(std::move(run));
    }
};

// Keeps only what the clipboard shows of the runs.
struct ClipSink {
    ClipboardLine& out;
    int runs = 0;

    TResCommProp& props() { return out.props; }
    void text(std::string_view text, const RunAttributes& a) {
        if (runs >= kMaxMarkupRuns) return;
        // The first run goes into the text that parseClipboard cleared.
        if (runs++ == 0) out.firstRun.append(text);
        if (a.alignment == RunAlignment::Centre) return;
        if (a.alignment == RunAlignment::Right) out.text.append(6, ' ');
        out.text.append(text);
    }
};

// Bytes that a run of plain characters goes on with: not "#", no control character, not 255.
constexpr auto kPlainByte = [] {
    std::array<bool, 256> plain{};
    for (int c = 32; c < 255; ++c) plain[size_t(c)] = c != '#';
    return plain;
}();

// What the character after "#A", "#C" and "#F" sets; other characters set nothing.
template <class T>
struct ArgumentValue {
    char arg;
    T value;
};

constexpr ArgumentValue<RunAlignment> kAlignments[] = {
    {'L', RunAlignment::Left}, {'R', RunAlignment::Right}, {'C', RunAlignment::Centre}};
constexpr ArgumentValue<MarkupColour> kColours[] = {
    {'B', kMarkupBlue}, {'G', kMarkupGreen}, {'R', kMarkupRed}, {'b', kMarkupBlack}};
constexpr ArgumentValue<bool RunAttributes::*> kFontStyles[] = {
    {'B', &RunAttributes::bold}, {'I', &RunAttributes::italic}, {'U', &RunAttributes::underline}};

template <class T, std::size_t N>
const T* valueOf(const ArgumentValue<T> (&table)[N], char arg) {
    for (const auto& row : table)
        if (row.arg == arg) return &row.value;
    return nullptr;
}

bool takesArgument(char letter) {
    switch (letter) {
        case 'A':
        case 'C':
        case 'F':
        case 'H':
        case 'L':
        case 'P':
            return true;
        default:
            return false;
    }
}

bool isLineKind(char c) {
    switch (c) {
        case 'C':
        case 'D':
        case 'L':
        case 'N':
        case 'R':
        case 'S':
        case 'V':
            return true;
        default:
            return false;
    }
}

// The symbols by code, from the first code on.
constexpr int kFirstSymbol = 257;
constexpr int kLastSymbol = 361;

const MarkupSymbol& symbolEntry(int code) {
    static const std::array<MarkupSymbol, kLastSymbol - kFirstSymbol + 1> entries = [] {
        std::array<MarkupSymbol, kLastSymbol - kFirstSymbol + 1> e{};
        for (const auto& [c, symbol] : symbolTable()) e[size_t(c - kFirstSymbol)] = symbol;
        return e;
    }();
    static const MarkupSymbol unknown;
    if (code < kFirstSymbol || code > kLastSymbol) return unknown;
    return entries[size_t(code - kFirstSymbol)];
}

}  // namespace

MarkupSymbol markupSymbol(int code) {
    return symbolEntry(code);
}

const std::vector<int>& markupSymbolCodes() {
    static const std::vector<int> codes = [] {
        std::vector<int> c;
        for (const auto& [code, symbol] : symbolTable()) c.push_back(code);
        return c;
    }();
    return codes;
}

std::string MarkupLine::text() const {
    std::string s;
    for (const auto& run : runs) s += run.text;
    return s;
}

template <class Sink>
struct MarkupInterpreter::State {
    MarkupMode mode;
    Sink sink;
    std::string text;          // the open run's text
    RunAttributes attributes;  // the current attributes
    std::array<int, kMaxTextCodeDepth> activeCodes{};
    int active = 0;
    int expansions = 0;

    void close() {
        if (text.empty()) return;
        sink.text(text, attributes);
        text.clear();
    }
};

MarkupInterpreter::MarkupInterpreter(MarkupSources sources) : sources_(std::move(sources)) {}

void MarkupInterpreter::setDefaultFont(std::string name, int size) {
    defaultFont_ = std::move(name);
    defaultSize_ = size;
}

void MarkupInterpreter::resetAttributes() {
    defaultFont_ = kMarkupFontName;
    defaultSize_ = kMarkupFontSize;
}

const TextCodeTable& MarkupInterpreter::textCodes() const {
    return sources_.textCodes ? *sources_.textCodes : currentTextCodes();
}

std::string MarkupInterpreter::keyText(std::string_view key) const {
    return sources_.keyText ? sources_.keyText(key) : LangText(key);
}

MarkupLine MarkupInterpreter::parse(std::string_view line, MarkupMode mode) const {
    MarkupLine out;
    parse(line, mode, out);
    return out;
}

void MarkupInterpreter::parse(std::string_view line, MarkupMode mode, MarkupLine& out) const {
    out.props = TResCommProp{};
    out.runs.clear();
    State<RunSink> state{mode, RunSink{out, defaultFont_}, {}, {}};
    state.attributes.size = defaultSize_;
    if (!line.empty()) interpret(line.substr(1), state, 0);
    state.close();
}

void MarkupInterpreter::parseClipboard(std::string_view line, ClipboardLine& out) const {
    out.props.level = 1;
    out.props.kind.clear();
    out.firstRun.clear();
    out.text.clear();
    // The open run's buffer is kept from line to line (taken, so that a nested parse
    // would only start a buffer of its own).
    thread_local std::string spare;
    State<ClipSink> state{MarkupMode::ClipBrd, ClipSink{out}, std::move(spare), {}};
    state.text.clear();
    state.attributes.size = defaultSize_;
    if (!line.empty()) interpret(line.substr(1), state, 0);
    state.close();
    spare = std::move(state.text);
}

template <class Sink>
void MarkupInterpreter::interpret(std::string_view text, State<Sink>& state, int depth) const {
    RunAttributes& a = state.attributes;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        if (text[i] != '#') {
            // A run of plain characters is appended in one piece; control characters
            // and byte 255 are left out.
            size_t end = i;
            while (end < n && kPlainByte[static_cast<unsigned char>(text[end])]) ++end;
            state.text.append(text.data() + i, end - i);
            if (end < n && text[end] != '#') ++end;  // the character left out
            i = end;
            continue;
        }
        ++i;
        state.close();
        if (i >= n) break;
        const char letter = text[i++];
        // The letters that take one more character consume it whatever it is.
        char arg = 0;
        if (takesArgument(letter) && i < n) arg = text[i++];
        switch (letter) {
            case '#':
                state.text += '#';
                break;
            case 'K': {
                const int code = threeDigits(text, i);
                if (code < 0 || depth >= kMaxTextCodeDepth ||
                    state.expansions >= kMaxTextCodeExpansions)
                    break;
                const auto active = state.activeCodes.begin() + state.active;
                if (std::find(state.activeCodes.begin(), active, code) != active) break;
                ++state.expansions;
                state.activeCodes[size_t(state.active++)] = code;
                // Copied: the entry must stay valid whatever the sources do meanwhile.
                const std::string entry = textCodes().at(code);
                interpret(entry, state, depth + 1);
                state.close();
                --state.active;
                break;
            }
            case 'S': {
                const int code = threeDigits(text, i);
                if (code >= 0) symbolRun(code, state);
                break;
            }
            case 'A':
                if (auto alignment = valueOf(kAlignments, arg)) a.alignment = *alignment;
                break;
            case 'C':
                if (auto colour = valueOf(kColours, arg)) a.colour = *colour;
                break;
            case 'F':
                if (auto style = valueOf(kFontStyles, arg)) a.*(*style) = true;
                break;
            case 'H':
                if (arg >= '5' && arg <= '9')
                    a.size = arg - '0';
                else if (arg >= 'A' && arg <= 'F')
                    a.size = 10 + (arg - 'A');
                break;
            case 'L':
                if (arg >= '1' && arg <= '3') state.sink.props().level = arg - '0';
                break;
            case 'P':
                if (isLineKind(arg)) state.sink.props().kind.assign(1, arg);
                break;
            default:
                break;
        }
    }
}

template <class Sink>
void MarkupInterpreter::symbolRun(int code, State<Sink>& state) const {
    state.close();
    const MarkupSymbol& symbol = symbolEntry(code);
    if constexpr (std::is_same_v<Sink, ClipSink>) {
        // A symbol is a run even when it has no text.
        if (!symbol.known)
            state.sink.text({}, state.attributes);
        else if (symbol.clipKey)
            state.sink.text(keyText(symbol.clipKey), state.attributes);
        else
            state.sink.text(symbol.clipText, state.attributes);
    } else {
        if (state.sink.full()) return;
        TResultText run = state.sink.make(state.attributes);
        run.symbol = code;
        if (symbol.known) {
            if (state.mode == MarkupMode::ClipBrd) {
                run.text = symbol.clipKey ? keyText(symbol.clipKey) : std::string(symbol.clipText);
            } else if (symbol.glyph) {
                // The glyph keeps the line's size; only this run changes font and character
                // set.
                run.glyph = true;
                run.text = std::string(1, symbol.glyphByte);
                run.charSet = symbol.charSet;
                if (symbol.glyphFont) run.fontName = symbol.glyphFont;
            } else {
                run.picture = true;
            }
        }
        state.sink.push(std::move(run));
    }
}

MarkupLine ParseMarkup(std::string_view line, MarkupMode mode) {
    return MarkupInterpreter().parse(line, mode);
}

MarkupLine ParseMarkup(std::string_view line, MarkupMode mode, const TextCodeTable& codes) {
    MarkupSources sources;
    sources.textCodes = &codes;
    return MarkupInterpreter(std::move(sources)).parse(line, mode);
}

}  // namespace pelvoro
