#include "app/data_location.h"

#include <filesystem>
#include <system_error>

#include "common/identity.h"

// Set by the build from its install folders; the usual layout otherwise.
#ifndef PELVORO_INSTALLED_DATA_DIR
#define PELVORO_INSTALLED_DATA_DIR "../share/tamvisto"
#endif

namespace pelvoro {

namespace fs = std::filesystem;

const char* installedDataDirFromPrograms() {
    return PELVORO_INSTALLED_DATA_DIR;
}

namespace {

bool holdsLanguageList(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / identity::kMainIniName, ec);
}

}  // namespace

DataLocation locateDataFiles(const std::string& programDir, const std::string& installedRelative) {
    const fs::path program(programDir);
    if (holdsLanguageList(program)) return {programDir, false};
    if (!installedRelative.empty()) {
        const fs::path shared = (program / installedRelative).lexically_normal();
        if (holdsLanguageList(shared)) {
            std::string dir = shared.string();
            while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
            return {dir, true};
        }
    }
    return {programDir, false};
}

}  // namespace pelvoro
