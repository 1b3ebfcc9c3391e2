#include "results/result_codes.h"

#include <array>

namespace pelvoro {

namespace {

constexpr std::array<PassFailWords, 14> kWords = {{
    {"English", "Fail!", "Pass"},
    {"German", "NEIN!", "JA"},
    {"Spanish", "NO PASA", "PASA"},
    {"Czech / Slovak", "Nevyhovuje", "Vyhovuje"},
    {"Danish", "Fejl", ""},
    {"Hungarian", "Nem jo", "Rendben"},
    {"Polish", "ZLY!", "DOBRY"},
    {"French", "MAUVAIS", "BON"},
    {"Dutch", "Fout", "Goed"},
    {"Italian", "Fallito", "Buono"},
    {"Swedish", "Fel", "OK"},
    {"Portuguese", "Nao Passo", "Passa"},
    // Windows-1251 bytes of the Russian words.
    {"Russian", "\xCD\xE5\x20\xF1\xEE\xEE\xF2\xE2\x2E\x21", "\xD1\xEE\xEE\xF2\xE2\x2E"},
    {"Finnish", "Virhe!", "Ohitus"},
}};

}  // namespace

int PassFailCode(std::string_view word) {
    for (const PassFailWords& w : kWords) {
        if (word == w.failWord) return 1;
        if (!w.passWord.empty() && word == w.passWord) return 0;
    }
    return -1;
}

const PassFailWords* passFailWords(int* count) {
    if (count) *count = int(kWords.size());
    return kWords.data();
}

int PhaseOrderCode(std::string_view text) {
    if (text == "1.2.3") return 1;
    if (text == "2.1.3") return 2;
    return 0;
}

int EarthingSystemCode(int unitCode) {
    switch (unitCode) {
        case '>':
            return 1;
        case '?':
            return 2;
        case '@':
            return 3;
        case 'A':
            return 4;
        default:
            return 0;
    }
}

std::optional<RcdType> rcdTypeFromUnit(std::string_view unitText) {
    if (unitText == "General") return RcdType{RcdWaveform::AC, false};
    if (unitText == "Selective") return RcdType{RcdWaveform::AC, true};
    if (unitText == "General_Pulse") return RcdType{RcdWaveform::A, false};
    if (unitText == "Selective_Pulse") return RcdType{RcdWaveform::A, true};
    if (unitText == "General_B") return RcdType{RcdWaveform::B, false};
    if (unitText == "Selective_B") return RcdType{RcdWaveform::B, true};
    return std::nullopt;
}

std::string rcdWaveformSymbol(RcdType type, std::string_view phase, int subFunction) {
    if (type.waveform == RcdWaveform::B && (subFunction == 2 || subFunction == 3)) return "#S323";
    bool at0 = phase == kPhase0;
    bool at180 = phase == kPhase180;
    if (!at0 && !at180) return std::string(phase);
    switch (type.waveform) {
        case RcdWaveform::AC:
            return at0 ? "#S330" : "#S331";
        case RcdWaveform::A:
            return at0 ? "#S332" : "#S333";
        case RcdWaveform::B:
            return at0 ? "#S322" : "#S321";
    }
    return std::string(phase);
}

std::string_view rcdKindSymbol(bool selective) {
    return selective ? "#S317" : "#S316";
}

}  // namespace pelvoro
