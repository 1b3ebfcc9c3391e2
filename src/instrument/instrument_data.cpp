#include "instrument/instrument_data.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>

#include "common/text.h"
#include "instrument/models.h"

namespace pelvoro {

// ---- Service switches ---------------------------------------------------------------------

ServiceSwitches serviceSwitchesFromArguments(const std::vector<std::string>& args) {
    ServiceSwitches s;
    if (!args.empty() && args[0] == kFactorySwitch) s.factory = true;
    if ((!args.empty() && args[0] == kCalibrationSwitch) ||
        (args.size() > 1 && args[1] == kCalibrationSwitch))
        s.calibration = true;
    return s;
}

bool isStartDocumentArgument(const std::vector<std::string>& args) {
    return !args.empty() && !args[0].empty() && args[0] != kFactorySwitch &&
           args[0] != kCalibrationSwitch;
}

// ---- Family A -------------------------------------------------------------------------------

std::string filterMultilineText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 30) continue;
        out.push_back(c == '_' ? '\r' : c);
    }
    return out;
}

bool applyFamilyALine(TInstrumentData& data, std::string_view line) {
    if (line.size() < 3 || line[2] != '.') return false;
    if (!std::isdigit(static_cast<unsigned char>(line[0])) ||
        !std::isdigit(static_cast<unsigned char>(line[1])))
        return false;
    int item = (line[0] - '0') * 10 + (line[1] - '0');
    if (item < 1 || item > TInstrumentData::kLines) return false;
    std::string_view rest = line.substr(3);
    data.line(item) = (item == 8 || item == 9) ? filterMultilineText(rest) : std::string(rest);
    return true;
}

// ---- Family B -------------------------------------------------------------------------------

FirmwareFieldRule firmwareFieldRuleForBrand(std::string_view brandTitle) {
    if (startsWith(brandTitle, "Pelvoro") || startsWith(brandTitle, "ULVANOR"))
        return FirmwareFieldRule::Whole;
    if (startsWith(brandTitle, "Quorrel")) return FirmwareFieldRule::SplitAtHW;
    return FirmwareFieldRule::Ignore;
}

namespace {

void applyFirmwareField(TInstrumentData& data, const std::string& field, FirmwareFieldRule rule) {
    switch (rule) {
        case FirmwareFieldRule::Whole:
            data.line(4) = field;
            break;
        case FirmwareFieldRule::SplitAtHW: {
            // "FWV: 1.02 HW: 3" style: the firmware version starts at the fifth character
            // and ends one blank before "HW"; the hardware version follows "HW" and one more
            // character.
            size_t hw = field.find("HW");
            if (hw == std::string::npos) {
                // Without a hardware part the whole remainder is the firmware version.
                data.line(4) = field.size() > 4 ? field.substr(4) : std::string();
                break;
            }
            long count = long(hw) + 1 - 6;  // 1-based position of "HW" minus 6
            data.line(4) =
                count > 0 && field.size() > 4 ? field.substr(4, size_t(count)) : std::string();
            data.line(5) = hw + 3 < field.size() ? field.substr(hw + 3) : std::string();
            break;
        }
        case FirmwareFieldRule::Ignore:
            break;
    }
}

}  // namespace

void applyFamilyBBlock(TInstrumentData& data, std::string_view block, FirmwareFieldRule rule) {
    if (block.empty()) return;
    data.line(1) = std::to_string(static_cast<unsigned char>(block[0]));
    // Fields 0..6 go to items 2, 3, firmware (brand rule), 7, 8, 9, 6.
    static constexpr int kItemOfField[] = {2, 3, 0, 7, 8, 9, 6};
    int field = 0;
    std::string text;
    for (size_t i = 2; i < block.size() && field < 7; ++i) {
        char c = block[i];
        if (c != '\0' && c != '\r') {
            text.push_back(c);
            continue;
        }
        if (field == 2)
            applyFirmwareField(data, text, rule);
        else
            data.line(kItemOfField[field]) = text;
        ++field;
        text.clear();
    }
}

std::string hardwareVersionFromBlock(std::string_view block) {
    size_t end = block.find_first_of(std::string_view("\0\r", 2));
    return std::string(block.substr(0, end));
}

std::optional<double> firmwareVersionNumber(std::string_view firmware) {
    std::string collected;
    bool digitSeen = false;
    for (char c : firmware) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            collected.push_back(c);
            digitSeen = true;
        } else if (c == '.' && digitSeen) {
            collected.push_back(c);
        }
    }
    if (collected.empty()) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(collected.data(), collected.data() + collected.size(), value,
                                     std::chars_format::fixed);
    if (ec != std::errc() || end != collected.data() + collected.size()) return std::nullopt;
    return value;
}

