#pragma once
// Small code maps shared by the record decoders and the result parser: verdict words,
// phase order, earthing system and the RCD waveform symbols.
// Texts are bytes in the instruments' single-byte code page.

#include <optional>
#include <string>
#include <string_view>

namespace pelvoro {

// The verdict word of an instrument in its display language: 1 for a fail word, 0 for a
// pass word, -1 for any other text. Exact comparison (case and punctuation count); the
// Russian words are compared as Windows-1251 bytes.
int PassFailCode(std::string_view word);

struct PassFailWords {
    std::string_view language;
    std::string_view failWord;
    std::string_view passWord;  // empty: the language has none (Danish)
};
// The fourteen languages, for tests and support output.
const PassFailWords* passFailWords(int* count);

// "1.2.3" -> 1, "2.1.3" -> 2, any other text -> 0.
int PhaseOrderCode(std::string_view text);

// The unit code character of an earthing-system group: '>' (62) TN/TT -> 1, '?' (63)
// IT -> 2, '@' (64) reduced 55 V -> 3, 'A' (65) reduced 63 V -> 4; any other code -> 0.
int EarthingSystemCode(int unitCode);

// RCD test waveforms, as the later installation testers name the RCD type in the unit
// of their type group.
enum class RcdWaveform { AC, A, B };

struct RcdType {
    RcdWaveform waveform;
    bool selective;
};

// "General" / "Selective" (AC), "General_Pulse" / "Selective_Pulse" (A, pulsed),
// "General_B" / "Selective_B"; nothing for any other text.
std::optional<RcdType> rcdTypeFromUnit(std::string_view unitText);

// The phase texts of an RCD record ("0" and "180" followed by the degree sign 0xB0).
inline constexpr std::string_view kPhase0 = "0\xB0";
inline constexpr std::string_view kPhase180 = "180\xB0";

// The mark-up symbol of a waveform for the phase text that the record holds:
// AC "#S330" (0°) / "#S331" (180°); A "#S332" / "#S333"; B "#S322" (positive, 0°) /
// "#S321" (negative, 180°), and "#S323" (no polarity) for the sub-functions 2 and 3
// whatever the phase. Any other phase text is given back unchanged.
std::string rcdWaveformSymbol(RcdType type, std::string_view phase, int subFunction);

// "#S316" after a general RCD, "#S317" after a selective one.
std::string_view rcdKindSymbol(bool selective);

}  // namespace pelvoro
