#pragma once
// Which file the Help commands open. The language names a compiled help file; where that
// file is missing, or the platform has no viewer for compiled help, the HTML help of the
// same name beside it is opened instead.

#include <functional>
#include <string>

namespace pelvoro {

// Empty when neither file exists.
std::string resolveHelpFile(const std::string& helpFile, bool platformViewsCompiledHelp,
                            const std::function<bool(const std::string&)>& exists);

}  // namespace pelvoro
