#include "files/widgets/file_commands_qt.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/adapters/user_folders.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/results_hook.h"
#include "document/widgets/child_form.h"
#include "document/widgets/document_commands.h"
#include "files/file_commands.h"
#include "files/transfer_folder.h"
#include "instrument/instrument_context.h"
#include "instrument/widgets/instrument_commands.h"
#include "results/adapters/qt_text_measure.h"
#include "results/results_loading.h"

namespace pelvoro {

namespace {

int& startDocumentWait() {
    static int ms = 3000;
    return ms;
}

class MainWindowHost : public DocumentHost {
  public:
    explicit MainWindowHost(TfrmMainForm& w) : main_(w) {}

    StructureDocument* createDocumentWindow(std::unique_ptr<StructureDocument> document,
                                            const std::string& fileName,
                                            const std::string& prefix) override {
        TfrmChildForm* form = openDocumentWindow(main_, std::move(document), fileName, prefix);
        return form ? &form->document() : nullptr;
    }
    StructureDocument* activeDocument() override {
        DocumentView* view = main_.activeDocumentView();
        return view ? &view->document() : nullptr;
    }
    void documentLoaded(StructureDocument& doc) override {
        TfrmChildForm* form = formOf(doc);
        if (!form) return;
        showLoadedDocument(main_, *form);
        main_.RefreshCommandState();
    }
    void documentRenamed(StructureDocument& doc) override {
        if (TfrmChildForm* form = formOf(doc))
            if (DocumentSubWindow* win = form->subWindow()) win->setWindowTitle(toQt(doc.Caption));
    }
    void refreshCommandState() override { main_.RefreshCommandState(); }
    int nextImportNumber() override { return ++main_.importCounter; }
    StructureDocument* activateDocumentOf(const std::string& path) override {
        for (DocumentSubWindow* w : main_.documentWindows()) {
            TfrmChildForm* f = childFormOf(w->view());
            // Only a window that has its file holds it: an unsaved import or download
            // carries a proposed name, which may be another document's file.
            if (!f || !f->document().HasFile || !sameFile(f->document().FilePath, path)) continue;
            if (w->isMinimized()) w->showNormal();
            main_.mdiArea()->setActiveSubWindow(w);
            w->raise();
            return &f->document();
        }
        return nullptr;
    }
    void showInstrumentData(const TInstrumentData& data) override {
        showDocumentInstrumentData(main_, data);
    }
    void instrumentDataReceived(const TInstrumentData& data) override {
        if (InstrumentContext* ctx = instrumentContext(main_)) ctx->data = data;
        showDocumentInstrumentData(main_, data);
    }

