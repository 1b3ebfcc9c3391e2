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

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}  // namespace

SafeSaveResult saveFileSafely(const std::string& path, std::string_view bytes) {
    SafeFileWriter writer(path);
    writer.write(bytes);
    return writer.commit();
}

void SafeFileWriter::fail(int error) {
    if (error_ == 0) error_ = error != 0 ? error : EIO;
}

void SafeFileWriter::write(std::string_view bytes) {
    if (error_ != 0) return;
    if (buffer_.size() + bytes.size() < kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    drain();
    if (error_ != 0) return;
    if (bytes.size() < kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    buffer_.assign(bytes);  // a large piece goes out at once
    drain();
}

#ifndef _WIN32

namespace {

// Whether `st` is marked writable for someone and the user may write it.
bool writable(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

SafeFileWriter::SafeFileWriter(const std::string& path) {
    const fs::path target(resolveLinkTarget(path));
    result_.writtenPath = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    folder_ = folder.string();

    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0) {
        fail(errno);
        return;
    }
    if (!S_ISDIR(folderStat.st_mode)) {
        fail(ENOTDIR);
        return;
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        fail(EISDIR);
        return;
    }
    // A read-only file stays as it is; the rename needs a writable folder as well.
    if ((exists && !writable(target.string(), old)) || !writable(folder.string(), folderStat)) {
        fail(EACCES);
        return;
    }

    std::random_device seed;
    std::mt19937_64 random((uint64_t(seed()) << 32) ^ seed());
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = temporaryName(target, random);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        fail(errno);
        temp_.clear();
        return;
    }
    if (exists) {
        // The replaced file's permissions, and its owner where allowed.
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
            // Another user's file keeps our ownership; its mode still follows.
        }
        if (::fchmod(fd_, old.st_mode & 07777) != 0) {
            fail(errno);
            return;
        }
    }
    buffer_.reserve(kBufferSize);
}

SafeFileWriter::~SafeFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void SafeFileWriter::drain() {
    size_t done = 0;
    while (error_ == 0 && done < buffer_.size()) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        } else {
            done += size_t(n);
        }
    }
    buffer_.clear();
}

SafeSaveResult SafeFileWriter::commit() {
    SafeSaveResult r = result_;
    if (error_ == 0) drain();
    if (error_ == 0 && ::fsync(fd_) != 0) fail(errno);
    if (fd_ >= 0) {
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) fail(errno);
    }
    if (error_ == 0 && ::rename(temp_.c_str(), r.writtenPath.c_str()) != 0) fail(errno);
    if (error_ != 0) {
        r.reason = systemReason(error_);
        return r;  // the destructor removes the temporary file
    }
    committed_ = true;
    // The new folder entry reaches the disk as well.
    int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    r.ok = true;
    return r;
}

#else

SafeFileWriter::SafeFileWriter(const std::string& path) {
    const fs::path target(resolveLinkTarget(path));
    result_.writtenPath = target.string();
    std::error_code ec;
    if (fs::exists(target, ec) &&
        (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none) {
        fail(EACCES);
        return;
    }
    std::random_device seed;
    std::mt19937_64 random((uint64_t(seed()) << 32) ^ seed());
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp_ = temporaryName(target, random);
        f = std::fopen(temp_.c_str(), "wbx");
        if (!f && errno != EEXIST) break;
    }
    if (!f) {
        fail(errno);
        temp_.clear();
        return;
    }
    file_ = f;
}

SafeFileWriter::~SafeFileWriter() {
    if (file_) std::fclose(static_cast<std::FILE*>(file_));
    std::error_code ec;
    if (!committed_ && !temp_.empty()) fs::remove(temp_, ec);
}

void SafeFileWriter::drain() {
    if (error_ == 0 && std::fwrite(buffer_.data(), 1, buffer_.size(),
                                   static_cast<std::FILE*>(file_)) != buffer_.size())
        fail(errno);
    buffer_.clear();
}

SafeSaveResult SafeFileWriter::commit() {
    SafeSaveResult r = result_;
    if (error_ == 0) drain();
    if (file_) {
        std::FILE* f = static_cast<std::FILE*>(file_);
        file_ = nullptr;
        if (std::fflush(f) != 0) fail(errno);
        if (std::fclose(f) != 0) fail(errno);
    }
    std::error_code ec;
    if (error_ == 0) fs::rename(temp_, r.writtenPath, ec);
    if (error_ != 0 || ec) {
        r.reason = ec ? ec.message() : systemReason(error_);
        return r;
    }
    committed_ = true;
    r.ok = true;
    return r;
}

#endif

}  // namespace pelvoro
