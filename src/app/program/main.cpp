// pelvoro: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include "app/adapters/qt_settings_store.h"
#include "app/data_location.h"
#include "common/identity.h"
#include "app/widgets/extensions.h"
#include "app/widgets/main_window.h"
#include "app/widgets/qt_translations.h"
#include "common/adapters/qt_text.h"
#include "common/widgets/qt_prompts.h"
#include "instrument/instrument_context.h"
#include "instrument/widgets/instrument_commands.h"

using namespace pelvoro;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(identity::kBrandTitle);
    QApplication::setApplicationVersion(identity::kVersion);
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName("org.tamvisto.Tamvisto");  // the installed desktop entry

    QCommandLineParser parser;
    parser.setApplicationDescription("Companion program for electrical safety testers");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDirOption("data-dir", "Folder of the language and data files.", "DIR");
    parser.addOption(dataDirOption);
    QCommandLineOption screenshotOption(
        "screenshot", "Save a picture of the main window once it is up, then end.", "PNG");
    parser.addOption(screenshotOption);
    QCommandLineOption allCommandsOption(
        "all-commands",
        "Offer every command (model menu, send structure, structure editing, import, "
        "structure print, graph and table) and keep the stored model instead of the CV 61.");
    parser.addOption(allCommandsOption);
    parser.addPositionalArgument("document", "A document to open at start.");
    parser.process(app);

    // Data files beside the program, else those of the installation; --data-dir wins.
    const DataLocation located =
        locateDataFiles(pathFromQt(QCoreApplication::applicationDirPath()));
    QString dataDir =
        parser.isSet(dataDirOption) ? parser.value(dataDirOption) : pathToQt(located.dataDir);
    dataDir = QDir(dataDir).absolutePath();
    if (located.installed && !parser.isSet(dataDirOption))
        appEnvironment().resultsFolder = pathFromQt(QDir::cleanPath(
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/Results"));

    QtSettingsStore settings;
    QtPrompts prompts;
    TfrmMainForm::Services services;
    services.settings = &settings;
    services.prompts = &prompts;
    // An open port marks a running transfer.
    TfrmMainForm* mainWindow = nullptr;
    services.portOpen = [&mainWindow] {
        InstrumentContext* c = mainWindow ? instrumentContext(*mainWindow) : nullptr;
        return c && c->link.isPortOpen();
    };
    TfrmMainForm window(services);
    mainWindow = &window;
    prompts.setParent(&window);
    QObject::connect(
        &window, &TfrmMainForm::terminatedSignal, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);

    StartupOptions startOptions;
    startOptions.allCommands = parser.isSet(allCommandsOption);
    if (!window.start(pathFromQt(dataDir), startOptions)) return 0;
    // Message box buttons and the standard dialogs speak the program's language.
    installQtTranslations(appEnvironment().language);
    installExtensions(window);
    window.RefreshCommandState();
    window.showMaximized();

    // A document named on the command line is opened like File > Open once the window
    // is up; until the open command exists there is nothing to open it with.
    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) window.setProperty("startDocument", args.first());

    if (parser.isSet(screenshotOption)) {
        QString file = parser.value(screenshotOption);
        QTimer::singleShot(6000, &window, [&window, file] {
            window.grab().save(file);
            QCoreApplication::exit(0);
        });
    }
    return app.exec();
}
