#pragma once
// What the parser of FP strings shares with the measurement families: the field
// conversions (stored as is, "-" for not measured, split into value and unit prefix),
// the enumerations, and the parser whose field tables the families fill in.

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
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

// The characters of a value: digits, blank, sign, decimal point or comma, the bounds "<", ">"
// and "=", and the "#S" of a symbol code.
inline constexpr auto kValueChars = [] {
    std::array<bool, 256> chars{};
    for (unsigned char c : sv(" #,-.<=>S0123456789")) chars[c] = true;
    return chars;
}();

inline bool isValueChar(char c) {
    return kValueChars[static_cast<unsigned char>(c)];
}

// Length of the value part of a split field; the whole field when it is not divided.
inline size_t valueLength(sv t) {
    if (t.empty() || t == kNotDelivered) return t.size();
    size_t i = 0;
    while (i < t.size() && isValueChar(t[i])) ++i;
    return i;
}

// Puts a text into a string that was cleared or holds a text to replace: the buffer kept
// from earlier parses takes it without the general replace.
inline void put(std::string& s, sv t) {
    s.clear();
    s.append(t.data(), t.size());
}

inline void set(TResultValue& v, sv t) {
    put(v.Value, t);
}
inline void dash(TResultValue& v, sv t) {
    if (!t.empty() && t[0] == '-')
        put(v.Value, "-");
    else
        put(v.Value, t);
}
inline void split(TResultValue& v, sv t) {
    splitValueField(t, v);
}
inline void splitDash(TResultValue& v, sv t) {
    if (!t.empty() && t[0] == '-')
        put(v.Value, "-");
    else
        splitValueField(t, v);
}
// The times of the diagnostic test: a prefix (a unit of their own) replaces the unit.
inline void splitReplace(TResultValue& v, sv t) {
    size_t n = valueLength(t);
    put(v.Value, t.substr(0, n));
    if (n < t.size()) v.Unit.assign(t.substr(n));
}

enum class StatusMap {
    None,         // no status field (machine testers)
    Earlier,      // 51-64, 71-73, 80, 201: 0 -> 0, 1 -> 5, 2 -> 1, 3 -> 2 (80: 4 -> 9, 5 -> 10)
    HighVoltage,  // 202, 204, 206, 207: 0 -> 3, 1 -> 0, 2 -> 1, 3 -> 2
    Digit,        // 1-35, 101-127: the digit itself, 0 .. 6
};

class Parser;
struct Layout;

// How the text of a field is kept.
enum class Conv : uint8_t {
    Set,           // a value pair's value, as it stands
    Dash,          // the same; a text starting with "-" (not measured) is kept as "-"
    Split,         // divided into the value and a prefix put in front of the unit
    SplitDash,     // divided, or "-" for a text starting with "-"
    SplitReplace,  // divided; the prefix replaces the unit
    Text,          // a text member, as it stands
    Status,        // the verdict, mapped as the code's instruments write it
    Esys,          // the earthing system
    Mark,          // a byte member set to 1
    Hook,          // read by a hand-written function of the family
    Ignore,        // a field the code defines but does not keep
    Foreign,       // a field this kind of result leaves empty: text there is news
};

// The member of record R that a field is read into.
template <class R>
struct Target {
    TResultValue R::*value = nullptr;
    std::string R::*text = nullptr;
    uint8_t R::*byte = nullptr;
    // An element of an array of value pairs (the steps of the stepped voltage test).
    std::array<TResultValue, 5> R::*steps = nullptr;
    uint8_t step = 0;

    constexpr Target() = default;
    constexpr Target(TResultValue R::*v) : value(v) {}
    constexpr Target(std::string R::*t) : text(t) {}
    constexpr Target(uint8_t R::*b) : byte(b) {}
    constexpr Target(std::array<TResultValue, 5> R::*a, int i) : steps(a), step(uint8_t(i)) {}
};

// The sub-functions a row applies to, as bits; no bits: every sub-function.
constexpr uint64_t subs(std::initializer_list<int> values) {
    uint64_t bits = 0;
    for (int v : values) bits |= uint64_t(1) << v;
    return bits;
}
constexpr uint64_t subsFrom(int lo, int hi) {
    uint64_t bits = 0;
    for (int v = lo; v <= hi; ++v) bits |= uint64_t(1) << v;
    return bits;
}
// A condition besides the sub-function: the record so far, the parser and the field's text.
template <class R>
using When = bool (*)(const R&, const Parser&, sv);
template <class R>
using Hook = void (*)(Parser&, R&, sv);

