#include "results/fp_parser.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "common/text.h"
#include "document/structure_document.h"
#include "results/function_codes.h"
#include "results/functions/field_parser.h"

namespace pelvoro {

namespace {

using namespace fp;

// Field numbers stop counting here; every field this far out is beyond any code's fields.
constexpr int kFieldCap = 1 << 20;

// The first ";" at or after `from`; the string's size when there is none. Fields are short:
// eight bytes are looked at in one go (on little-endian machines), the rest one at a time.
size_t nextSemicolon(std::string_view s, size_t from) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = 0x0101010101010101u;
        constexpr uint64_t kHighBits = 0x8080808080808080u;
        for (; from + 8 <= s.size(); from += 8) {
            uint64_t word;
            std::memcpy(&word, s.data() + from, 8);
            // A byte of x is 0 where the word holds ";"; the lowest marked byte is the first
            // such (marks above it may be false, carried by the subtraction).
            const uint64_t x = word ^ (kOnes * uint8_t(';'));
            const uint64_t marks = (x - kOnes) & ~x & kHighBits;
            if (marks) return from + size_t(std::countr_zero(marks) / 8);
        }
    }
    while (from < s.size() && s[from] != ';') ++from;
    return from;
}

// Every text of a sub-record emptied, every byte 0; the status starts at "no verdict at
// all" (3). Nothing of the previous string survives: a string without a status field has
// no verdict, and one without a sub-function field has sub-function 0.
// Cleared in place: the strings keep their buffers for the next parse.
template <class T>
void clearRecord(T& rec) {
    // visit() names every field of the record; the record itself is not const here.
    rec.visit([](const char*, const auto& field) {
        using F = std::decay_t<decltype(field)>;
        F& f = const_cast<F&>(field);
        if constexpr (std::is_same_v<F, uint8_t>) {
            f = 0;
        } else if constexpr (std::is_same_v<F, std::string>) {
            f.clear();
        } else {
            f.Value.clear();
            f.Unit.clear();
        }
    });
    if constexpr (requires { rec.Status; }) rec.Status = kNoVerdict;
}

// Only one sub-record holds values at a time: the one of the last parse. A parse empties
// that one and its own, so every sub-record stays as cleared as if all were cleared before
// every string, without touching the other forty.
void clearRecordOf(TResultsData& r, ResultRecord which) {
    r.withRecord(which, [](const auto& rec) {
        using T = std::decay_t<decltype(rec)>;
        clearRecord(const_cast<T&>(rec));
    });
}

void clearResults(TResultsData& r, ResultRecord own) {
    const ResultRecord last = r.record();
    r.FunctionCode.clear();
    if (last != own) clearRecordOf(r, last);
    clearRecordOf(r, own);
}

// The later installation codes read their fields like the earlier function they add 100
// to; 116 (the diagnostic insulation test) has a layout of its own.
int layoutOf(int code) {
    if (code > 100 && code < 128 && code != 116) return code - 100;
    return code;
}

StatusMap statusMapOf(int code) {
    if ((code >= 51 && code <= 64) || (code >= 71 && code <= 73) || code == 80 || code == 201)
        return StatusMap::Earlier;
    if (code >= 202 && code <= 207) return StatusMap::HighVoltage;
    if ((code >= 1 && code <= 35) || (code >= 101 && code <= 127)) return StatusMap::Digit;
    return StatusMap::None;
}

// Codes whose strings may end early with "!" at the start of a field.
bool hasEndMark(int code) {
    return (code >= 51 && code <= 64) || (code >= 71 && code <= 73) || code == 80 ||
           (code >= 301 && code <= 305);
}

}  // namespace

