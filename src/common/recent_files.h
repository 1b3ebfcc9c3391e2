#pragma once
// The recent files of File ▸ Open's list, oldest first.

#include <string>
#include <vector>

namespace pelvoro {

class RecentFiles {
  public:
    // Oldest first, newest last.
    const std::vector<std::string>& entries() const { return entries_; }
    int size() const { return int(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // i = 1 is the newest.
    const std::string& newest(int i) const { return entries_[entries_.size() - i]; }
    void append(const std::string& path) { entries_.push_back(path); }
    // Moves a path to the newest place (appending it when it is not listed).
    void touch(const std::string& path);
    void clear() { entries_.clear(); }

  private:
    std::vector<std::string> entries_;
};

}  // namespace pelvoro
