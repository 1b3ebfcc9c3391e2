// pelvoro-cli: headless commands on the program's core.

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

#include "app/adapters/qt_settings_store.h"
#include "app/data_location.h"
#include "app/language_list.h"
#include "cli/cli.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/ini_file.h"
#include "common/lang_text.h"
#include "document/results_hook.h"
#include "results/render_result.h"

namespace pelvoro::cli {

namespace {

std::vector<Command>& registry() {
    static std::vector<Command> list;
    return list;
}

// Reads the user's settings but never writes them.
class ReadOnlySettings : public SettingsStore {
  public:
    explicit ReadOnlySettings(SettingsStore& inner) : inner_(inner) {}
    bool available() const override { return inner_.available(); }
    bool keyExists() const override { return inner_.keyExists(); }
    std::optional<SettingValue> value(const std::string& name) const override {
        auto it = overlay_.find(name);
        if (it != overlay_.end()) return it->second;
        return inner_.value(name);
    }
    void setValue(const std::string& name, const SettingValue& v) override { overlay_[name] = v; }
    void remove(const std::string& name) override { overlay_.erase(name); }

  private:
    SettingsStore& inner_;
    std::map<std::string, SettingValue> overlay_;
};

// Messages of the core go to stderr; a question gets No, so nothing happens unasked.
class StreamPrompts : public NullPrompts {
  public:
    void information(const std::string& text) override { std::cerr << text << "\n"; }
    void plainBox(const std::string& title, const std::string& text) override {
        std::cerr << title << ": " << text << "\n";
    }
    Answer askYesNo(const std::string&, const std::string& text) override {
        std::cerr << text << " -> No\n";
        return Answer::No;
    }
    Answer askYesNoCancel(const std::string&, const std::string& text) override {
        std::cerr << text << " -> Cancel\n";
        return Answer::Cancel;
    }
};

void usage(std::ostream& os) {
    os << "usage: pelvoro-cli [--data-dir DIR] [--language NAME] COMMAND [ARGS]\n"
       << "       pelvoro-cli --version\n\ncommands:\n";
    for (const Command& c : registry()) os << "  " << c.usage << "\n      " << c.summary << "\n";
}

}  // namespace

Registration::Registration(Command command) {
    registry().push_back(std::move(command));
}
const std::vector<Command>& commands() {
    return registry();
}

std::map<std::string, ApplicationMaker>& guiMakers() {
    static std::map<std::string, ApplicationMaker> makers;
    return makers;
}

GuiApplicationRegistration::GuiApplicationRegistration(const std::string& command,
                                                       ApplicationMaker maker) {
    guiMakers()[command] = std::move(maker);
}

bool commandNeedsGui(const std::string& name) {
    for (const Command& c : registry())
        if (c.name == name) return c.needsGui;
    return false;
}

std::string Context::takeOption(const std::string& name, const std::string& fallback) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            std::string v = args[i + 1];
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return v;
        }
    }
    return fallback;
}

int Context::usage() {
    err << "usage: pelvoro-cli " << (command ? command->usage : std::string()) << "\n";
    return kUsageExit;
}

int Context::usageError(const std::string& why) {
    err << "pelvoro-cli " << (command ? command->name : std::string()) << ": " << why << "\n";
    return usage();
}

bool Context::takeFlag(const std::string& name) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            args.erase(args.begin() + long(i));
            return true;
        }
    }
    return false;
}

}  // namespace pelvoro::cli

using namespace pelvoro;

namespace {

// The command word: the first argument that is not a global option.
std::string commandWord(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--data-dir" || a == "--language") && i + 1 < argc)
            ++i;
        else
            return a;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    // Commands that draw need fonts and Qt Gui, but never a display.
    std::unique_ptr<QCoreApplication> application;
    const std::string word = commandWord(argc, argv);
    auto maker = cli::guiMakers().find(word);
    if (maker != cli::guiMakers().end()) {
        // Commands that draw with widgets make their own application.
        application.reset(maker->second(argc, argv));
    } else if (cli::commandNeedsGui(word)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    // Data files beside the program, else those of the installation; --data-dir wins.
    const DataLocation located =
        locateDataFiles(QCoreApplication::applicationDirPath().toStdString());
    std::string dataDir = located.dataDir;
    bool dataDirNamed = false;
    std::string language;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--version") {
            std::cout << identity::kBrandTitle << " " << identity::kVersion << "\n";
            return 0;
        } else if (a == "--help" || a == "-h") {
            cli::usage(std::cout);
            return 0;
        } else if (a == "--data-dir" && i + 1 < args.size() && rest.empty()) {
            dataDir = QDir(QString::fromStdString(args[++i])).absolutePath().toStdString();
            dataDirNamed = true;
        } else if (a == "--language" && i + 1 < args.size() && rest.empty()) {
            language = args[++i];
        } else {
            rest.push_back(a);
        }
    }
    if (rest.empty()) {
        cli::usage(std::cerr);
        return 2;
    }

    QtSettingsStore userSettings;
    cli::ReadOnlySettings settings(userSettings);
    if (!language.empty()) settings.writeString("Language", language);
    cli::StreamPrompts prompts;

    // The same language choice as the desktop program, without writing anything.
    AppEnvironment& env = appEnvironment();
    env.dataDir = dataDir;
    if (located.installed && !dataDirNamed)
        env.resultsFolder =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                            "/" + identity::kBrandTitle + "/Results")
                .toStdString();
    StartupLanguage lang =
        chooseStartupLanguage(settings, IniFile::load(env.mainIniPath()), dataDir);
    env.language = lang.language;
    env.languageFile = lang.languageFile;
    env.helpFile = lang.helpFile;
    env.codePage = codePageByName(lang.codepage).value_or(CodePage::Windows1252);
    setCurrentLanguageFile(LanguageFile::load(env.languageFilePath()));
    currentTextCodes().fill(*currentLanguageFile());
    // Documents read by commands get their result lines, wrapped by character count.
    const std::shared_ptr<ResultsHook> results =
        makeResultsParsingHook(makeLineRenderer(std::make_shared<CharacterCellMeasure>()));

    for (const cli::Command& c : cli::commands()) {
        if (c.name != rest[0]) continue;
        cli::Context ctx{dataDir,   settings,  prompts,
                         std::cout, std::cerr, {rest.begin() + 1, rest.end()},
                         results,   &c};
        return c.run(ctx);
    }
    std::cerr << "pelvoro-cli: unknown command '" << rest[0] << "'\n";
    cli::usage(std::cerr);
    return 2;
}
