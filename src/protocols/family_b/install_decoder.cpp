#include "protocols/family_b/install_decoder.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/lang_text.h"
#include "results/coded_record.h"
#include "results/result_codes.h"

namespace pelvoro {

namespace {

constexpr int kHeaderLength = 6;

// The quantity codes that the position table treats alike ("S1").
const std::vector<int> kS1 = {1, 4, 22, 26, 28, 50, 53, 57};

std::vector<int> s1And(std::initializer_list<int> more) {
    std::vector<int> q = kS1;
    q.insert(q.end(), more);
    return q;
}

// Where a value group goes in a function's FP string: the function code, the group's
// kind ('M', 'P' or 'R'), its quantity codes and the field position. Every list also
// puts its pass/fail group (R 0) at position 4, and the RCD tests place quantity 31 by
// their sub-function (rcdLimitPosition).
struct Placement {
    int code;
    char kind;
    std::vector<int> quantities;
    int position;
};

const std::vector<Placement>& placements() {
    static const std::vector<Placement> table = {
        {101, 'P', {0}, 5},
        {101, 'R', {16}, 7},
        {101, 'R', {17, 244, 247}, 8},
        {101, 'R', {18, 245, 248}, 9},
        {101, 'R', {19, 246, 249}, 10},
        {101, 'R', {243}, 11},
        {102, 'M', kS1, 6},
        {102, 'P', {0}, 13},
        {102, 'P', {90}, 5},
        {102, 'R', s1And({100, 101, 102}), 7},
        {102, 'R', {5}, 8},
        {103, 'M', kS1, 5},
        {103, 'P', {0}, 12},
        {103, 'R', kS1, 6},
        {103, 'R', {2}, 7},
        {103, 'R', {3}, 8},
        {104, 'M', {8, 9, 22, 74}, 8},
        {104, 'P', {0}, 18},
        {104, 'P', {240}, 5},
        {104, 'P', {241}, 6},
        {104, 'P', {242}, 7},
        {104, 'R', s1And({20, 24}), 9},
        {104, 'R', {21, 25, 29}, 10},
        {105, 'M', {8, 9, 22, 74}, 9},
        {105, 'P', {0}, 5},
        {105, 'P', {240}, 6},
        {105, 'P', {241}, 7},
        {105, 'P', {242}, 8},
        {105, 'R', s1And({215}), 12},
        {105, 'R', {20, 24, 214}, 10},
        {105, 'R', {21, 25, 29, 216}, 11},
        {105, 'R', {217}, 13},
        {106, 'M', {22}, 11},
        {106, 'P', {0}, 5},
        {106, 'P', {87}, 6},
        {106, 'P', {88}, 8},
        {106, 'P', {89, 91}, 7},
        {106, 'R', {30, 36, 40, 220}, 9},
        {106, 'R', {32, 33, 38, 41, 218}, 10},
        {106, 'R', {35, 39, 42, 221}, 11},
        {106, 'R', {43, 219}, 12},
        {106, 'R', {44}, 13},
        {106, 'R', {45}, 14},
        {106, 'R', {46}, 15},
        {108, 'M', kS1, 5},
        {108, 'P', {0}, 10},
        {108, 'R', kS1, 6},
        {108, 'R', {51, 55, 59}, 7},
        {108, 'R', {52, 56, 60}, 8},
        {109, 'M', {74}, 5},
        {109, 'P', {0}, 7},
        {109, 'R', {8, 9}, 6},
        {113, 'M', {95}, 5},
        {113, 'P', {0}, 7},
        {113, 'R', {95}, 6},
        {114, 'M', {74}, 6},
        {114, 'P', {0}, 11},
        {114, 'R', {218}, 9},
        {114, 'R', {219}, 10},
        {114, 'R', {224}, 7},
        {114, 'R', {225}, 8},
        {115, 'M', {74}, 5},
        {115, 'P', {0}, 9},
        {115, 'R', {222}, 6},
        {115, 'R', {223}, 7},
        {116, 'P', {0}, 11},
        {116, 'P', {90}, 10},
        {116, 'R', {250}, 5},
        {116, 'R', {251}, 6},
        {116, 'R', {252}, 7},
        {116, 'R', {253}, 8},
        {116, 'R', {254}, 9},
        {125, 'M', kS1, 11},
        {125, 'P', {0}, 10},
        {125, 'R', kS1, 5},
        {125, 'R', {96}, 6},
        {125, 'R', {97}, 7},
        {125, 'R', {2}, 8},
        {125, 'R', {3}, 9},
        {127, 'M', kS1, 6},
        {127, 'P', {0}, 10},
        {127, 'R', {98, 99}, 7},
        {127, 'R', {2}, 8},
        {127, 'R', {3}, 9},
    };
    return table;
}

// Quantity 31 (M) of the RCD tests: where it goes depends on the sub-function.
std::optional<int> rcdLimitPosition(int sub) {
    if (sub == 0 || (sub >= 13 && sub <= 15)) return 9;
    if ((sub >= 1 && sub <= 3) || (sub >= 10 && sub <= 12) || (sub >= 16 && sub <= 21)) return 8;
    return std::nullopt;
}

// Fields of the list before the groups are read: its length and the preset entries.
struct InitialFields {
    int length;
    int presetPosition[2];
    std::string_view presetText[2];
};

InitialFields initialFields(int code) {
    switch (code) {
        case 101:
            return {7, {6, 7}, {"0", "0"}};
        case 102:
            return {6, {6, 0}, {"-", ""}};
        case 103:
        case 108:
        case 109:
        case 113:
        case 115:
            return {5, {5, 0}, {"-", ""}};
        case 104:
            return {8, {5, 8}, {"*F", "-"}};
        case 105:
            return {9, {6, 9}, {"*F", "-"}};
        case 114:
            return {6, {5, 6}, {"2", "-"}};
        default:
            return {4, {0, 0}, {"", ""}};
    }
}

void setField(std::vector<std::string>& fields, int position, std::string text) {
    if (position < 1) return;
    if (fields.size() < std::size_t(position)) fields.resize(std::size_t(position));
    fields[std::size_t(position) - 1] = std::move(text);
}

std::string_view fieldAt(const std::vector<std::string>& fields, int position) {
    if (position < 1 || std::size_t(position) > fields.size()) return {};
    return fields[std::size_t(position) - 1];
}

}  // namespace

std::optional<InstallFunction> installFunction(int b, std::string_view typeCode) {
    bool older = typeCode == "20" || typeCode == "26";
    bool newer = typeCode == "24" || typeCode == "25";
    switch (b) {
        case 2:
            if (older) return InstallFunction{"Funct_R-LowOhm", 103, 1};
            if (newer) return InstallFunction{"Funct_CONT", 125, 4};
            return std::nullopt;
        case 6:
            return InstallFunction{"Funct_RCD-Uc", 106, 3};
        case 7:
            return InstallFunction{"Funct_RCD-t", 106, 0};
        case 8:
            return InstallFunction{"Funct_RCD-I", 106, 1};
        case 9:
            return InstallFunction{"Funct_RCD-Auto", 106, 2};
        case 11:
            return InstallFunction{"Funct_EARTH", 108, 0};
        case 15:
            if (older) return InstallFunction{"Funct_R-ISO", 102, 0};
            if (newer) return InstallFunction{"Funct_R-ISO", 102, 11};
            return std::nullopt;
        case 16:
        case 17:
        case 18:
            return InstallFunction{"Funct_R-ISO", 102, b - 4};
        case 21:
            return InstallFunction{"Funct_CURRENT", 109, 0};
        case 28:
            return InstallFunction{"Funct_Z-LOOP", 105, 0};
        case 30:
            return InstallFunction{"Funct_Z-LINE", 104, 0};
        case 33:
            return InstallFunction{"Funct_PHASEROT", 101, -1};
        case 34:
            return InstallFunction{"Funct_CONT", 103, 0};
        case 36:
        case 37:
            return InstallFunction{"Funct_CONT", 125, b - 31};
        case 38:
        case 39:
            return InstallFunction{"Funct_CONT", 127, b - 34};
        case 56:
            return InstallFunction{"Funct_ZsRCD", 105, 3};
        case 57:
            return InstallFunction{"Funct_ILLUM", 113, -1};
        case 61:
            return InstallFunction{"Funct_R-LINE", 104, 0};
        case 62:
            return InstallFunction{"Funct_R-LOOP", 105, 0};
        case 63:
            return InstallFunction{"Funct_VOLT", 101, -1};
        case 64:
            return InstallFunction{"Funct_ISFL", 115, -1};
        case 65:
            return InstallFunction{"Funct_IMD-CHECK", 114, -1};
        case 66:
            return InstallFunction{"Funct_R_DIAGN", 116, -1};
        default:
            break;
    }
    if (b >= 100 && b <= 109) return InstallFunction{"Funct_R-ISO", 102, b - 80};
    if (b >= 120 && b <= 125) return InstallFunction{"Funct_Z-LINE", 104, b - 110};
    if (b >= 130 && b <= 132) return InstallFunction{"Funct_Z-LOOP", 105, b - 120};
    if (b >= 135 && b <= 137) return InstallFunction{"Funct_ZsRCD", 105, b - 122};
    if (b >= 140 && b <= 151) {
        // Four tests, each on the three phases: bytes 140 + 4 * phase + test.
        static constexpr std::string_view keys[4] = {"Funct_RCD-Uc", "Funct_RCD-t", "Funct_RCD-I",
                                                     "Funct_RCD-Auto"};
        int test = (b - 140) % 4;
        int phase = (b - 140) / 4;
        return InstallFunction{keys[test], 106, 10 + test * 3 + phase};
    }
    return std::nullopt;
}

std::optional<int> installFieldPosition(int code, char kind, int q, int sub) {
    bool knownCode = false;
    for (const Placement& p : placements()) {
        if (p.code != code) continue;
        knownCode = true;
        if (p.kind == kind &&
            std::find(p.quantities.begin(), p.quantities.end(), q) != p.quantities.end())
            return p.position;
    }
    if (!knownCode) return std::nullopt;
    if (kind == 'R' && q == 0) return 4;
    if (code == 106 && kind == 'M' && q == 31) return rcdLimitPosition(sub);
    return std::nullopt;
}

std::optional<std::string_view> installUnitText(int unitCode) {
    switch (unitCode) {
        case 0:
            return "";
        case 1:
            return "V";
        case 3:
            return "A";
        case 4:
            return "mA";
        case 5:
            return "Ohm";
        case 6:
            return "mOhm";
        case 7:
            return "MOhm";
        case 8:
            return "s";
        case 9:
            return "mA";
        case 10:
            return "ms";
        case 11:
            return "Ohmm";
        case 12:
            return "m";
        case 13:
            return "%";
        case 14:
            return "W";
        case 15:
            return "kW";
        case 16:
            return "VA";
        case 17:
            return "kVA";
        case 18:
            return "VAR";
        case 19:
            return "kVAR";
        case 20:
            return "PF";
        case 21:
            return "kOhm";
        case 22:
            return "kOhmm";
        case 23:
            return "Hz";
        case 24:
            return "kA";
        case 25:
            return "mWh";
        case 26:
            return "Wh";
        case 27:
            return "kWh";
        case 28:
            return "h";
        case 29:
            return "min";
        case 32:
            return kPhase0;
        case 33:
            return kPhase180;
        case 34:
            return "General";
        case 35:
            return "Selective";
        case 36:
            return "lux";
        case 37:
            return "klux";
        case 60:
            return "General_Pulse";
        case 61:
            return "Selective_Pulse";
        case 62:
            return "TN/TT";
        case 63:
            return "IT";
        case 64:
            return "REDUCED 55V";
        case 65:
            return "REDUCED 63V";
        case 66:
            return "GOhm";
        case 67:
            return "General_B";
        case 68:
            return "Selective_B";
        default:
            return std::nullopt;
    }
}

std::optional<std::string> installStoredUnit(int code, int u) {
    auto text = installUnitText(u);
    if (!text) return std::nullopt;
    auto reduced = [&]() -> std::optional<std::string_view> {
        switch (code) {
            case 101:
                if (u == 1 || u == 23) return "";
                break;
            case 102:
            case 116:
                if (u == 7) return "M";
                if (u == 1) return "";
                if (u == 66) return "G";
                break;
            case 103:
            case 125:
            case 127:
                if (u == 5) return "";
                break;
            case 104:
            case 105:
                if (u == 5 || u == 3 || u == 8) return "";
                if (u == 10) return "m";
                if (u == 24) return "k";
                break;
            case 106:
                if (u == 4 || u == 10) return "m";
                if (u == 1 || u == 5) return "";
                break;
            case 108:
                if (u == 5) return "";
                if (u == 21) return "k";
                break;
            case 109:
                if (u == 3) return "";
                if (u == 4) return "m";
                if (u == 24) return "k";
                break;
            case 113:
                if (u == 36) return "";
                if (u == 37) return "k";
                break;
            case 114:
            case 115:
                if (u == 5 || u == 3) return "";
                if (u == 21) return "k";
                if (u == 4) return "m";
                break;
            default:
                break;
        }
        return std::nullopt;
    }();
    return std::string(reduced ? *reduced : *text);
}

bool DecodeInstallRecord(std::string_view record, std::string_view typeCode, std::string& fpString,
                         std::string& name) {
    if (record.empty()) return true;
    fpString.clear();
    name.clear();
    if (record.size() <= std::size_t(kHeaderLength)) return false;
    std::string_view body = record.substr(kHeaderLength);

    auto function = installFunction(static_cast<unsigned char>(body[0]), typeCode);
    if (!function) return false;
    name = LangText(function->nameKey);
    const int code = function->code;
    const int sub = function->subFunction;

    std::vector<std::string> fields;
    fields.reserve(20);
    fields.push_back("F");
    fields.push_back(std::to_string(code));
    fields.resize(3);
    if (sub >= 0) fields[2] = std::to_string(sub);
    fields.resize(4);
    fields[3] = "3";
    InitialFields init = initialFields(code);
    fields.resize(std::size_t(init.length));
    for (int i = 0; i < 2; ++i)
        setField(fields, init.presetPosition[i], std::string(init.presetText[i]));

    bool understood = true;
    CodedRecordReader reader(body.substr(1));
    while (!reader.atEnd()) {
        ValueGroup g = reader.next(false);
        if (g.truncated) {
            understood = false;
            break;
        }
        auto position = installFieldPosition(code, g.kind, g.quantity, sub);
        if (!position) {
            understood = false;
            continue;
        }
        auto storedUnit = installStoredUnit(code, g.unit);
        if (!storedUnit) {
            understood = false;
            continue;
        }
        if (g.unsafeValue) understood = false;
        std::string value = std::move(g.value);
        std::string unit = std::move(*storedUnit);

        if (code == 106 && g.quantity == 91) {
            // The type group: the field already holds the phase of the test ("0°"
            // when none was delivered); the unit names the RCD type.
            std::string field(fieldAt(fields, *position));
            if (field.empty()) field = std::string(kPhase0);
            if (auto type = rcdTypeFromUnit(unit)) {
                field = rcdWaveformSymbol(*type, field, sub);
                unit = field + std::string(rcdKindSymbol(type->selective));
            }
        } else if (code == 101 && g.quantity == 16) {
            value = std::to_string(PhaseOrderCode(value));
            unit.clear();
        } else if (code == 101 && g.quantity >= 17 && g.quantity <= 19) {
            setField(fields, 7, "3");
        } else if (g.quantity == 0 && g.unit == 0) {
            value = std::to_string(PassFailCode(value));
            unit.clear();
        } else if (g.quantity == 0) {
            value = std::to_string(EarthingSystemCode(g.unit));
            unit.clear();
        }
        setField(fields, *position, value + unit);
    }

    for (const std::string& f : fields) {
        fpString += f;
        fpString += ';';
    }
    return understood;
}

}  // namespace pelvoro
