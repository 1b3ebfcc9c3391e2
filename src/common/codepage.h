#pragma once
// Conversion between the single-byte code pages of documents, language files and
// testers and UTF-8, done once at the user-interface boundary.

#include <optional>
#include <string>
#include <string_view>

namespace pelvoro {

enum class CodePage { Windows1250, Windows1251, Windows1252 };

// "windows-1252", "cp1251", "1250"... (empty names the default, Windows-1252).
std::optional<CodePage> codePageByName(std::string_view name);

std::string toUtf8(std::string_view bytes, CodePage cp = CodePage::Windows1252);
// The same appended to `out`.
void appendAsUtf8(std::string& out, std::string_view bytes, CodePage cp = CodePage::Windows1252);
// Characters the code page cannot show become the replacement byte.
std::string fromUtf8(std::string_view utf8, CodePage cp = CodePage::Windows1252,
                     char replacement = '?');

}  // namespace pelvoro
