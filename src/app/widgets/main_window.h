#pragma once
// The main window: menus, toolbars, the document-window area and the start and exit
// sequences. Commands of other subsystems are attached with setCommandHandler; an entry
// whose command has no handler stays disabled.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_state.h"
#include "app/exit_sequence.h"
#include "app/main_settings.h"
#include "app/startup.h"
#include "document/widgets/document_sub_window.h"
#include "instrument/port_settings.h"

class QAction;
class QActionGroup;
class QMdiArea;
class QMenu;
class QToolBar;

namespace pelvoro {

class TfrmLanguage;

class TfrmMainForm : public QMainWindow, public StartupHost, public ExitHost {
    Q_OBJECT
  public:
    struct Services {
        SettingsStore* settings = nullptr;
        Prompts* prompts = nullptr;
        // Printers the platform offers; the default counts the system's printers plus
        // printing to a PDF file, which Qt always offers.
        std::function<int()> printerCount;
        // Whether the serial port is open (a transfer is running).
        std::function<bool()> portOpen;
    };

    explicit TfrmMainForm(Services services, QWidget* parent = nullptr);
    ~TfrmMainForm() override;

    // Runs the start sequence; false when the program must end at once.
    bool start(const std::string& dataDir, const StartupOptions& options = {});
    // Started with every command offered (--all-commands).
    bool allCommandsOffered() const { return allCommands_; }

    // Elements by object name.
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;
    QToolBar* toolbar(const QString& name) const;
    QMdiArea* mdiArea() const { return mdi_; }

    // Commands: FileOpen, FileClose, FileSave, FileSaveAs, Import, Export, HeadSetUp,
    // LightReportPreview, PrintStrucrure, DrawGraph, ShowTable, DownLoadNewINSTR,
    // SendStructure, InstrumentData, PortSettings, NewStructure, DeleteItem, RedefineAll,
    // StructureNames, InstallationNames, EditCopy, EditSelectAll, ShowProperties,
    // OpenRecent (argument: 1..4 newest), AddItem (argument: the button's tag).
    using CommandHandler = std::function<void(int argument)>;
    void setCommandHandler(const QString& command, CommandHandler handler);
    bool hasCommandHandler(const QString& command) const;
    void runCommand(const QString& command, int argument = 0);

    // The document-window routine: caption from the file name (with an optional prefix),
    // placement, counters; the window takes ownership of `content`.
    DocumentSubWindow* createDocumentWindow(QWidget* content, const std::string& fileName,
                                            const std::string& prefix = {});
    std::vector<DocumentSubWindow*> documentWindows() const;
    DocumentSubWindow* activeDocumentWindow() const;
    DocumentView* activeDocumentView() const;
    int openDocumentCount() const { return openDocumentCount_; }
    int newStructureCounter() const { return newStructureCounter_; }
    int nextNewStructureNumber() { return ++newStructureCounter_; }
    int downloadCounter = 0;
    int importCounter = 0;

    void RefreshCommandState();
    // Who answers whether the serial port is open (the instrument link, once it exists).
    void setPortOpenQuery(std::function<bool()> query) { services_.portOpen = std::move(query); }
    void DisableAddItemCommands();
    // Enables one add-item command (by the tag of its button) after DisableAddItemCommands.
    void enableAddItemCommand(int tag, bool enabled = true);
    bool moveMode() const;
    CommandContext commandContext() const;

    MainWindowState& mainState() override { return state_; }
    const std::string& documentFilter() const { return documentFilter_; }
    const std::string& openDirectory() const { return openDirectory_; }
    const PortBufferSettings& portBuffers() const { return portBuffers_; }
    SettingsStore& settings() override { return *services_.settings; }
    Prompts& prompts() override { return *services_.prompts; }

    // The exit sequence; true when the program ends.
    bool requestExit();
    bool isTerminated() const { return terminated_; }

    // Lays out the toolbars in rows that fit the window's width.
    void layoutToolbars();
    // Rebuilds the File menu's recent entries and the Window menu's list (done when the
    // menus open; public for tests).
    void rebuildRecentFileEntries();
    void rebuildWindowList();
    void updateMenuEnabling();

  signals:
    void terminatedSignal();
    void modelChanged(const QString& key);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // StartupHost
    int printerCount() override;
    void setMainCaption(const std::string& caption) override;
    void applyBrandProfile() override;
    void offerAllCommands() override;
    void showCheckedModel() override;
    void setDocumentFilters(const std::string& filter) override;
    void resetDocumentCounters() override;
    void refreshCommandState() override { RefreshCommandState(); }
    void configurePortBuffers() override;
    void refreshAddItemCommands() override { DisableAddItemCommands(); }
    void setInitialDirectories(const std::string& folder) override;
    void translateCaptions() override;
    // ExitHost
    int documentWindowCount() override { return openDocumentCount_; }
    bool closeActiveDocumentWindow() override;
    void processEvents() override;
    void terminate() override;

    struct Element {
        QPointer<QObject> object;
        std::string key;    // translation key, empty when the caption is fixed
        bool hint = false;  // the key gives a toolbar hint, not a caption
    };

    void buildMenus();
    void buildToolbars();
    QAction* addEntry(QMenu* menu, const QString& name, const char* key, const char* caption,
                      const QString& command = {}, int argument = 0);
    QAction* addSeparator(QMenu* menu, const QString& name);
    QAction* addButton(QToolBar* bar, const QString& name, int tag, const char* hintKey,
                       const QString& command, int argument = 0);
    QMenu* addMenu(QMenu* parentMenu, const QString& name, const char* key, const char* caption);
    void bindCommand(QAction* action, const QString& command, int argument);
    void setRuleEnabled(QAction* action, bool rule);
    void disableDuringTransfer(const CommandContext& ctx);
    void chooseModel(const QString& key);
    void toolbarToggled();
    void showLanguageDialog();
    void showOptionsDialog();
    void showAbout();
    void openHelp(bool index);
    void documentWindowClosed(DocumentSubWindow* window);

    Services services_;
    MainWindowState state_;
    QMdiArea* mdi_ = nullptr;
    QWidget* background_ = nullptr;
    std::vector<Element> elements_;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QHash<QString, QToolBar*> toolbars_;
    QHash<QString, CommandHandler> handlers_;
    QActionGroup* modelGroup_ = nullptr;
    std::vector<QAction*> addItemActions_;  // menu entries and buttons that add items
    std::vector<QAction*> windowListEntries_;
    std::vector<QAction*> recentEntries_;
    std::unique_ptr<TfrmLanguage> languageDialog_;

    std::string documentFilter_;
    std::string openDirectory_;
    std::string importDirectory_;
    PortBufferSettings portBuffers_;
    int openDocumentCount_ = 0;
    int windowTagCounter_ = 0;
    int newStructureCounter_ = 0;
    bool terminated_ = false;
    bool exiting_ = false;
    bool allCommands_ = false;
};

}  // namespace pelvoro
