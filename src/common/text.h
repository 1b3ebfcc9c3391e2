#pragma once
// Small helpers for byte strings in the single-byte code page.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelvoro {

std::string trimmed(std::string_view s);
std::string upperAscii(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int hexDigit(char c);

// Whole-text conversion to a 32-bit integer as the file formats expect it: optional
// blanks around, optional sign, decimal digits (or "$" / "0x" hexadecimal). Anything
// else, or a value out of range, is absent.
std::optional<int> parseInt(std::string_view s);

std::vector<std::string> splitLines(std::string_view text);

}  // namespace pelvoro
