#pragma once
// A value pair of the parsed-result record: the instrument's text unchanged and the unit it is
// shown with (the unit may carry the prefix that the value came with). Texts are bytes in the
// documents' single-byte code page.

#include <string>

namespace pelvoro {

struct TResultValue {
    std::string Value;
    std::string Unit;

    bool operator==(const TResultValue&) const = default;
};

// Symbol code of the ohm sign.
inline constexpr const char* kOhm = "#S258";
// A value that the instrument did not deliver (drawn as three blanks).
inline constexpr const char* kNotDelivered = "#S272#S272#S272";

}  // namespace pelvoro
