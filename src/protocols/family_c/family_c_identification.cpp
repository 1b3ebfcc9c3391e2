#include "protocols/family_c/family_c_identification.h"

#include "common/text.h"
#include "instrument/models.h"

namespace pelvoro {

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

}  // namespace pelvoro
