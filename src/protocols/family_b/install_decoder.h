#pragma once
// Decoder of the coded measurement records of later installation testers: turns one
// record into an FP string with a function code from 101 to 127.

#include <optional>
#include <string>
#include <string_view>

namespace pelvoro {

// One row of the function byte table.
struct InstallFunction {
    std::string_view nameKey;  // translation key of the function name ("Funct_R-ISO")
    int code;                  // function code, position 2
    int subFunction;           // position 3; -1: position 3 stays empty
};

// The function of a function byte. The instrument type code (line 1 of the
// instrument data) decides bytes 2 and 15: "20"/"26" and "24"/"25" know them, any
// other type code does not.
std::optional<InstallFunction> installFunction(int functionByte, std::string_view typeCode);

// The field position of a value group of kind 'M', 'P' or 'R'; nothing for an
// unrecognised quantity. The RCD sub-function decides where quantity 31 goes.
std::optional<int> installFieldPosition(int code, char kind, int quantity, int subFunction);

// The unit text of a unit code; nothing for an unrecognised unit.
std::optional<std::string_view> installUnitText(int unitCode);

// The unit text as stored in the FP string: reduced to the decimal prefix that the
// parser puts in front of the function's base unit, or the full text where the
// function has no reduction for the unit. Nothing for an unrecognised unit.
std::optional<std::string> installStoredUnit(int code, int unitCode);

// Decodes one record (header of 6 characters, the function byte, value groups).
// Gives the FP string, the translated function name and true when every part of the
// record was understood. An empty record leaves both outputs unchanged and gives true.
// An unrecognised function or sub-function gives false with an empty FP string; an
// unrecognised quantity or unit (or a value that would break the FP string) gives
// false, drops that group and goes on, so the FP string holds what was understood.
bool DecodeInstallRecord(std::string_view record, std::string_view typeCode, std::string& fpString,
                         std::string& name);

}  // namespace pelvoro
