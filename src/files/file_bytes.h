#pragma once
// Reading files: a whole file once, into one buffer of its size (the document reader's
// line index points into it), or only its head (enough to tell what kind of file it is).

#include <cstddef>
#include <string>

namespace pelvoro {

// The whole file into `bytes`. False when it cannot be opened or read; errno then holds
// the reason.
bool readFileBytes(const std::string& path, std::string& bytes);

// At most `limit` bytes from the start of the file (fewer when the file is shorter).
// False when it cannot be opened or read.
bool readFileHead(const std::string& path, std::size_t limit, std::string& head);

}  // namespace pelvoro
