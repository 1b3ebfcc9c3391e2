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
