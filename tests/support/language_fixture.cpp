#include "support/language_fixture.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace pelvoro::testing {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto p = base / ("pelvoro-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(p)) {
            path_ = p.string();
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path p = std::filesystem::path(path_) / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

}  // namespace pelvoro::testing
