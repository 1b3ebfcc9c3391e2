#pragma once
// What the parser of FP strings shares with the measurement families: the field
// conversions (stored as is, "-" for not measured, split into value and unit prefix),
// the enumerations, and the parser whose field tables the families fill in.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/text.h"
#include "results/fp_parser.h"
#include "results/function_codes.h"
#include "results/results_data.h"

namespace pelvoro::fp {

using sv = std::string_view;

inline constexpr sv kKorven = "KORVEN";
// The status byte of a result without any verdict.
inline constexpr uint8_t kNoVerdict = 3;

// A number written the one way a table writes it: "0", "7", "12" (no sign, blank or
// leading zero).
inline std::optional<int> exactNumber(sv t) {
    if (t.empty() || t.size() > 9 || (t[0] == '0' && t.size() > 1)) return std::nullopt;
    int value = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A run of texts "lo".."hi" mapped to to, to + step, ...
struct Span {
    int lo, hi, to;
    int step = 1;
};

inline std::optional<int> lookupSpan(sv t, std::initializer_list<Span> spans) {
    auto n = exactNumber(t);
    if (!n) return std::nullopt;
    for (const Span& s : spans)
        if (*n >= s.lo && *n <= s.hi) return s.to + s.step * (*n - s.lo);
    return std::nullopt;
}

inline bool isValueChar(char c) {
    switch (c) {
        case ' ':
        case '#':
        case ',':
        case '-':
        case '.':
        case '<':
        case '=':
        case '>':
        case 'S':
            return true;
        default:
            return c >= '0' && c <= '9';
    }
}

// Length of the value part of a split field; the whole field when it is not divided.
inline size_t valueLength(sv t) {
    if (t.empty() || t == kNotDelivered) return t.size();
    size_t i = 0;
    while (i < t.size() && isValueChar(t[i])) ++i;
    return i;
}

inline void set(TResultValue& v, sv t) {
    v.Value.assign(t);
}
inline void dash(TResultValue& v, sv t) {
    if (!t.empty() && t[0] == '-')
        v.Value = "-";
    else
        v.Value.assign(t);
}
inline void split(TResultValue& v, sv t) {
    splitValueField(t, v);
}
inline void splitDash(TResultValue& v, sv t) {
    if (!t.empty() && t[0] == '-')
        v.Value = "-";
    else
        splitValueField(t, v);
}
// The times of the diagnostic test: a prefix (a unit of their own) replaces the unit.
inline void splitReplace(TResultValue& v, sv t) {
    size_t n = valueLength(t);
    v.Value.assign(t.substr(0, n));
    if (n < t.size()) v.Unit.assign(t.substr(n));
}

inline void units(sv unit, std::initializer_list<TResultValue*> values) {
    for (TResultValue* v : values) v->Unit.assign(unit);
}

enum class StatusMap {
    None,         // no status field (machine testers)
    Earlier,      // 51-64, 71-73, 80, 201: 0 -> 0, 1 -> 5, 2 -> 1, 3 -> 2 (80: 4 -> 9, 5 -> 10)
    HighVoltage,  // 202, 204, 206, 207: 0 -> 3, 1 -> 0, 2 -> 1, 3 -> 2
    Digit,        // 1-35, 101-127: the digit itself, 0 .. 6
};

enum class RcdColumn { TripTime, TripCurrent, AutoOld, AutoNew, TouchVoltage };

// Reads the fields of one FP string into its sub-record. The driver (fp_parser.cpp) runs it;
// each measurement family (functions/<family>.cpp) holds the field tables of its codes.
class Parser {
  public:
    Parser(TResultsData& r, const FpParseContext& c, bool& flag)
        : r_(r), c_(c), newFunctionsSeen_(flag) {}

    void run(sv fp);

  private:
    void flag() { newFunctionsSeen_ = true; }

    void status(uint8_t& b, sv t);
    void esys(uint8_t& b, sv t);
    void mapSpan(uint8_t& b, sv t, std::initializer_list<Span> spans) {
        if (auto v = lookupSpan(t, spans))
            b = uint8_t(*v);
        else
            flag();
    }
    void mapText(std::string& target, sv t, std::initializer_list<std::pair<sv, sv>> map) {
        for (const auto& [from, to] : map)
            if (t == from) {
                target.assign(to);
                return;
            }
        flag();
    }
    static uint8_t wiringResult(sv t) {
        if (t == "0") return 1;
        if (t == "1") return 2;
        if (t == "2") return 3;
        return 0;
    }
    bool korven() const { return c_.variant == kKorven; }

    // Each family presets the units of its record and reads its fields (functions/).
    void voltageUnits();
    bool voltageFields(int n, sv t);
    void insulationUnits();
    bool insulationFields(int n, sv t);
    void continuityUnits();
    bool continuityFields(int n, sv t);
    void impedanceUnits();
    bool impedanceFields(int n, sv t);
    void rcdUnits();
    bool rcdFields(int n, sv t);
    void earthUnits();
    bool earthFields(int n, sv t);
    void currentUnits();
    bool currentFields(int n, sv t);
    void wiringUnits();
    bool wiringFields(int n, sv t);
    void inspectionUnits();
    bool inspectionFields(int n, sv t);
    void highVoltageUnits();
    bool highVoltageFields(int n, sv t);
    void machineUnits();
    bool machineFields(int n, sv t);

    void presetUnits();
    bool field(int n, sv t);

    bool volt1(int n, sv t);
    bool volt51(int n, sv t);
    bool iso2(int n, sv t);
    void isoSubField(int column, sv t);
    bool iso18(int n, sv t);
    bool iso55(int n, sv t);
    bool iso116(int n, sv t);
    bool cont3(int n, sv t);
    bool cont56(int n, sv t);
    bool zline4(int n, sv t);
    bool zline52(int n, sv t);
    bool zloop5(int n, sv t);
    bool zloop53(int n, sv t);
    bool rcd6(int n, sv t);
    bool rcd54(int n, sv t);
    void rcdColumn(RcdColumn column, int n54, sv t, bool systemDependent);
    bool earth8(int n, sv t);
    bool earth57(int n, sv t);
    bool earth73(int n, sv t);
    bool current9(int n, sv t);
    bool current58(int n, sv t);
    bool sensor13(int n, sv t);
    bool imd14(int n, sv t);
    bool isfl15(int n, sv t);
    bool visual16(int n, sv t);
    bool ertcont17(int n, sv t);
    bool polar19(int n, sv t);
    bool corrconn20(int n, sv t);
    bool foltloop21(int n, sv t);
    bool checklist(TFunct_Checklist& s, int n, sv t);
    bool ring25(int n, sv t);
    bool ring61(int n, sv t);
    bool ring63(int n, sv t);
    bool polar26(int n, sv t);
    bool contat27(int n, sv t);
    bool contat62(int n, sv t);
    bool varistor28(int n, sv t);
    bool loopRe29(int n, sv t);
    bool tchvolt33(int n, sv t);
    bool incneutr35(int n, sv t);
    bool socket64(int n, sv t);
    bool voltTest(TFunct_VoltTest& s, int n, sv t);
    bool resmicro80(int n, sv t);
    bool voltTo201(int n, sv t);
    bool isoTo202(int n, sv t);
    bool diagnTo204(int n, sv t);
    bool stepvTo206(int n, sv t);
    bool withstTo207(int n, sv t);
    bool machine(int n, sv t);

    TResultsData& r_;
    const FpParseContext& c_;
    bool& newFunctionsSeen_;
    int code_ = 0;
    int layout_ = 0;
    StatusMap statusMap_ = StatusMap::None;
    ResultRecord record_ = ResultRecord::None;
};

}  // namespace pelvoro::fp
