#include "files/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace pelvoro {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads up to `limit` bytes; a file whose size the system cannot tell (a pipe, a special
// file) is read in pieces until its end.
bool readFrom(const std::string& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    std::size_t guess = 0;
    if (std::fseek(f.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(f.get());
        if (size > 0) guess = std::size_t(size);
        std::rewind(f.get());
    }
    std::size_t used = 0;
    bytes.resize(std::min(limit, guess + 1));  // one more: the end is seen in one read
    while (used < limit) {
        if (used == bytes.size())
            bytes.resize(std::min(limit, std::max<std::size_t>(used * 2, 1 << 16)));
        const std::size_t n = std::fread(bytes.data() + used, 1, bytes.size() - used, f.get());
        used += n;
        if (n == 0) break;
    }
    const bool failed = std::ferror(f.get()) != 0;
    bytes.resize(used);
    return !failed;
}

}  // namespace

bool readFileBytes(const std::string& path, std::string& bytes) {
    return readFrom(path, std::string().max_size(), bytes);
}

bool readFileHead(const std::string& path, std::size_t limit, std::string& head) {
    return readFrom(path, limit, head);
}

}  // namespace pelvoro
