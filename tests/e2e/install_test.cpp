// The installed program: `cmake --install` into a temporary prefix; the installed
// command-line program finds its data files in share/tamvisto without --data-dir, and the
// desktop entry, metainfo and file types are valid for the tools that read them.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "sim_harness.h"

namespace pelvoro::e2e {
namespace {

namespace fs = std::filesystem;

// The full path of a tool in PATH, or empty.
std::string findTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        fs::path candidate = fs::path(dir) / name;
        if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

TEST(Install, InstalledProgramsFindTheirDataAndTheDesktopFilesAreValid) {
    const fs::path root =
        fs::temp_directory_path() / ("pelvoro-install-" + std::to_string(getpid()));
    fs::remove_all(root);
    const fs::path prefix = root / "prefix";
    RunResult install = runProgram(PELVORO_CMAKE_COMMAND,
                                   {"--install", PELVORO_BUILD_DIR, "--prefix", prefix.string()},
                                   milliseconds(120000));
    ASSERT_EQ(install.exitCode, 0) << install.out << install.err;

    const fs::path share = prefix / "share";
    for (const fs::path& f :
         {prefix / "bin/pelvoro", prefix / "bin/pelvoro-cli", share / "tamvisto/Tamvisto_Main.ini",
          share / "tamvisto/English.ini", share / "tamvisto/Deutsch.ini",
          share / "tamvisto/StructureNames.ini", share / "tamvisto/Demo.TMV",
          share / "applications/org.tamvisto.Tamvisto.desktop",
          share / "icons/hicolor/scalable/apps/tamvisto.svg",
          share / "metainfo/org.tamvisto.Tamvisto.metainfo.xml",
          share / "mime/packages/tamvisto.xml", share / "man/man1/pelvoro.1.gz",
          share / "man/man1/pelvoro-cli.1.gz", share / "doc/tamvisto/copyright",
          share / "doc/tamvisto/changelog.gz"})
        EXPECT_TRUE(fs::is_regular_file(f)) << f;
    EXPECT_FALSE(fs::exists(prefix / "bin/Tamvisto_Main.ini"));  // data files are in share/
    // The data folder holds exactly the files we deliver, whatever else data/ may hold.
    std::set<std::string> delivered;
    for (const fs::directory_entry& e : fs::directory_iterator(share / "tamvisto"))
        delivered.insert(e.path().filename().string());
    EXPECT_EQ(delivered, (std::set<std::string>{"Tamvisto_Main.ini", "English.ini", "Deutsch.ini",
                                                "StructureNames.ini", "Tamvisto HELP.html",
                                                "Tamvisto HILFE.html", "Demo.TMV"}));

    // A user of his own: no settings yet, nothing written beside the installation.
    const std::vector<std::string> user = {"XDG_CONFIG_HOME=" + (root / "config").string(),
                                           "XDG_DATA_HOME=" + (root / "data").string()};
    const std::string cli = (prefix / "bin/pelvoro-cli").string();
    RunResult version = runProgram(cli, {"--version"}, milliseconds(20000), user);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Tamvisto 2.1\n");
    // Texts come from the installed language files ("**" when none is found).
    struct Case {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"lang", "mbcWarning_20"}, "Warning\n"},
        {{"--language", "DEUTSCH", "lang", "mbcWarning_20"}, "Warnung\n"},
    };
    for (const Case& c : cases) {
        RunResult r = runProgram(cli, c.args, milliseconds(20000), user);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
    }
    RunResult convert = runProgram(
        cli, {"convert", (share / "tamvisto/Demo.TMV").string(), (root / "Demo.TMV").string()},
        milliseconds(20000), user);
    EXPECT_EQ(convert.exitCode, 0) << convert.err;
    EXPECT_GT(fs::file_size(root / "Demo.TMV"), 1000u);

    // The checkers of the desktop, where installed.
    if (std::string tool = findTool("desktop-file-validate"); !tool.empty()) {
        RunResult r =
            runProgram(tool, {(share / "applications/org.tamvisto.Tamvisto.desktop").string()});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(r.out.find("error"), std::string::npos) << r.out;
    }
    if (std::string tool = findTool("appstreamcli"); !tool.empty()) {
        // The metainfo, and the desktop entry it names, as installed.
        RunResult r = runProgram(tool, {"validate-tree", "--no-net", prefix.string()});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    }
    if (std::string tool = findTool("update-mime-database"); !tool.empty()) {
        RunResult r = runProgram(tool, {(share / "mime").string()});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        const std::string globs = readFile((share / "mime/globs2").string());
        for (const char* glob :
             {"application/x-tamvisto-document:*.tmv", "application/x-tamvisto-document:*.plv",
              "application/x-tamvisto-transcript:*.KRD:cs"})
            EXPECT_NE(globs.find(glob), std::string::npos) << glob;
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace pelvoro::e2e