bool hasHardwareVersionStep(std::string_view modelKey) {
    return modelHas(modelKey, kInstallationTester);
}

bool wantsHardwareVersion(std::string_view modelKey, std::string_view firmware) {
    if (!hasHardwareVersionStep(modelKey)) return false;
    std::optional<double> v = firmwareVersionNumber(firmware);
    return v && *v >= 1.1;
}

// ---- Family C -------------------------------------------------------------------------------

void applyFamilyCBlock(TInstrumentData& data, std::string_view block) {
    auto field = [&](int n) {
        size_t start = 2 + size_t(n) * 40;
        if (start >= block.size()) return std::string();
        std::string f(block.substr(start, 40));
        for (char& c : f)
            if (static_cast<unsigned char>(c) == 0xFF) c = '\0';
        size_t end = f.find('\0');
        if (end != std::string::npos) f.resize(end);
        return f;
    };
    std::string firm = field(0);
    size_t first = firm.find_first_not_of(' ');
    data.line(8) = first == std::string::npos ? std::string() : firm.substr(first);
    data.line(2) = field(1);
    data.line(4) = field(2);
    data.line(7) = field(3);
}

// ---- Writes -------------------------------------------------------------------------------

ClockValue currentClock() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string hexField(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02X", unsigned(value));
    return buf;
}

std::string clockWriteCommand(std::string_view command, const ClockValue& c) {
    std::string out(command);
    out += '\r';
    for (int v : {c.year, c.month, c.day, c.hour, c.minute, c.second}) out += hexField(v) + '\r';
    return out;
}

uint16_t textChecksum(std::string_view text) {
    uint16_t sum = 0;
    for (char c : text) sum = uint16_t(sum + static_cast<unsigned char>(c));
    return sum;
}

std::string textWriteCommand(std::string_view command, std::string_view text, uint16_t checksum) {
    std::string out(command);
    out += '\r';
    out += char(checksum & 0xFF);
    out += char(checksum >> 8);
    out += text;
    out += '\0';
    return out;
}

std::string serialNumberWriteCommand(std::string_view serial) {
    return textWriteCommand("MWN", serial, uint16_t(textChecksum(serial) ^ kSerialWriteMask));
}

std::string boxTextWriteCommand(std::string_view command, std::string_view boxText) {
    std::string text;
    for (char c : boxText)
        if (c != '\n') text.push_back(c);
    return textWriteCommand(command, text, textChecksum(text));
}

WriteStatus interpretWriteStatus(bool received, std::string_view line) {
    if (!received) return {false, {}};
    if (startsWith(line, "SER")) {
        std::string code(line.substr(3));
        if (!code.empty() && code != "0") return {false, code};
    }
    return {true, {}};
}

// ---- Serial number field -------------------------------------------------------------------

std::string incrementSerialNumber(const std::string& text) {
    if (text == "99999999" || text.empty()) return text;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return text;
    size_t zeros = 0;
    if (text != "0")
        while (zeros < text.size() && text[zeros] == '0') ++zeros;
    unsigned long long number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) return text;
    std::string result = std::string(zeros, '0') + std::to_string(number + 1);
    if (zeros > 0 && result.size() > size_t(kSerialNumberMaxLength)) result.erase(0, 1);
    return result;
}

void SerialNumberFieldRules::keyPressed(char key, bool isBackspace) {
    changeAllowed_ = isBackspace || std::isdigit(static_cast<unsigned char>(key));
}

std::string SerialNumberFieldRules::changed(const std::string& newText) {
    std::string shown = changeAllowed_ ? newText : accepted_;
    accepted_ = shown;
    changeAllowed_ = true;
    return shown;
}

void SerialNumberFieldRules::clicked(const std::string& shownText) {
    accepted_ = shownText;
    changeAllowed_ = true;
}

// ---- The dialog ----------------------------------------------------------------------------

std::optional<bool> sendEnabledForModel(std::string_view key) {
    const InstrumentModel* m = modelByKey(key);
    if (!m || m->dataDialogSend == DataDialogSend::Leave) return std::nullopt;
    return m->dataDialogSend == DataDialogSend::Enabled;
}

std::string instrumentBoxText(const TInstrumentData& d) {
    return "Name:      " + d.line(2) + "\nModel:     " + d.line(3) + "\nFW ver.:   " + d.line(4) +
           "\nHW ver.:   " + d.line(5) + "\nDoc. ver.: " + d.line(10) +
           "\nCal. date: " + d.line(11);
}

std::string instrumentBoxTemplate() {
    return instrumentBoxText(TInstrumentData{});
}

}  // namespace pelvoro
