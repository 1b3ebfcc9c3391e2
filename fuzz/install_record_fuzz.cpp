// Fuzz target: the decoder of installation tester records. The first input byte chooses
// the instrument type code, the rest is the record.

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocols/family_b/install_decoder.h"

namespace {

bool wellFormed(const std::string& fp) {
    if (fp.empty()) return true;
    if (fp.rfind("F;1", 0) != 0 || fp.back() != ';') return false;
    std::size_t fields = 0;
    for (char c : fp) {
        if (c == ';') ++fields;
        // A value may never break the field or line structure.
        if (c == '\r' || c == '\n' || c == '\0') return false;
    }
    // No position of the tables lies beyond 18.
    return fields >= 4 && fields <= 18;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const typeCodes[] = {"20", "24", "25", "26", "22", ""};
    if (size == 0) return 0;
    const char* typeCode = typeCodes[data[0] % 6];
    std::string record(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string fp = "x", name;
    bool ok = pelvoro::DecodeInstallRecord(record, typeCode, fp, name);
    if (record.empty() && (!ok || fp != "x")) __builtin_trap();
    if (!record.empty() && !wellFormed(fp)) __builtin_trap();
    return 0;
}
