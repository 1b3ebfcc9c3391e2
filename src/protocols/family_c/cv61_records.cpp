#include "protocols/family_c/cv61_records.h"

namespace pelvoro {

std::string cv61Unit(int code) {
    static const char* const kUnits[] = {"", "V", "kV", "A", "mA", "Ohm", "mOhm", "MOhm", "s"};
    return code >= 1 && code <= 8 ? kUnits[code] : "";
}

std::string cv61Value(unsigned char v0, unsigned char v1, unsigned char v2) {
    if (v0 == 0x00 && v1 == 0xFF && v2 == 0xFF) return {};
    if (v1 == 0xAA && v2 == 0xAA) return "*****" + cv61Unit(v0 >> 3);
    if (v1 == 0xBB && v2 == 0xBB) return "____" + cv61Unit(v0 >> 3);
    std::string text;
    if (v0 & 0x80) text += '>';
    const int point = v0 & 0x07;
    const int digits[4] = {v1 >> 4, v1 & 0x0F, v2 >> 4, v2 & 0x0F};
    for (int i = 0; i < 4; ++i) {
        if (digits[i] > 9) break;
        if (point >= 1 && point <= 4 && i == 4 - point) text += '.';
        text += char('0' + digits[i]);
    }
    return text + cv61Unit((v0 >> 3) & 0x0F);
}

namespace {

std::string bcdPair(unsigned char b) {
    return {char('0' + (b >> 4)), char('0' + (b & 0x0F))};
}

std::string settingText(int function, unsigned char bits, unsigned char s) {
    switch (function) {
        case 1: {
            std::string t;
            if (s == 0)
                t = "1mA";
            else if (s == 1)
                t = "3mA";
            else if (s == 2)
                t = "5mA";
            else if (s <= 11)
                t = std::to_string(10 * s - 20) + "mA";
            else
                t = std::to_string(50 * s - 500) + "mA";
            if (t == "350mA" && (bits & 3) == 2) t = "333mA";
            return t;
        }
        case 2: {
            static const char* const kSections[] = {"5.0V,0.50mm2", "5.0V,0.75mm2", "3.3V, 1.0mm2",
                                                    "2.6V, 1.5mm2", "1.9V, 2.5mm2", "1.4V, 4.0mm2",
                                                    "1.0V,>6.0mm2"};
            return s <= 6 ? kSections[s] : "";
        }
        case 3:
            if (s >= 1 && s <= 100) return std::to_string(10 * s) + "mOhm";
            if (s >= 101 && s <= 109) return std::to_string(100 * s - 9000) + "mOhm";
            if (s == 110) return "2000mOhm";
            return "*mOhm";
        case 4:
            if (s == 0) return "*MOhm";
            if (s <= 8) return "0." + std::to_string(s + 1) + "MOhm";
            if (s <= 18) return std::to_string(s - 8) + "MOhm";
            return std::to_string(10 * s - 170) + "MOhm";
        default:
            return {};
    }
}

}  // namespace

CV61Texts decodeCV61Record(std::string_view record, const std::string& twoPoint,
                           const std::string& fourPoint) {
    auto at = [&](std::size_t i) -> unsigned char {
        return i < record.size() ? static_cast<unsigned char>(record[i]) : 0;
    };
    CV61Texts t;
    t.machine = at(1);
    t.function = at(4) & 0x07;
    const unsigned char bits = at(5);
    for (int i = 0; i < 3; ++i) {
        if (t.function == 5 && i > 0) break;
        t.values[i] = cv61Value(at(12 + 3 * i), at(13 + 3 * i), at(14 + 3 * i));
    }
    t.setting = settingText(t.function, bits, at(6));
    switch (t.function) {
        case 1: {
            static const char* const kVoltages[] = {"1000V", "1250V", "1500V", ""};
            t.voltage = kVoltages[bits & 3];
            t.method = bits < 4 ? " (R)" : bits < 8 ? " (C)" : "";
            break;
        }
        case 4:
            t.voltage = (bits & 1) ? "1000V" : "500V";
            break;
        case 5:
            t.voltage = (bits & 1) ? fourPoint : twoPoint;
            break;
        default:
            break;
    }
    t.date = bcdPair(at(9)) + "." + bcdPair(at(10)) + "." + bcdPair(at(11));
    t.time = bcdPair(at(7)) + ":" + bcdPair(at(8));
    return t;
}

bool cv61RecordDamaged(std::string_view record) {
    if (record.size() < kCV61RecordSize) return true;
    for (std::size_t i = 7; i <= 11; ++i) {
        const auto b = static_cast<unsigned char>(record[i]);
        if ((b >> 4) > 9 || (b & 0x0F) > 9) return true;
    }
    return false;
}

const char* cv61NameKey(int function) {
    static const char* const kKeys[] = {"HV_16", "dU_16", "R-10A_16", "MOhm_16", "dT_16"};
    return function >= 1 && function <= 5 ? kKeys[function - 1] : "";
}

std::string cv61FpString(const CV61Texts& t) {
    std::string fp = "F;";
    if (t.function >= 1 && t.function <= 5) fp += "30" + std::to_string(t.function) + ";";
    for (const std::string& v : t.values) fp += v + ";";
    fp += t.setting + ";" + t.voltage + ";" + t.method + ";";
    return fp;
}

}  // namespace pelvoro
