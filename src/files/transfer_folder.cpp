#include "files/transfer_folder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace pelvoro {

namespace fs = std::filesystem;

namespace {
std::string& currentFolder() {
    static std::string folder;
    return folder;
}
}  // namespace

bool folderIsWritable(const std::string& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(folder), ec);
    if (!fs::is_directory(fs::path(folder), ec)) return false;
    fs::path probe = fs::path(folder) / ".pelvoro-write-check";
    {
        std::ofstream f(probe, std::ios::binary | std::ios::trunc);
        if (!f) return false;
        f << "x";
        if (!f.flush()) return false;
    }
    fs::remove(probe, ec);
    return true;
}

std::string chooseTransferFolder(const std::string& preferred, const std::string& fallback) {
    if (folderIsWritable(preferred)) return preferred;
    if (folderIsWritable(fallback)) return fallback;
    return {};
}

void setTransferFolder(const std::string& folder) {
    currentFolder() = folder;
}
const std::string& transferFolder() {
    return currentFolder();
}

}  // namespace pelvoro
