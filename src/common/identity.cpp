#include "common/identity.h"

#include <filesystem>

namespace pelvoro {

std::string AppEnvironment::dataPath(const std::string& name) const {
    if (dataDir.empty()) return name;
    return (std::filesystem::path(dataDir) / name).string();
}

AppEnvironment& appEnvironment() {
    static AppEnvironment env;
    return env;
}

}  // namespace pelvoro
