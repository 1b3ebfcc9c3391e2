#pragma once
// Qt's own texts (message box buttons, the standard file and print dialogs) in the
// language of the program's texts.

#include <string>

namespace pelvoro {

// The Qt locale name of a language of the language list ("DEUTSCH" -> "de"); empty for
// English and for languages Qt has no name for here.
std::string qtLocaleOfLanguage(const std::string& language);

// Loads and installs Qt's translations for `language` (from Qt's translations folder).
// True when they were installed; false for English or when they are not there.
bool installQtTranslations(const std::string& language);

}  // namespace pelvoro
