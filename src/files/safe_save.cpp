#include "files/safe_save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelvoro {

namespace fs = std::filesystem;

std::string resolveLinkTarget(const std::string& path) {
    fs::path p(path);
    std::error_code ec;
    // A chain of links ends after a bounded number of steps (a loop gives the last one).
    for (int step = 0; step < 40 && fs::is_symlink(p, ec); ++step) {
        fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p.string();
}

namespace {

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

// A name beside the target that no file has yet: the target's name, a dot, random
// letters and "~". Created exclusively, so a stray file of that name is never touched.
std::string temporaryName(const fs::path& target, std::mt19937_64& random) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = "." + target.filename().string() + ".";
    for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof(kLetters) - 1)];
    name += "~";
    return (target.parent_path() / name).string();
}

}  // namespace

#ifndef _WIN32

namespace {

// Whether `st` is marked writable for someone and the user may write it.
bool writable(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

}  // namespace

SafeSaveResult saveFileSafely(const std::string& path, const std::string& bytes) {
    SafeSaveResult r;
    const fs::path target(resolveLinkTarget(path));
    r.writtenPath = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0) {
        r.reason = systemReason(errno);
        return r;
    }
    if (!S_ISDIR(folderStat.st_mode)) {
        r.reason = systemReason(ENOTDIR);
        return r;
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        r.reason = systemReason(EISDIR);
        return r;
    }
    // A read-only file stays as it is; the rename needs a writable folder as well.
    if ((exists && !writable(target.string(), old)) || !writable(folder.string(), folderStat)) {
        r.reason = systemReason(EACCES);
        return r;
    }

    std::random_device seed;
    std::mt19937_64 random((uint64_t(seed()) << 32) ^ seed());
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = temporaryName(target, random);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        r.reason = systemReason(errno);
        return r;
    }
    auto fail = [&](int error) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        r.reason = systemReason(error);
        return r;
    };
    if (exists) {
        // The replaced file's permissions, and its owner where allowed.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Another user's file keeps our ownership; its mode still follows.
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) return fail(errno);
    }
    if (!writeAll(fd, bytes)) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
    // The new folder entry reaches the disk as well.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    r.ok = true;
    return r;
}

#else

SafeSaveResult saveFileSafely(const std::string& path, const std::string& bytes) {
    SafeSaveResult r;
    const fs::path target(resolveLinkTarget(path));
    r.writtenPath = target.string();
    std::error_code ec;
    if (fs::exists(target, ec) &&
        (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none) {
        r.reason = systemReason(EACCES);
        return r;
    }
    std::random_device seed;
    std::mt19937_64 random((uint64_t(seed()) << 32) ^ seed());
    std::string temp;
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = temporaryName(target, random);
        f = std::fopen(temp.c_str(), "wbx");
        if (!f && errno != EEXIST) break;
    }
    if (!f) {
        r.reason = systemReason(errno);
        return r;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    written = std::fflush(f) == 0 && written;
    written = std::fclose(f) == 0 && written;
    if (written) fs::rename(temp, target, ec);
    if (!written || ec) {
        r.reason = ec ? ec.message() : systemReason(errno);
        fs::remove(temp, ec);
        return r;
    }
    r.ok = true;
    return r;
}

#endif

}  // namespace pelvoro