// One row of a field table: field n is read into `to` by `conv` when the record's
// sub-function is one of `sub` and `when` holds. The rows of one field are tried in order
// and the first that applies reads it; a field with rows of which none applies is known
// but not kept, a field without rows is not one of the code's.
template <class R>
struct Row {
    using Record = R;
    uint8_t n;
    Conv conv;
    Target<R> to{};
    uint64_t sub = 0;
    When<R> when = nullptr;
    Hook<R> hook = nullptr;
    // The last field of a run of fields read alike; 0: field n alone.
    uint8_t last = 0;
};

// Fields lo .. hi that must stay empty for a result of this kind.
template <class R>
constexpr Row<R> foreign(int lo, int hi) {
    return Row<R>{uint8_t(lo), Conv::Foreign, {}, 0, nullptr, nullptr, uint8_t(hi)};
}

template <class R>
constexpr Row<R> hook(int n, Hook<R> h, uint64_t sub = 0, When<R> when = nullptr) {
    return Row<R>{uint8_t(n), Conv::Hook, {}, sub, when, h};
}
// The units a code's record is shown with before any field is read: groups of members
// sharing a unit.
template <class R>
struct Units {
    using Record = R;
    FixedUnit unit;
    TResultValue R::*members[12];
};
template <class R, size_t N>
void unitsOf(R& rec, const Units<R> (&groups)[N]) {
    for (const Units<R>& g : groups)
        for (TResultValue R::*m : g.members) {
            if (!m) break;
            (rec.*m).Unit = g.unit;
        }
}
namespace unit {
inline constexpr FixedUnit V = "V", A = "A", mA = "mA", s = "s", mm2 = "mm2", Hz = "Hz", F = "F";
inline constexpr FixedUnit O = kOhm;
}  // namespace unit

// One table of several parts (rows that codes share, and their own).
template <class R, size_t... N>
constexpr auto join(const std::array<Row<R>, N>&... parts) {
    std::array<Row<R>, (N + ...)> out{};
    size_t i = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + i), i += parts.size()), ...);
    return out;
}

// Field numbers of the tables stop here.
inline constexpr int kMaxField = 31;

template <const auto& table>
struct CompiledTable;
template <const auto& table>
using RecordOf = typename std::remove_cvref_t<decltype(table[0])>::Record;

// Conditions shared by the families.
template <class R>
bool reducedSystem(const R& s, const Parser&, sv) {
    return s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
}
template <class R>
bool tnSystem(const R& s, const Parser&, sv) {
    return s.EarthingSystem == 1 || s.EarthingSystem == 2;
}

// Reads the fields of one FP string into its sub-record. The driver (fp_parser.cpp) runs it;
// each measurement family (functions/<family>.cpp) holds the field tables of its codes.
class Parser {
  public:
    Parser(TResultsData& r, const FpParseContext& c, bool& flag)
        : r_(r), c_(c), newFunctionsSeen_(flag) {}

    void run(sv fp);

    // ---- for the families' hooks and conditions ----
    int code() const { return code_; }
    int protVer() const { return c_.protVer; }
    bool korven() const { return c_.variant == kKorven; }
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

    // Reads field n by the rows of `table`; false when no row names n. The rows of one
    // field are tried in order; the first whose sub-functions and condition hold reads it.
    template <const auto& table>
    bool read(RecordOf<table>& rec, int n, sv t) {
        if (n < 0 || n > kMaxField) return false;
        const auto reader = CompiledTable<table>::kFields[size_t(n)];
        if (!reader) return false;
        reader(*this, rec, t);
        return true;
    }

    // Reads the field by one row, whatever its field number and conditions.
    template <class R>
    void apply(R& rec, const Row<R>& row, sv t) {
        const Target<R>& to = row.to;
        switch (row.conv) {
            case Conv::Set:
                return set(value(rec, to), t);
            case Conv::Dash:
                return dash(value(rec, to), t);
            case Conv::Split:
                return split(value(rec, to), t);
            case Conv::SplitDash:
                return splitDash(value(rec, to), t);
            case Conv::SplitReplace:
                return splitReplace(value(rec, to), t);
            case Conv::Text:
                put(rec.*to.text, t);
                return;
            case Conv::Status:
                return status(rec.*to.byte, t);
            case Conv::Esys:
                return esys(rec.*to.byte, t);
            case Conv::Mark:
                rec.*to.byte = 1;
                return;
            case Conv::Hook:
                return row.hook(*this, rec, t);
            case Conv::Ignore:
                return;
            case Conv::Foreign:
                return flag();
        }
    }

  private:
    template <class R>
    static TResultValue& value(R& rec, const Target<R>& to) {
        return to.value ? rec.*to.value : (rec.*to.steps)[to.step];
    }

    TResultsData& r_;
    const FpParseContext& c_;
    bool& newFunctionsSeen_;
    int code_ = 0;
    int layout_ = 0;
    const Layout* layoutRow_ = nullptr;
    StatusMap statusMap_ = StatusMap::None;
};