namespace fp {

void Parser::run(sv fp) {
    // Character 2 is the ";" after "F"; the code runs from character 3 to the next ";".
    const size_t codeEnd = fp.size() >= 3 && fp[0] == 'F' ? fp.find(';', 2) : sv::npos;
    if (codeEnd == sv::npos) {
        clearResults(r_, ResultRecord::None);
        return;
    }
    std::optional<int> number = functionCodeNumber(fp.substr(2, codeEnd - 2));
    if (number && *number < 50) *number += functionCodeOffset(c_.typeCode);
    const FunctionCodeInfo* info = number ? findFunctionCode(*number) : nullptr;
    clearResults(r_, info ? info->record : ResultRecord::None);
    if (!info) {
        flag();
        return;
    }
    code_ = *number;
    layout_ = layoutOf(code_);
    layoutRow_ = layoutOfCode(code_);
    // A layout of another record than the code's reads nothing.
    if (layoutRow_ && layoutRow_->record != info->record) layoutRow_ = nullptr;
    statusMap_ = statusMapOf(code_);
    char digits[12];
    r_.FunctionCode.assign(digits, std::to_chars(digits, digits + sizeof digits, code_).ptr);
    if (layoutRow_ && layoutRow_->prepare) layoutRow_->prepare(*this, r_);
    // The earlier typed instruments work on a TN/TT system unless a field says otherwise.
    if (code_ == 52) r_.ZLINE.EarthingSystem = 1;
    if (code_ == 53) r_.ZLOOP.EarthingSystem = 1;
    if (code_ == 54) r_.RCD.EarthingSystem = 1;

    const bool endMark = hasEndMark(code_);
    int n = 2;
    size_t start = codeEnd + 1;
    for (;;) {
        if (endMark && start < fp.size() && fp[start] == '!') return;
        const size_t end = nextSemicolon(fp, start);
        if (end == fp.size()) return;  // a field without its ";" is not read
        if (n < kFieldCap) ++n;
        const sv text = fp.substr(start, end - start);
        // Field 3 is the sub-function; codes without one ignore it.
        const bool known = layoutRow_ && layoutRow_->fields(*this, r_, n, text);
        if (!known && n != 3) flag();
        start = end + 1;
    }
}

void Parser::status(uint8_t& b, sv t) {
    if (layout_ == 25 && t == "255") {
        b = 3;
        return;
    }
    int mapped = -1;
    if (t.size() == 1 && t[0] >= '0' && t[0] <= '9') {
        const int d = t[0] - '0';
        switch (statusMap_) {
            case StatusMap::Earlier: {
                static constexpr int kMap[] = {0, 5, 1, 2};
                if (d < 4)
                    mapped = kMap[d];
                else if (code_ == 80 && d == 4)
                    mapped = 9;
                else if (code_ == 80 && d == 5)
                    mapped = 10;
                break;
            }
            case StatusMap::HighVoltage: {
                static constexpr int kMap[] = {3, 0, 1, 2};
                if (d < 4) mapped = kMap[d];
                break;
            }
            case StatusMap::Digit:
                if (d <= 6) mapped = d;
                break;
            case StatusMap::None:
                break;
        }
    }
    if (mapped < 0)
        flag();
    else
        b = uint8_t(mapped);
}

// 1 TN/TT, 2 IT, 3 reduced 55 V, 4 reduced 63 V, 5 the 230 V system; "255" none given.
void Parser::esys(uint8_t& b, sv t) {
    if (t == "255")
        b = 6;
    else
        mapSpan(b, t, {{0, 5, 0}});
}

const Layout* layoutOfCode(int code) {
    // Layout numbers are function codes (the later installation codes read like the earlier
    // ones); one slot for each, filled once from the families' tables.
    static const auto kIndex = [] {
        std::array<const Layout*, kHighestFunctionCode + 1> index{};
        for (auto family :
             {voltageLayouts(), insulationLayouts(), continuityLayouts(), impedanceLayouts(),
              rcdLayouts(), earthLayouts(), currentLayouts(), wiringLayouts(), inspectionLayouts(),
              highVoltageLayouts(), machineLayouts()})
            for (const Layout& l : family) index.at(size_t(l.number)) = &l;
        return index;
    }();
    const int number = layoutOf(code);
    return number >= 0 && size_t(number) < kIndex.size() ? kIndex[size_t(number)] : nullptr;
}

}  // namespace fp

void splitValueField(std::string_view text, TResultValue& target) {
    const size_t n = valueLength(text);
    fp::put(target.Value, text.substr(0, n));
    if (n < text.size()) target.Unit.prepend(text.substr(n));
}

void ParseFpString(std::string_view fp, const FpParseContext& context, TResultsData& results,
                   bool& newFunctionsSeen) {
    Parser(results, context, newFunctionsSeen).run(fp);
}

void ParseFpString(std::string_view fp, int protVer, StructureDocument& document,
                   TResultsData& results) {
    const FpParseContext context{document.InstrumentData.typeCode(),
                                 document.InstrumentData.InstrVariant, protVer};
    ParseFpString(fp, context, results, document.NewFunctionsSeen);
}

int TResultsData::functionCode() const {
    return functionCodeNumber(FunctionCode).value_or(0);
}

ResultRecord TResultsData::record() const {
    const FunctionCodeInfo* info = findFunctionCode(functionCode());
    return info ? info->record : ResultRecord::None;
}

}  // namespace pelvoro
