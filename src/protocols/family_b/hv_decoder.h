#pragma once
// Decoder of the coded measurement records of high-voltage insulation testers: turns
// one record (its graph part already cut off) into an FP string with a function code
// from 201 to 207.

#include <optional>
#include <string>
#include <string_view>

namespace pelvoro {

class Prompts;

struct HvFunction {
    std::string_view nameKey;  // "Funct_INSUL-RES"
    int code;                  // position 2
    int listLength;            // fields of the FP string
};

// Function bytes 1-7; nothing for any other byte.
std::optional<HvFunction> hvFunction(int functionByte);

// The field position of a group; kind 'T' (time) and 'D' (date) need no quantity.
// Nothing for kind 'M' and every combination the table does not list.
std::optional<int> hvFieldPosition(int code, char kind, int quantity);

std::optional<std::string_view> hvUnitText(int unitCode);
// Reduced to the decimal prefix where the function has a reduction for the unit,
// otherwise the full text; nothing for an unrecognised unit.
std::optional<std::string> hvStoredUnit(int code, int unitCode);

// Decodes one record (header of 4 characters, the function byte 1-7, value groups)
// into the FP string and the translated function name. Problems are told through
// `prompts` in fixed English texts and decoding goes on with the next group:
// "Function Fail" and "Sub Function Fail" (the FP string then stays empty),
// "Quantity Fail FC:<code> QC:<quantity>", "Unit Fail", "CodePosit Fail".
// An empty record leaves both outputs unchanged.
void DecodeHvRecord(std::string_view record, Prompts& prompts, std::string& fpString,
                    std::string& name);

}  // namespace pelvoro