  private:
    TfrmChildForm* formOf(const StructureDocument& doc) {
        for (DocumentSubWindow* w : main_.documentWindows())
            if (TfrmChildForm* f = childFormOf(w->view()); f && &f->document() == &doc) return f;
        return nullptr;
    }
    TfrmMainForm& main_;
};

// Owns the file commands of one main window; a child of that window.
class FileCommandsOwner : public QObject {
  public:
    explicit FileCommandsOwner(TfrmMainForm& w)
        : QObject(&w),
          host(w),
          commands(host, w.prompts(), w.mainState().recentFiles, FileEnvironment{}) {
        setObjectName("FileCommandsOwner");
    }
    MainWindowHost host;
    FileCommands commands;
};

}  // namespace

std::shared_ptr<ResultsHook> screenResultsHook() {
    // Loads run one after another on the window's thread; one record serves them all.
    static const std::shared_ptr<ResultsHook> hook =
        makeResultsParsingHook(makeScreenLineRenderer());
    return hook;
}

namespace {

FileEnvironment environmentOf(TfrmMainForm& w) {
    FileEnvironment env;
    env.transferFolder = transferFolder();
    env.documentFilter =
        w.documentFilter().empty() ? identity::kDocumentFilter : w.documentFilter();
    env.defaultExtension = identity::kSaveDefaultExtension;
    env.importFilter = identity::kImportFilter;
    env.openDirectory = w.openDirectory().empty() ? transferFolder() : w.openDirectory();
    // The dialogs start where the user keeps documents, never in the transfer folder.
    env.documentFolder =
        rememberedFolder(w.settings(), kDocumentFolderSetting, userDocumentsFolder());
    TfrmMainForm* window = &w;
    env.documentFolderUsed = [window](const std::string& folder) {
        rememberFolder(window->settings(), kDocumentFolderSetting, folder);
    };
    env.results = screenResultsHook();
    return env;
}

// A small always-on-top window shown while the program gets ready.
void showWaitWindow(TfrmMainForm& w, int ms) {
    if (ms <= 0) return;
    QWidget wait(&w, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    wait.setObjectName("frmWait");
    wait.setWindowTitle(QString(identity::kBrandTitle) + QString(15, ' ') +
                        toQt(LangText("msgWait_20")));
    auto* layout = new QVBoxLayout(&wait);
    auto* title =
        new QLabel(QString("%1  %2").arg(identity::kBrandTitle, identity::kVersion), &wait);
    auto* text = new QLabel(toQt(LangText("msgWait_20")), &wait);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title);
    layout->addWidget(text);
    wait.adjustSize();
    wait.move(w.geometry().center() - wait.rect().center());
    wait.show();
    // Events keep running (repaints, the window's own timers) while it waits.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    wait.hide();
}

bool isServiceWord(const QString& arg) {
    return arg == "brenkolivsaja" || arg == "mirtavek";
}

}  // namespace

void setStartDocumentWait(int milliseconds) {
    startDocumentWait() = milliseconds;
}

FileCommands* fileCommandsOf(TfrmMainForm& w) {
    auto* owner = w.findChild<FileCommandsOwner*>("FileCommandsOwner", Qt::FindDirectChildrenOnly);
    return owner ? &owner->commands : nullptr;
}

void installFileCommands(TfrmMainForm& w) {
    if (fileCommandsOf(w)) return;
    // Temporary transfer files: "Results" beside the program, or the user's data folder.
    QString userFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/Results";
    setTransferFolder(chooseTransferFolder(appEnvironment().resultsDir(),
                                           pathFromQt(QDir::cleanPath(userFolder))));

    auto* owner = new FileCommandsOwner(w);
    QPointer<FileCommandsOwner> guard(owner);
    TfrmMainForm* window = &w;
    auto commands = [guard, window]() -> FileCommands* {
        if (!guard) return nullptr;
        guard->commands.setEnvironment(environmentOf(*window));
        return &guard->commands;
    };
    auto active = [window]() -> StructureDocument* {
        DocumentView* view = window->activeDocumentView();
        return view ? &view->document() : nullptr;
    };

    w.setCommandHandler("FileOpen", [commands](int) {
        if (FileCommands* c = commands()) c->openCommand();
    });
    w.setCommandHandler("OpenRecent", [commands](int k) {
        if (FileCommands* c = commands()) c->openRecent(k);
    });
    w.setCommandHandler("Import", [commands](int) {
        if (FileCommands* c = commands()) c->importCommand();
    });
    w.setCommandHandler("FileSave", [commands, active](int) {
        FileCommands* c = commands();
        if (StructureDocument* d = active(); c && d) c->save(*d);
    });
    w.setCommandHandler("FileSaveAs", [commands, active](int) {
        FileCommands* c = commands();
        if (StructureDocument* d = active(); c && d) c->saveAs(*d);
    });
    w.setCommandHandler("FileClose", [window](int) {
        if (DocumentSubWindow* win = window->activeDocumentWindow()) win->close();
    });
    TfrmChildForm::setDefaultCloseQuestion([commands](TfrmChildForm& form) {
        FileCommands* c = commands();
        return c ? c->confirmClose(form.document()) : true;
    });

    // The document named on the command line, once the event loop runs (the property is
    // set after the commands are installed).
    QTimer::singleShot(0, &w, [window, commands] {
        QString path = window->property("startDocument").toString();
        if (path.isEmpty() || isServiceWord(path)) return;
        showWaitWindow(*window, startDocumentWait());
        FileCommands* c = commands();
        if (!c) return;
        try {
            c->open(pathFromQt(QDir::cleanPath(QDir::current().absoluteFilePath(path))));
        } catch (...) {
            // Errors beyond the open command's own messages are ignored at start.
        }
    });
    w.RefreshCommandState();
}

}  // namespace pelvoro
