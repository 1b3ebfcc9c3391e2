#pragma once
// Writing a whole file safely: the bytes go to a temporary file beside the target, are
// flushed to the disk and then renamed over it, so the target is either the old file or
// the complete new one. A replaced file keeps its permissions; a symbolic link is
// written through; a target the user may not write stays untouched.

#include <string>

namespace pelvoro {

// Returns the reason of a failure, empty on success.
std::string writeFileSafely(const std::string& path, const std::string& bytes);

}  // namespace pelvoro
