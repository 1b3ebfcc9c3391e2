#include "protocols/family_a/family_a_identification.h"

#include <cctype>

#include "common/text.h"
#include "instrument/models.h"

namespace pelvoro {

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

}  // namespace pelvoro
