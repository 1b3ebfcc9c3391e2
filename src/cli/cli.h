#pragma once
// pelvoro-cli: the program's core commands without windows, for support staff, scripts
// and tests. Each command lives in its own file and registers itself here.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class QCoreApplication;

#include "common/prompts.h"
#include "common/settings_store.h"

namespace pelvoro {
class ResultsHook;
}

namespace pelvoro::cli {

struct Command;

// What a command's usage error returns.
constexpr int kUsageExit = 2;

struct Context {
    std::string dataDir;
    SettingsStore& settings;  // read-only view of the user's settings
    Prompts& prompts;         // messages go to stderr; questions answer No
    std::ostream& out;
    std::ostream& err;
    std::vector<std::string> args;  // the command's own arguments
    // Reads the coded results of documents into lines, wrapped by character count.
    std::shared_ptr<ResultsHook> results;
    const Command* command = nullptr;  // the command being run

    // "--name value" among args; removed from args when found.
    std::string takeOption(const std::string& name, const std::string& fallback = {});
    bool takeFlag(const std::string& name);
    // "usage: pelvoro-cli USAGE" on err, with the command's usage of the registry;
    // returns kUsageExit.
    int usage();
    // "pelvoro-cli NAME: why" and the usage on err; returns kUsageExit.
    int usageError(const std::string& why);
};

struct Command {
    std::string name;
    std::string usage;  // "lang KEY"
    std::string summary;
    std::function<int(Context&)> run;  // exit status
    bool needsGui = false;  // draws (fonts, PDF): runs with Qt Gui, offscreen without a display
};

// Registers a command at static initialisation (files of the command-line program).
struct Registration {
    explicit Registration(Command command);
};

const std::vector<Command>& commands();
// Whether the named command draws.
bool commandNeedsGui(const std::string& name);

// A command that draws (with widgets) needs a GUI application instead of the core one;
// it registers the maker of that application under its name.
using ApplicationMaker = std::function<QCoreApplication*(int& argc, char** argv)>;
struct GuiApplicationRegistration {
    GuiApplicationRegistration(const std::string& command, ApplicationMaker maker);
};

}  // namespace pelvoro::cli
