#include "results/function_codes.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace pelvoro {

namespace {

using R = ResultRecord;

constexpr HeadingName K(std::string_view key) {
    return {HeadingKind::Key, key};
}
constexpr HeadingName M(std::string_view markup) {
    return {HeadingKind::Markup, markup};
}

constexpr FunctionCodeInfo one(int code, R record, HeadingName name, bool bold = false) {
    return {code, record, {name, {}, {}, {}}, 1, bold};
}
constexpr FunctionCodeInfo two(int code, R record, HeadingName a, HeadingName b) {
    return {code, record, {a, b, {}, {}}, 2, false};
}
constexpr FunctionCodeInfo three(int code, R record, HeadingName a, HeadingName b, HeadingName c) {
    return {code, record, {a, b, c, {}}, 3, false};
}
constexpr FunctionCodeInfo four(int code, R record, HeadingName a, HeadingName b, HeadingName c,
                                HeadingName d) {
    return {code, record, {a, b, c, d}, 4, false};
}

// Ascending by code.
constexpr std::array kTable = {
    two(1, R::Volt, M("#K301 #K345 #S257"), M("#K301/PHASE SEQ.")),
    one(2, R::Iso, M("#K302: ")),
    one(3, R::Cont, M("#K303: ")),
    one(4, R::ZLine, M("#K304")),
    one(5, R::ZLoop, M("#K305")),
    one(6, R::Rcd, M("#K538: ")),
    one(8, R::Earth, M("#K308: ")),
    one(9, R::Current, M("#K309")),
    one(13, R::Sensor, M("#K313")),
    one(14, R::Imd, M("#K314")),
    one(15, R::Isfl, M("#K315")),
    one(16, R::Visual, M("#K316: ")),
    one(17, R::ErtCont, M("#K317: ")),
    one(18, R::Iso, M("#K318: ")),
    one(19, R::Polar, M("#K319: ")),
    two(20, R::CorrConn, M("#K520: "), M("#K549: ")),
    one(21, R::FoltLoop, M("#K521: ")),
    one(22, R::FulSched, M("#K522"), true),
    one(23, R::DomSched, M("#K523"), true),
    one(24, R::Function, M("#K524"), true),
    one(25, R::Ring, M("#K525: ")),
    one(26, R::Polar, M("#K526")),
    one(27, R::ContAt, M("#K527: ")),
    one(28, R::Varistor, M("#K528: ")),
    one(29, R::LoopRe, M("#K529: ")),
    one(30, R::Rebt02, M("#K530"), true),
    one(31, R::Rebt73, M("#K531"), true),
    one(32, R::Rebt75, M("#K532"), true),
    one(33, R::TchVolt, M("#K533: ")),
    one(35, R::IncNeutr, M("#K535")),
    one(51, R::Volt, K("Funct_VOLT")),
    two(52, R::ZLine, M("#K304"), M("#K304 dU")),
    one(53, R::ZLoop, M("#K305")),
    one(54, R::Rcd, M("#K538: ")),
    one(55, R::Iso, K("Funct_R-ISO")),
    two(56, R::Cont, K("Funct_R-LowOhm"), K("Funct_CONT")),
    one(57, R::Earth, M("#K308: ")),
    one(58, R::Current, M("#K309")),
    one(61, R::Ring, K("Funct_CONT")),
    one(62, R::ContAt, K("Funct_CONT")),
    one(63, R::Ring, M("#K525")),
    one(64, R::Socket, K("Funct_SOCKET")),
    one(71, R::ContVolt, K("Funct_CONTVOLT")),
    one(72, R::StepVolt, K("Funct_STEPVOLT")),
    one(73, R::Earth, K("Funct_EARTH_RE")),
    one(80, R::ResMicro, K("Funct_RESIST")),
    two(101, R::Volt, K("Funct_VOLT"), K("Funct_PHASEROT")),
    one(102, R::Iso, K("Funct_R-ISO")),
    two(103, R::Cont, K("Funct_R-LowOhm"), K("Funct_CONT")),
    two(104, R::ZLine, K("Funct_Z-LINE"), K("Funct_R-LINE")),
    three(105, R::ZLoop, K("Funct_Z-LOOP"), K("Funct_ZsRCD"), K("Funct_R-LOOP")),
    four(106, R::Rcd, K("Funct_RCD-t"), K("Funct_RCD-I"), K("Funct_RCD-Auto"), K("Funct_RCD-Uc")),
    one(108, R::Earth, K("Funct_EARTH")),
    one(109, R::Current, K("Funct_CURRENT")),
    one(113, R::Sensor, K("Funct_ILLUM")),
    one(114, R::Imd, K("Funct_IMD-CHECK")),
    one(115, R::Isfl, K("Funct_ISFL")),
    one(116, R::Iso, K("Funct_R_DIAGN")),
    one(125, R::Ring, K("Funct_CONT")),
    one(127, R::ContAt, K("Funct_CONT")),
    one(201, R::VoltTo, K("Funct_VOLTAGE")),
    one(202, R::IsoTo, K("Funct_INSUL-RES")),
    one(204, R::DiagnTo, K("Funct_DIAGN-TEST")),
    one(206, R::StepvTo, K("Funct_STEP-VOLT")),
    one(207, R::WithstTo, K("Funct_WITH-VOLT")),
    one(301, R::HvMt, K("HV_16")),
    one(302, R::DuMt, K("dU_16")),
    one(303, R::R10aMt, K("R-10A_16")),
    one(304, R::MohmMt, K("MOhm_16")),
    one(305, R::DtMt, K("dT_16")),
};

static_assert(std::is_sorted(kTable.begin(), kTable.end(),
                             [](const auto& a, const auto& b) { return a.code < b.code; }));

}  // namespace

