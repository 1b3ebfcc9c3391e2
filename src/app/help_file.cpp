#include "app/help_file.h"

#include <filesystem>

#include "common/text.h"

namespace pelvoro {

std::string resolveHelpFile(const std::string& helpFile, bool platformViewsCompiledHelp,
                            const std::function<bool(const std::string&)>& exists) {
    if (helpFile.empty()) return {};
    std::filesystem::path p(helpFile);
    bool compiled = equalsIgnoreCase(p.extension().string(), ".chm");
    if (exists(helpFile) && (!compiled || platformViewsCompiledHelp)) return helpFile;
    if (compiled) {
        std::string html = p.replace_extension(".html").string();
        if (exists(html)) return html;
    }
    return {};
}

}  // namespace pelvoro
