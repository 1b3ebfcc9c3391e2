#pragma once
// Builds coded measurement records for the decoder tests.

#include <initializer_list>
#include <string>

namespace pelvoro::testing {

struct Group {
    char kind;
    int quantity;  // -1: no quantity and unit code ('T' and 'D' of high-voltage testers)
    int unit;
    std::string value;
};

// The group's kind letter, codes and value closed by 0.
inline void appendGroup(std::string& record, const Group& g) {
    record.push_back(g.kind);
    if (g.quantity >= 0) {
        record.push_back(char(g.quantity));
        record.push_back(char(g.unit));
    }
    record += g.value;
    record.push_back('\0');
}

// Header (`headerLength` characters), the function byte, then each group closed by 0.
inline std::string codedRecord(int headerLength, int functionByte,
                               std::initializer_list<Group> groups) {
    std::string r(std::size_t(headerLength), '\x01');
    r.push_back(char(functionByte));
    for (const Group& g : groups) appendGroup(r, g);
    return r;
}

inline std::string installRecord(int functionByte, std::initializer_list<Group> groups = {}) {
    return codedRecord(6, functionByte, groups);
}

inline std::string hvRecord(int functionByte, std::initializer_list<Group> groups = {}) {
    return codedRecord(4, functionByte, groups);
}

}  // namespace pelvoro::testing
