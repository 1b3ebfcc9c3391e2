#pragma once
// What the line generator shares with the measurement families: the line prefixes and
// building blocks (value lines, limit, system and fuse lines, headings with their
// verdict, word wrapping), and the generator whose lines the families write.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/lang_text.h"
#include "results/render_result.h"
#include "results/results_data.h"

namespace pelvoro::lines {

using V = TResultValue;

inline constexpr std::string_view kR1 = "X#PR#L1";
inline constexpr std::string_view kR2 = "X#PR#L2";
inline constexpr std::string_view kR3 = "X#PR#L3";
inline constexpr std::string_view kL2 = "X#PL#L2";
inline constexpr std::string_view kL3 = "X#PL#L3";
inline constexpr std::string_view kPlaceholder = kNotDelivered;
inline constexpr int kWrapMargin = 160;

inline bool isSet(const V& v) {
    return !v.Value.empty();
}
inline bool isPlaceholder(const V& v) {
    return v.Value == kPlaceholder;
}

// The parts a line is built of: texts, and value pairs written as value then unit.
inline void appendPart(std::string& out, std::string_view s) {
    out.append(s);
}
inline void appendPart(std::string& out, const V& v) {
    out.append(v.Value).append(v.Unit);
}

// How a value line of a line table is shown.
enum class Show : uint8_t {
    Always,     // label, value and unit
    WhenSet,    // the same, only when the value is set
    ValueOnly,  // label and value: the value text carries its unit
};

// One value line of record R: prefix, label, member.
template <class R>
struct ValueLine {
    std::string_view prefix;
    std::string_view label;
    TResultValue R::*v;
    Show show = Show::Always;
};

class Generator {
  public:
    Generator(const TResultsData& r, const RenderOptions& o, LineBuffer& out)
        : r_(r), o_(o), out_(out) {}

    void run();

  private:
    // ---- building blocks ----
    // One line of its parts, appended to the buffer of lines.
    template <class... P>
    void line(const P&... parts) {
        std::string& out = out_.text();
        (appendPart(out, parts), ...);
        out_.endLine();
    }
    void value(std::string_view prefix, std::string_view label, const V& v) {
        line(prefix, label, v);
    }
    void valueWhenSet(std::string_view prefix, std::string_view label, const V& v) {
        if (isSet(v)) value(prefix, label, v);
    }
    // The lines of a line table, in order.
    template <class R, size_t N>
    void values(const R& s, const ValueLine<R> (&table)[N]) {
        for (const ValueLine<R>& row : table) {
            const V& v = s.*row.v;
            switch (row.show) {
                case Show::Always:
                    value(row.prefix, row.label, v);
                    break;
                case Show::WhenSet:
                    valueWhenSet(row.prefix, row.label, v);
                    break;
                case Show::ValueOnly:
                    line(row.prefix, row.label, v.Value);
                    break;
            }
        }
    }
    // "R: " value "  Um: " voltage
    void withUm(std::string_view label, const V& r, const V& um) {
        line(kR2, label, r, "  Um: ", um);
    }
    void keyLine(std::string_view prefix, std::string_view key, std::string_view text) {
        line(prefix, LangText(key), ": ", text);
    }
    void keyLine(std::string_view prefix, std::string_view key, const V& v) {
        line(prefix, LangText(key), ": ", v);
    }
    void limit(const V& v, bool skipPlaceholder = false) {
        if (v.Value == "-") return;
        if (skipPlaceholder && isPlaceholder(v)) return;
        keyLine(kL3, "text559", v);
    }
    void system(uint8_t esys) {
        static constexpr const char* kKeys[] = {"",
                                                "Unit_SYS-TN/TT",
                                                "Unit_SYS-IT",
                                                "Unit_SYS-RV55",
                                                "Unit_SYS-RV63",
                                                "Unit_SYS-PP230"};
        line(kR3, LangText("System_7"), " ",
             esys >= 1 && esys <= 5 ? std::string_view(LangText(kKeys[esys])) : std::string_view());
    }
    void systemWhenSet(uint8_t esys) {
        if (esys != 0) system(esys);
    }
    static std::string_view suffix(uint8_t status) {
        switch (status) {
            case 0:
                return "#Cb#AR#K023";
            case 1:
                return "#CR#AR#K020";
            case 2:
                return "#CR#AR#K024";
            case 5:
                return "#Cb#AR#K000";
            case 6:
                return "#Cb#AR";
            case 9:
                return "#Cb#AR"
                       "HIGH";
            case 10:
                return "#Cb#AR"
                       "LOW";
            default:
                return {};
        }
    }
    void heading(std::string_view text, uint8_t status) { line(kR1, text, suffix(status)); }
    void headingNoStatus(std::string_view text) { line(kR1, text); }
    static const std::string& key(std::string_view k) { return LangText(k); }
    // The text of the key `prefix` followed by the number `n` ("VisualFS_" 12).
    static const std::string& numberedKey(std::string_view prefix, int n) {
        char buffer[48];
        const size_t length = std::min(prefix.size(), sizeof buffer - 12);
        std::memcpy(buffer, prefix.data(), length);
        char* end = std::to_chars(buffer + length, buffer + sizeof buffer, n).ptr;
        return LangText(std::string_view(buffer, size_t(end - buffer)));
    }
    bool variantIs(std::string_view v) const { return o_.variant == v; }

