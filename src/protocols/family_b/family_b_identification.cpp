#include "protocols/family_b/family_b_identification.h"

#include <cctype>
#include <charconv>

#include "common/text.h"
#include "instrument/models.h"

namespace pelvoro {

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

}  // namespace pelvoro