CodeFamily codeFamily(int code) {
    if (code >= 1 && code <= 35) return CodeFamily::Earlier;
    if (code >= 51 && code <= 64) return CodeFamily::EarlierTyped;
    if (code == 71 || code == 72 || code == 73 || code == 80) return CodeFamily::Single;
    if (code >= 101 && code <= 127) return CodeFamily::LaterInstall;
    if (code >= 201 && code <= 207) return CodeFamily::HighVoltage;
    if (code >= 301 && code <= 305) return CodeFamily::Machine;
    return CodeFamily::Unknown;
}

std::optional<int> functionCodeNumber(std::string_view text) {
    // Nine digits at most keep the number inside an int.
    if (text.empty() || text.size() > 9 || text[0] == '0') return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view resultRecordName(ResultRecord record) {
    switch (record) {
        case R::None:
            return "";
#define PELVORO_RECORD_NAME(kind, type, member, family) \
    case R::kind:                                       \
        return #type;
            PELVORO_RESULT_RECORDS(PELVORO_RECORD_NAME)
#undef PELVORO_RECORD_NAME
    }
    return "";
}

std::span<const FunctionCodeInfo> functionCodeTable() {
    return kTable;
}

static_assert(kTable.back().code == kHighestFunctionCode);

const FunctionCodeInfo* findFunctionCode(int code) {
    // An index by code finds a row without a search.
    static const auto kIndex = [] {
        std::array<int16_t, kHighestFunctionCode + 1> index;
        index.fill(-1);
        for (size_t i = 0; i < kTable.size(); ++i) index[size_t(kTable[i].code)] = int16_t(i);
        return index;
    }();
    if (code < 0 || size_t(code) >= kIndex.size() || kIndex[size_t(code)] < 0) return nullptr;
    return &kTable[size_t(kIndex[size_t(code)])];
}

const FunctionCodeInfo* findFunctionCode(std::string_view codeText) {
    auto number = functionCodeNumber(codeText);
    return number ? findFunctionCode(*number) : nullptr;
}

}  // namespace pelvoro
