#include "protocols/family_b/hv_decoder.h"

#include <vector>

#include "common/lang_text.h"
#include "common/prompts.h"
#include "results/coded_record.h"

namespace pelvoro {

namespace {

constexpr int kHeaderLength = 4;
constexpr int kSubFunction = 0;  // the same for every function
constexpr std::string_view kStatusPreset = "1";

// Position of the time ('T') and date ('D') groups: the last two fields.
std::optional<int> timeDatePosition(int code, char kind) {
    int date = 0;
    switch (code) {
        case 201:
            date = 8;
            break;
        case 202:
        case 207:
            date = 14;
            break;
        case 204:
            date = 21;
            break;
        case 206:
            date = 27;
            break;
        default:
            return std::nullopt;
    }
    return kind == 'D' ? date : date - 1;
}

std::optional<int> positionP(int code, int q) {
    switch (code) {
        case 202:
            if (q == 64) return 11;
            if (q == 66) return 12;
            break;
        case 204:
            if (q == 64) return 15;
            if (q >= 66 && q <= 69) return q - 50;
            break;
        case 206:
            if (q == 64) return 19;
            if (q == 66) return 20;
            if (q >= 70 && q <= 74) return q - 49;
            break;
        case 207:
            switch (q) {
                case 80:
                    return 7;
                case 81:
                    return 8;
                case 83:
                    return 9;
                case 84:
                    return 10;
                case 85:
                    return 11;
                case 82:
                    return 12;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return std::nullopt;
}

std::optional<int> positionR(int code, int q) {
    switch (code) {
        case 201:
            if (q == 0) return 4;
            if (q == 48) return 5;
            if (q == 49) return 6;
            break;
        case 202:
            if (q >= 0 && q <= 6) return q + 4;
            break;
        case 204:
            switch (q) {
                case 0:
                    return 4;
                case 1:
                    return 5;
                case 2:
                    return 6;
                case 3:
                    return 7;
                case 4:
                    return 8;
                case 7:
                    return 9;
                case 8:
                    return 10;
                case 9:
                    return 11;
                case 13:
                    return 12;
                case 14:
                    return 13;
                case 12:
                    return 14;
                default:
                    break;
            }
            break;
        case 206:
            if (q >= 0 && q <= 4) return q + 4;
            if (q >= 17 && q <= 26) return q - 8;
            break;
        case 207:
            if (q == 0) return 4;
            if (q == 32) return 5;
            if (q == 33) return 6;
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<HvFunction> hvFunction(int b) {
    switch (b) {
        case 1:
            return HvFunction{"Funct_VOLTAGE", 201, 8};
        case 2:
        case 3:
            return HvFunction{"Funct_INSUL-RES", 202, 14};
        case 4:
        case 5:
            return HvFunction{"Funct_DIAGN-TEST", 204, 21};
        case 6:
            return HvFunction{"Funct_STEP-VOLT", 206, 27};
        case 7:
            return HvFunction{"Funct_WITH-VOLT", 207, 14};
        default:
            return std::nullopt;
    }
}

std::optional<int> hvFieldPosition(int code, char kind, int quantity) {
    switch (kind) {
        case 'T':
        case 'D':
            return timeDatePosition(code, kind);
        case 'P':
            return positionP(code, quantity);
        case 'R':
            return positionR(code, quantity);
        default:
            return std::nullopt;
    }
}

std::optional<std::string_view> hvUnitText(int unitCode) {
    switch (unitCode) {
        case 0:
            return "";
        case 1:
            return "V";
        case 2:
            return "kOhm";
        case 3:
            return "MOhm";
        case 4:
            return "GOhm";
        case 5:
            return "TOhm";
        case 6:
            return "mA";
        case 7:
            return "uA";
        case 8:
            return "uF";
        case 9:
            return "nF";
        case 10:
            return "pF";
        case 11:
            return "min";
        case 12:
            return "Ohm";
        case 13:
            return "kV";
        case 14:
            return "nA";
        case 16:
            return "Hz";
        case 17:
            return "s";
        default:
            return std::nullopt;
    }
}

std::optional<std::string> hvStoredUnit(int code, int u) {
    auto text = hvUnitText(u);
    if (!text) return std::nullopt;
    auto insulation = [](int unit, bool keepSeconds) -> std::optional<std::string_view> {
        switch (unit) {
            case 0:
            case 1:
                return "";
            case 17:
                if (keepSeconds) return std::nullopt;
                return "";
            case 2:
            case 13:
                return "k";
            case 3:
                return "M";
            case 4:
                return "G";
            case 5:
                return "T";
            case 6:
                return "m";
            case 7:
            case 8:
                return "u";
            case 9:
            case 14:
                return "n";
            default:
                return std::nullopt;
        }
    };
    std::optional<std::string_view> reduced;
    switch (code) {
        case 201:
            if (u == 0 || u == 16) reduced = "";
            break;
        case 202:
        case 204:
            reduced = insulation(u, false);
            break;
        case 206:
            reduced = insulation(u, true);
            break;
        case 207:
            if (u == 0 || u == 1 || u == 9 || u == 17)
                reduced = "";
            else if (u == 6)
                reduced = "m";
            else if (u == 13)
                reduced = "k";
            break;
        default:
            break;
    }
    return std::string(reduced ? *reduced : *text);
}

void DecodeHvRecord(std::string_view record, Prompts& prompts, std::string& fpString,
                    std::string& name) {
    if (record.empty()) return;
    fpString.clear();
    name.clear();
    std::string_view body = record.size() > std::size_t(kHeaderLength)
                                ? record.substr(kHeaderLength)
                                : std::string_view{};

    auto function = body.empty() ? std::nullopt : hvFunction(static_cast<unsigned char>(body[0]));
    if (!function) {
        prompts.information("Function Fail");
        return;
    }
    name = LangText(function->nameKey);
    const int code = function->code;

    std::vector<std::string> fields(std::size_t(function->listLength));
    fields[0] = "F";
    fields[1] = std::to_string(code);
    fields[2] = std::to_string(kSubFunction);
    fields[3] = std::string(kStatusPreset);

    CodedRecordReader reader(body.substr(1));
    while (!reader.atEnd()) {
        ValueGroup g = reader.next(true);
        if (g.truncated) break;  // only a kind letter was left
        auto position = hvFieldPosition(code, g.kind, g.quantity);
        if (!position) {
            prompts.information("Quantity Fail FC:" + std::to_string(code) +
                                " QC:" + std::to_string(g.quantity < 0 ? 0 : g.quantity));
            continue;
        }
        std::string unit;
        if (g.unit >= 0) {
            auto stored = hvStoredUnit(code, g.unit);
            if (!stored) {
                prompts.information("Unit Fail");
                continue;
            }
            unit = std::move(*stored);
        }
        if (*position < 1 || std::size_t(*position) > fields.size()) {
            prompts.information("CodePosit Fail");
            continue;
        }
        fields[std::size_t(*position) - 1] = g.value + unit;
    }

    for (const std::string& f : fields) {
        fpString += f;
        fpString += ';';
    }
}

}  // namespace pelvoro
