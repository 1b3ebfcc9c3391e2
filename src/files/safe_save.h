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

namespace pelvoro {

struct SafeSaveResult {
    bool ok = false;
    // The reason the system gave ("Permission denied", "No such file or directory" ...).
    std::string reason;
    // The file that was written (the final target of a symbolic link).
    std::string writtenPath;
};

SafeSaveResult saveFileSafely(const std::string& path, const std::string& bytes);

// The path a write to `path` reaches: the final target of a chain of symbolic links
// (relative links are taken relative to their own folder); `path` itself otherwise.
std::string resolveLinkTarget(const std::string& path);

}  // namespace pelvoro
