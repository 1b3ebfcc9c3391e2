#pragma once
// Replacing a file without ever leaving it half-written or replacing what must stay.
//
// The bytes go to a fresh temporary file beside the target (a name made unique when it
// is created, so no existing file is ever overwritten by it), are flushed to disk, and
// the temporary file is renamed over the target; then the folder entry is flushed too.
// A target that is marked read-only (no write permission bit), or that the user may not
// write, stays untouched, as does a target in a folder marked read-only. A replaced file
// keeps its permissions (and its owner where the system allows). A symbolic link is
// written through: its final target is replaced and the link stays a link.
//
// A hard link to the old file keeps the old content: the rename gives the target's name
// a new file.

#include <string>
#include <string_view>

#include "files/byte_sink.h"

namespace pelvoro {

struct SafeSaveResult {
    bool ok = false;
    // The reason the system gave ("Permission denied", "No such file or directory" ...).
    std::string reason;
    // The file that was written (the final target of a symbolic link).
    std::string writtenPath;
};

SafeSaveResult saveFileSafely(const std::string& path, std::string_view bytes);

// The same, written piece by piece through a buffer: the writer checks the target and
// creates the temporary file; write() appends (the first failure, a full disk for one, is
// kept and every later write is ignored); commit() flushes, renames and reports. A writer
// destroyed without commit() removes its temporary file and leaves the target as it was.
class SafeFileWriter : public ByteSink {
  public:
    explicit SafeFileWriter(const std::string& path);
    ~SafeFileWriter() override;
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False once anything failed (the target check, the temporary file, a write).
    bool good() const { return error_ == 0; }
    void write(std::string_view bytes) override;
    SafeSaveResult commit();

  private:
    void drain();
    void fail(int error);

    SafeSaveResult result_;
    std::string folder_;
    std::string temp_;
    std::string buffer_;
    int fd_ = -1;
    void* file_ = nullptr;  // the temporary file where there are no file descriptors
    int error_ = 0;
    bool committed_ = false;
};

// The path a write to `path` reaches: the final target of a chain of symbolic links
// (relative links are taken relative to their own folder); `path` itself otherwise.
std::string resolveLinkTarget(const std::string& path);

}  // namespace pelvoro
