#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "reports/adapters/qt_safe_file.h"
#include "support/language_fixture.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SafeFile, ReplacesWholeKeepsModeWritesThroughLinksAndReportsFailures) {
    testing::TempDir dir;
    const std::string target = dir.file("export.txt");
    dir.write("export.txt", "an older, longer export\r\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(writeFileSafely(target, "new"), "");
    EXPECT_EQ(contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A link stays a link; the file it names gets the text.
    fs::create_symlink(target, dir.file("link.txt"));
    EXPECT_EQ(writeFileSafely(dir.file("link.txt"), "through the link"), "");
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(contents(target), "through the link");

    // Failures name a reason and leave nothing behind.
    EXPECT_NE(writeFileSafely(dir.file("missing/x.txt"), "x"), "");
    EXPECT_NE(writeFileSafely(dir.path(), "x"), "");
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace pelvoro
