#pragma once
// Where the data files of this run are (language list, language files, structure names,
// help pages, demo document). A build folder or a copied program keeps them beside the
// executable; an installed program finds them in the share folder of its installation
// (bin/../share/tamvisto). A folder named on the command line wins over both.

#include <string>

namespace pelvoro {

struct DataLocation {
    std::string dataDir;
    // The data files are those of an installation: nothing is written beside them, and
    // the folder "Results" lives in the user's own data folder.
    bool installed = false;
};

// The installed data folder relative to the folder of the executables.
const char* installedDataDirFromPrograms();

// Looks beside `programDir` first, then in `programDir`/`installedRelative`; a folder
// counts when it holds the language list. When neither does, the program's folder is
// returned (so that the messages about missing files name it).
DataLocation locateDataFiles(const std::string& programDir,
                             const std::string& installedRelative = installedDataDirFromPrograms());

}  // namespace pelvoro
