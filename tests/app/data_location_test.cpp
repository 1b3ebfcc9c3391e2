#include "app/data_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/language_fixture.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// Where the data files are found: beside the program (build folder, copied program), else in
// the installation's share folder; with neither, the program's folder (for the messages).
TEST(DataLocation, BesideTheProgramFirstThenTheInstallation) {
    struct Case {
        const char* name;
        bool beside, installed;
        const char* expectedDir;  // relative to the temporary root
        bool expectInstalled;
    } cases[] = {
        {"build folder", true, false, "prefix/bin", false},
        {"installed", false, true, "prefix/share/tamvisto", true},
        {"both: beside wins", true, true, "prefix/bin", false},
        {"neither", false, false, "prefix/bin", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directories(dir.file("prefix/bin"));
        fs::create_directories(dir.file("prefix/share/tamvisto"));
        if (c.beside) dir.write("prefix/bin/Tamvisto_Main.ini", "[Tamvisto]\r\n");
        if (c.installed) dir.write("prefix/share/tamvisto/Tamvisto_Main.ini", "[Tamvisto]\r\n");
        DataLocation found = locateDataFiles(dir.file("prefix/bin"), "../share/tamvisto");
        EXPECT_EQ(found.dataDir, dir.file(c.expectedDir));
        EXPECT_EQ(found.installed, c.expectInstalled);
    }
    // The build's own relation between bin/ and share/tamvisto.
    EXPECT_EQ(std::string(installedDataDirFromPrograms()), "../share/tamvisto");
}

}  // namespace
}  // namespace pelvoro