// A field table turned into code when the program is compiled: for every field number one
// function that tries the rows of that field in order, with their members, conversions and
// conditions written in.
template <const auto& table>
struct CompiledTable {
    using R = RecordOf<table>;
    using Reader = void (*)(Parser&, R&, sv);
    static constexpr size_t kRows = std::size(table);

    static constexpr bool covers(size_t i, int n) {
        return n >= table[i].n && n <= (table[i].last ? table[i].last : table[i].n);
    }
    static constexpr bool fits() {
        for (size_t i = 0; i < kRows; ++i)
            if ((table[i].last ? table[i].last : table[i].n) > kMaxField) return false;
        return true;
    }
    static constexpr bool known(int n) {
        for (size_t i = 0; i < kRows; ++i)
            if (covers(i, n)) return true;
        return false;
    }
    template <size_t i>
    static bool tryRow(Parser& p, R& rec, sv t) {
        constexpr Row<R> row = table[i];
        if constexpr (row.sub != 0) {
            if constexpr (requires { rec.SubFunction; }) {
                if (rec.SubFunction >= 64 || !((row.sub >> rec.SubFunction) & 1)) return false;
            }
        }
        if constexpr (row.when != nullptr) {
            if (!row.when(rec, p, t)) return false;
        }
        p.apply(rec, row, t);
        return true;
    }
    template <int n, size_t... I>
    static void field(Parser& p, R& rec, sv t, std::index_sequence<I...>) {
        (void)((covers(I, n) && tryRow<I>(p, rec, t)) || ...);
    }
    template <int n>
    static void fieldAt(Parser& p, R& rec, sv t) {
        field<n>(p, rec, t, std::make_index_sequence<kRows>{});
    }
    template <size_t... N>
    static constexpr std::array<Reader, kMaxField + 1> make(std::index_sequence<N...>) {
        static_assert(fits(), "a field number beyond kMaxField");
        return {(known(int(N)) ? &fieldAt<int(N)> : Reader(nullptr))...};
    }
    static constexpr std::array<Reader, kMaxField + 1> kFields =
        make(std::make_index_sequence<kMaxField + 1>{});
};

// The record kind a record type is (the list of record kinds in function_codes.h).
template <class T>
constexpr ResultRecord recordKindOf() {
#define PELVORO_KIND_OF(kind, type, member, family) \
    if constexpr (std::is_same_v<T, type>) return ResultRecord::kind;
    PELVORO_RESULT_RECORDS(PELVORO_KIND_OF)
#undef PELVORO_KIND_OF
    return ResultRecord::None;
}

// How the strings of one layout are read: the record they fill, what that record starts
// with before any field is read (its units), and the reader of its fields (false for a
// field number the layout does not define). Each family lists its layouts in a table.
struct Layout {
    int number;
    ResultRecord record;
    void (*prepare)(Parser&, TResultsData&);
    bool (*fields)(Parser&, TResultsData&, int n, sv t);
};

template <auto member, const auto& groups>
void presetUnits(Parser&, TResultsData& r) {
    using G = typename std::remove_cvref_t<decltype(groups[0])>::Record;
    unitsOf<G>(r.*member, groups);
}
template <auto member, const auto& table>
bool readFields(Parser& p, TResultsData& r, int n, sv t) {
    return p.read<table>(r.*member, n, t);
}
template <auto member>
using MemberType = std::remove_cvref_t<decltype(std::declval<TResultsData&>().*member)>;

// A layout whose record `member` is read by the field table `table` and starts with the
// units `groups`; the others give their own functions.
template <auto member, const auto& table, const auto& groups>
constexpr Layout layout(int number) {
    return {number, recordKindOf<MemberType<member>>(), &presetUnits<member, groups>,
            &readFields<member, table>};
}
template <auto member, const auto& table>
constexpr Layout layoutWithoutUnits(int number) {
    return {number, recordKindOf<MemberType<member>>(), nullptr, &readFields<member, table>};
}

// The layouts of each family (functions/<family>.cpp).
std::span<const Layout> voltageLayouts();
std::span<const Layout> insulationLayouts();
std::span<const Layout> continuityLayouts();
std::span<const Layout> impedanceLayouts();
std::span<const Layout> rcdLayouts();
std::span<const Layout> earthLayouts();
std::span<const Layout> currentLayouts();
std::span<const Layout> wiringLayouts();
std::span<const Layout> inspectionLayouts();
std::span<const Layout> highVoltageLayouts();
std::span<const Layout> machineLayouts();

// The layout the strings of a function code are read by; null when none is known.
const Layout* layoutOfCode(int code);

}  // namespace pelvoro::fp
