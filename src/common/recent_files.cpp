#include "common/recent_files.h"

#include <algorithm>

namespace pelvoro {

void RecentFiles::touch(const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
    entries_.push_back(path);
}

}  // namespace pelvoro
