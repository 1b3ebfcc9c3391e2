#pragma once
// The machine tester CV61 (family C): its 21-byte records and their decoding into the
// texts of an FP string (function codes 301 to 305).
//
// Record bytes: 0 record present (0 = end of memory), 1 machine number, 2-3 record
// number, 4 function (bits 0-2), 5 setting bits, 6 setting value, 7-8 time (BCD hours,
// minutes), 9-11 date (three BCD bytes), 12-14, 15-17, 18-20 values 1 to 3. A value is
// v0 (bits 0-2 decimal point, bits 3-6 unit, bit 7 "greater than") and four BCD digits.

#include <string>
#include <string_view>

namespace pelvoro {

inline constexpr std::size_t kCV61RecordSize = 21;

// "V", "kV", "A", "mA", "Ohm", "mOhm", "MOhm", "s" for the unit codes 1 to 8, else "".
std::string cv61Unit(int code);
// One value's text: empty for 0x00 0xFF 0xFF, "*****" or "____" with the unit for the
// over-range and not-measured marks, otherwise ">" (when flagged), the digits with
// their decimal point, and the unit.
std::string cv61Value(unsigned char v0, unsigned char v1, unsigned char v2);

struct CV61Texts {
    int function = 0;  // 1 .. 5
    int machine = 0;
    std::string values[3];
    std::string setting, voltage, method;
    std::string date;  // "dd.mm.yy" as the tester keeps it
    std::string time;  // "hh:mm"
};

// The texts of one record. `twoPoint` and `fourPoint` name the two measuring methods of
// the discharge time function.
CV61Texts decodeCV61Record(std::string_view record, const std::string& twoPoint,
                           const std::string& fourPoint);

// Whether a record came damaged over the line: its time and date are not BCD digits,
// which the tester never stores. Decoded, it would become a machine and a result that do
// not exist. (A function outside 1 .. 5 is not damage: it may be a newer tester's.)
bool cv61RecordDamaged(std::string_view record);

// "F;" + code + values + setting + voltage + method, each closed by ";"; the code text
// is empty for a function outside 1 .. 5.
std::string cv61FpString(const CV61Texts& texts);

// The translation key of the function's name ("HV_16" ...), empty outside 1 .. 5.
const char* cv61NameKey(int function);

}  // namespace pelvoro