    void iscLine(const V& isc) { keyLine(kR3, "Quant_Isc", isc); }
    void fuseType(const std::string& type) { keyLine(kL3, "text582", type); }
    void fuseI(const V& v) { keyLine(kR3, "text536", v); }
    void fuseT(const V& v) { keyLine(kR3, "text537", v); }
    void fuseLines(const std::string& type, const V& i, const V& t) {
        fuseType(type);
        fuseI(i);
        fuseT(t);
    }
    void iscLimLine(const V& iscLim, const V& zLim) {
        if (variantIs("KORVEN"))
            value(kL3, "Z_lim: ", zLim);
        else
            keyLine(kL3, "Quant_Isc_lim", iscLim);
    }

    // Word wrapping of inspection texts.
    int wrapWidth() const { return o_.columnWidth - kWrapMargin; }
    // put(k, piece) for the k-th piece of `text`, from 0.
    template <class Put>
    void wrap(std::string_view text, int width, Put&& put) const {
        if (!o_.measure || width <= 0 || text.empty()) return put(size_t(0), text);
        size_t k = 0;
        wrapWordsEach(*o_.measure, text, o_.font, width,
                      [&](std::string_view piece) { put(k++, piece); });
    }

    // ---- families ----
    void voltageLines();
    void insulationLines();
    void continuityLines();
    void impedanceLines();
    void rcdLines();
    void earthLines();
    void currentLines();
    void wiringLines();
    void inspectionLines();
    void highVoltageLines();
    void machineLines();
    void visual16();
    void checklist(int code, const TFunct_Checklist& c);
    void voltLines(const TFunct_VOLT& s, bool code1);
    void zloop5();
    void zline4();
    void faultLoop21();
    void wiringResistance(uint8_t result, const V& r);
    void continuity3();
    void earthContinuity17();
    void polarities(const V& plus, const V& minus);
    template <class R>
    void testCurrent(const R& s);
    void laterConductor(std::string_view name, const V* r, const V& plus, const V& minus,
                        const V& lim, uint8_t status, uint8_t esys);
    template <class R>
    void earlierFuse(const R& s);
    template <class R>
    void laterFuse(const R& s);
    template <class R>
    void fuseWhenSet(const R& s);

    const TResultsData& r_;
    const RenderOptions& o_;
    LineBuffer& out_;
    int code_ = 0;
};

}  // namespace pelvoro::lines
