#pragma once
// The folder of the temporary transfer files ("#DownLoad" n "#", "#Import" n "#"): the
// folder "Results" beside the program when it can be written, otherwise a folder in the
// user's own data folder.

#include <string>

namespace pelvoro {

// Creates `preferred` when missing and checks that a file can be written in it; when not,
// creates and returns `fallback` (which is also checked). Returns the folder chosen, or
// empty when neither can be written.
std::string chooseTransferFolder(const std::string& preferred, const std::string& fallback);

// The folder of this run, set once at start (empty until then).
void setTransferFolder(const std::string& folder);
const std::string& transferFolder();

// Whether a file can be created in `folder` (which is created when missing).
bool folderIsWritable(const std::string& folder);

}  // namespace pelvoro
