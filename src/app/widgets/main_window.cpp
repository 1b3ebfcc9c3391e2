#include "app/widgets/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <cmath>

#include "app/brand_profile.h"
#include "app/command_state.h"
#include "app/help_file.h"
#include "app/widgets/about_box.h"
#include "app/widgets/icon_library.h"
#include "app/widgets/language_dialog.h"
#include "app/widgets/options_dialog.h"
#include "common/adapters/qt_text.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/widgets/document_view.h"
#include "instrument/models.h"

namespace pelvoro {

namespace {

// Keeps a widget covering its parent whenever the parent changes size (the brand
// watermark of the empty frame stays whole and centred).
class FillParent : public QObject {
  public:
    FillParent(QWidget* child, QWidget* parent) : QObject(child), child_(child) {
        parent->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            child_->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

  private:
    QWidget* child_;
};

int defaultPrinterCount() {
    // Qt always offers printing to a PDF file, which counts as a printer here, so the
    // program also runs on machines without a physical printer.
    return int(QPrinterInfo::availablePrinters().size()) + 1;
}

}  // namespace

TfrmMainForm::TfrmMainForm(Services services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName("TfrmMainForm");
    setWindowTitle("Pelvoro");
    if (!services_.printerCount) services_.printerCount = defaultPrinterCount;
    if (!services_.portOpen) services_.portOpen = [] { return false; };

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdiArea");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    auto* background = new QLabel(QString::fromLatin1(identity::kBrandTitle), mdi_->viewport());
    background->setObjectName("pnlBackground");
    background->setAlignment(Qt::AlignCenter);
    QFont brandFont = background->font();
    brandFont.setPointSize(48);
    brandFont.setBold(true);
    background->setFont(brandFont);
    background->setStyleSheet("color: rgba(255, 255, 255, 90);");
    background_ = background;
    new FillParent(background, mdi_->viewport());
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { RefreshCommandState(); });

    buildMenus();
    buildToolbars();
}

TfrmMainForm::~TfrmMainForm() {
    // Document windows still open go with the area; nothing may react to their going
    // while the menus and actions are being destroyed.
    mdi_->disconnect(this);
    for (DocumentSubWindow* w : documentWindows()) w->disconnect(this);
    handlers_.clear();
}

// ---------------------------------------------------------------------------------------
// Lookup and commands

QAction* TfrmMainForm::action(const QString& name) const {
    return actions_.value(name, nullptr);
}
QMenu* TfrmMainForm::menu(const QString& name) const {
    return menus_.value(name, nullptr);
}
QToolBar* TfrmMainForm::toolbar(const QString& name) const {
    return toolbars_.value(name, nullptr);
}

void TfrmMainForm::setCommandHandler(const QString& command, CommandHandler handler) {
    handlers_.insert(command, std::move(handler));
    RefreshCommandState();
}

bool TfrmMainForm::hasCommandHandler(const QString& command) const {
    return handlers_.contains(command);
}

void TfrmMainForm::runCommand(const QString& command, int argument) {
    auto it = handlers_.find(command);
    if (it == handlers_.end() || !*it) return;
    // A key or a button that was not disabled in time still cannot start these.
    if (services_.portOpen() && !commandAllowedDuringTransfer(command.toStdString())) {
        prompts().beep();
        return;
    }
    (*it)(argument);
}

void TfrmMainForm::setRuleEnabled(QAction* a, bool rule) {
    if (!a) return;
    QString command = a->property("command").toString();
    bool handled = command.isEmpty() || hasCommandHandler(command);
    a->setEnabled(rule && handled);
}

// ---------------------------------------------------------------------------------------
// Document windows

DocumentSubWindow* TfrmMainForm::createDocumentWindow(QWidget* content, const std::string& fileName,
                                                      const std::string& prefix) {
    QString name = QFileInfo(pathToQt(fileName)).fileName();
    QString caption = prefix.empty() ? name : toQt(prefix) + "     (" + name + ")";
    background_->hide();
    auto* win = new DocumentSubWindow;
    // File > Close owns the close keys; the window's own menu keeping them too would make
    // both ambiguous, and neither would act.
    if (QMenu* system = win->systemMenu())
        for (QAction* a : system->actions())
            for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Close))
                if (a->shortcuts().contains(k)) a->setShortcuts(QList<QKeySequence>{});
    win->setWidget(content);
    win->setAttribute(Qt::WA_DeleteOnClose);
    win->setWindowTitle(caption);
    win->setWindowIcon(itemTypeQIcon(ItemType::Object));
    mdi_->addSubWindow(win);
    int s = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int offset = int(std::lround(1.35 * openDocumentCount_ * s));
    win->resize(int(std::lround(width() * 0.95)), int(std::lround(height() * 0.85)));
    win->move(offset, offset);
    ++openDocumentCount_;
    win->setTag(++windowTagCounter_);
    connect(win, &DocumentSubWindow::closed, this, &TfrmMainForm::documentWindowClosed);
    return win;
}

void TfrmMainForm::documentWindowClosed(DocumentSubWindow*) {
    if (openDocumentCount_ > 0) --openDocumentCount_;
    RefreshCommandState();
}

std::vector<DocumentSubWindow*> TfrmMainForm::documentWindows() const {
    std::vector<DocumentSubWindow*> out;
    // The frame's window order: the active window first, then the others from the most
    // recently active.
    auto list = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (auto* d = qobject_cast<DocumentSubWindow*>(*it); d && !d->isClosed()) out.push_back(d);
    return out;
}

DocumentSubWindow* TfrmMainForm::activeDocumentWindow() const {
    auto* d = qobject_cast<DocumentSubWindow*>(mdi_->activeSubWindow());
    if (d && !d->isClosed()) return d;
    d = qobject_cast<DocumentSubWindow*>(mdi_->currentSubWindow());
    if (d && !d->isClosed()) return d;
    auto all = documentWindows();
    return all.empty() ? nullptr : all.front();
}

DocumentView* TfrmMainForm::activeDocumentView() const {
    DocumentSubWindow* w = activeDocumentWindow();
    return w ? w->view() : nullptr;
}

// ---------------------------------------------------------------------------------------
// Command state

CommandContext TfrmMainForm::commandContext() const {
    CommandContext ctx;
    ctx.documentCount = openDocumentCount_;
    ctx.portOpen = services_.portOpen();
    ctx.selectedModel = state_.checkedModel.empty() ? kAutoFindKey : state_.checkedModel;
    if (DocumentView* v = activeDocumentView()) {
        ctx.hasActiveDocument = true;
        if (StructureItem* item = v->selectedItem()) {
            ctx.hasSelectedItem = true;
            ctx.selectedItemOnTopLevel = item->parent() == nullptr;
            ctx.selectedHasSeries = item->data.graph().hasSamples();
            ctx.seriesKind = item->data.graph().kind;
        }
        ctx.resultTableShown = v->resultTableShown();
        ctx.focusInResultArea = v->focusInResultArea();
    }
    return ctx;
}

void TfrmMainForm::RefreshCommandState() {
    setWindowTitle(QString::fromLatin1(identity::kBrandTitle));
    CommandContext ctx = commandContext();
    ToolbarEnabling e = computeToolbarEnabling(ctx);
    setRuleEnabled(action("tbnSave"), e.save);
    setRuleEnabled(action("tbnViewStructure"), e.viewStructure);
    setRuleEnabled(action("tbnViewLightRep"), e.viewLightRep);
    setRuleEnabled(action("tbnTableGr"), e.tableGr);
    setRuleEnabled(action("tbnGraph"), e.graph);
    setRuleEnabled(action("tbnMoveUpDn"), e.moveUpDn);
    setRuleEnabled(action("mmFileDrawGraph"), e.drawGraphMenu);
    setRuleEnabled(action("mmFileShowTable"), e.showTableMenu);
    setRuleEnabled(action("tbnSend"), e.send);
    setRuleEnabled(action("tbnDownLoad"), e.download);
    if (e.releaseMoveMode) action("tbnMoveUpDn")->setChecked(false);
    // Buttons outside the rules: enabled when their command exists.
    for (const char* name : {"tbnNew", "tbnOpen", "tbnSettings"})
        setRuleEnabled(action(name), true);
    updateMenuEnabling();
    disableDuringTransfer(ctx);
}

void TfrmMainForm::updateMenuEnabling() {
    CommandContext ctx = commandContext();
    bool docs = documentCommandsEnabled(ctx);
    // The report header belongs to a document: without one, what is typed there would
    // reach no report.
    for (const char* name : {"mmFileClose", "mmFileSave", "mmFileSaveAs", "mmFileHeadSetUp",
                             "mmFilePreview", "mmFilePrintStructure", "mmStructRedefAll"})
        setRuleEnabled(action(name), docs);
    menu("mmStructAddIitem")->menuAction()->setEnabled(docs);
    for (const char* name : {"mmFileOpen", "mmFileImport", "mmInstrDownLoad", "mmInstrInstrData",
                             "mmStructNew", "mmStructName", "mmStructInstall", "mmConfigPort"})
        setRuleEnabled(action(name), true);
    setRuleEnabled(action("mmFileExport"), exportEnabled(ctx));
    bool edit = editCommandsEnabled(ctx);
    setRuleEnabled(action("mmEditCopy"), edit);
    setRuleEnabled(action("mmEditSelAll"), edit);
    setRuleEnabled(action("mmInstrSendStruct"), sendMenuEnabled(ctx));
    setRuleEnabled(action("mmStructDelIitem"), deleteItemEnabled(ctx));
    for (const char* name : {"mmWinCascade", "mmWinVertic", "mmWinHoriz", "mmWinMinimize"})
        setRuleEnabled(action(name), docs);
    for (QAction* a : recentEntries_) setRuleEnabled(a, true);
    disableDuringTransfer(ctx);
}

void TfrmMainForm::disableDuringTransfer(const CommandContext& ctx) {
    if (!ctx.portOpen) {
        for (const char* name : {"mmFileExit", "tbnExit"})
            if (QAction* a = action(name)) a->setEnabled(true);
        return;
    }
    for (QAction* a : actions_) {
        const QString command = a->property("command").toString();
        if (!command.isEmpty() && !commandAllowedDuringTransfer(command.toStdString()))
            a->setEnabled(false);
    }
    for (const char* name : {"mmFileExit", "tbnExit"})
        if (QAction* a = action(name)) a->setEnabled(false);
}

void TfrmMainForm::DisableAddItemCommands() {
    for (QAction* a : addItemActions_) a->setEnabled(false);
}

void TfrmMainForm::enableAddItemCommand(int tag, bool enabled) {
    for (QAction* a : addItemActions_)
        if (a->data().toInt() == tag && a->property("command").toString() == "AddItem")
            setRuleEnabled(a, enabled);
}

bool TfrmMainForm::moveMode() const {
    return action("tbnMoveUpDn")->isChecked();
}

// ---------------------------------------------------------------------------------------
// Menus that change with the state

void TfrmMainForm::rebuildRecentFileEntries() {
    std::vector<std::string> captions = recentFileCaptions(state_.recentFiles.entries());
    for (int i = 0; i < 4; ++i) {
        QAction* a = recentEntries_[i];
        bool shown = i < int(captions.size());
        a->setVisible(shown);
        if (shown) {
            a->setText(pathToQt(captions[i]).replace('&', "&&"));
            a->setToolTip(pathToQt(state_.recentFiles.newest(i + 1)));
        }
    }
    action("sepFileRecent")->setVisible(!state_.recentFiles.empty());
}

void TfrmMainForm::rebuildWindowList() {
    for (QAction* a : windowListEntries_) {
        a->setVisible(false);
        a->setChecked(false);
    }
    auto wins = documentWindows();
    DocumentSubWindow* active = activeDocumentWindow();
    int n = std::min<int>(int(wins.size()), kMaxWindowMenuEntries);
    for (int i = 0; i < n; ++i) {
        QAction* a = windowListEntries_[i];
        a->setText(wins[i]->windowTitle().replace('&', "&&"));
        a->setData(wins[i]->tag());
        a->setChecked(wins[i] == active);
        a->setVisible(true);
    }
}

void TfrmMainForm::chooseModel(const QString& key) {
    selectModel(state_, key.toStdString());
    showCheckedModel();
    saveSetting(settings(), state_, "InstrModel");
    RefreshCommandState();
    emit modelChanged(key);
}

void TfrmMainForm::toolbarToggled() {
    state_.toolbars.standard = action("mmConTolStandard")->isChecked();
    state_.toolbars.structInst = action("mmConTolStructInst_AN")->isChecked();
    state_.toolbars.report = action("mmConTolReport")->isChecked();
    toolbar("tbToolBarBasic")->setVisible(state_.toolbars.standard);
    toolbar("tbToolBar_AN")->setVisible(state_.toolbars.structInst);
    toolbar("tbToolBarRep")->setVisible(state_.toolbars.report);
    saveSetting(settings(), state_, "TollBar");
}

// ---------------------------------------------------------------------------------------
// Start

bool TfrmMainForm::start(const std::string& dataDir, const StartupOptions& options) {
    allCommands_ = options.allCommands;
    StartupOutcome outcome = runStartup(*this, dataDir, options);
    if (outcome.terminated) return false;
    // The language dialog is built once at start; without the language file the
    // program cannot speak to the user and ends.
    languageDialog_ = std::make_unique<TfrmLanguage>(settings(), prompts(), this);
    if (!languageDialog_->languageFileFound()) {
        terminate();
        return false;
    }
    return true;
}

int TfrmMainForm::printerCount() {
    return services_.printerCount();
}

void TfrmMainForm::setMainCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void TfrmMainForm::applyBrandProfile() {
    for (const std::string& name : brandHiddenElements()) {
        QString n = QString::fromStdString(name);
        if (QAction* a = action(n)) a->setVisible(false);
        if (QMenu* m = menu(n)) m->menuAction()->setVisible(false);
        if (QToolBar* t = toolbar(n)) t->setVisible(false);
    }
    for (const std::string& name : brandCollapsedToolbars()) {
        if (QToolBar* t = toolbar(QString::fromStdString(name))) t->setMaximumWidth(0);
    }
    action("tbnDownLoad")->setIcon(imageListIcon(kBrandDownloadImage));
}

void TfrmMainForm::offerAllCommands() {
    // The protocol reports and their options belong to forms this program does not have:
    // their entries would do nothing.
    for (const char* name : {"tbnCreateRep", "tbnPreviewRep", "mmFileCreatPROrep",
                             "mmFilePrevPROrep", "mmConfigOptions"})
        if (QAction* a = action(name)) a->setVisible(false);
}

void TfrmMainForm::showCheckedModel() {
    QString key =
        state_.checkedModel.empty() ? kAutoFindKey : QString::fromStdString(state_.checkedModel);
    if (QAction* a = action(key)) a->setChecked(true);
}

void TfrmMainForm::setDocumentFilters(const std::string& filter) {
    documentFilter_ = filter;
}

void TfrmMainForm::resetDocumentCounters() {
    openDocumentCount_ = 0;
    newStructureCounter_ = 0;
    downloadCounter = 0;
    importCounter = 0;
}

void TfrmMainForm::configurePortBuffers() {
    portBuffers_ = PortBufferSettings{};
}

void TfrmMainForm::setInitialDirectories(const std::string& folder) {
    openDirectory_ = folder;
    importDirectory_ = folder;
}

void TfrmMainForm::translateCaptions() {
    for (const Element& e : elements_) {
        if (e.key.empty() || !e.object) continue;
        auto* a = qobject_cast<QAction*>(e.object.data());
        if (!a) continue;
        QString text = toQt(LangText(e.key));
        if (e.hint) {
            a->setToolTip(text);
            a->setStatusTip(text);
            a->setText(text);
        } else {
            a->setText(text);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Exit

bool TfrmMainForm::requestExit() {
    if (exiting_ || terminated_) return terminated_;
    // The program does not end under a running transfer: its new document would vanish
    // unsaved and the tester be left mid-exchange. Cancel ends the transfer first.
    if (services_.portOpen()) {
        prompts().beep();
        return false;
    }
    exiting_ = true;
    bool ended = pelvoro::requestExit(*this, prompts(), settings(), state_);
    exiting_ = false;
    return ended;
}

bool TfrmMainForm::closeActiveDocumentWindow() {
    DocumentSubWindow* w = activeDocumentWindow();
    if (!w) return false;
    w->close();
    return true;
}

void TfrmMainForm::processEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TfrmMainForm::terminate() {
    terminated_ = true;
    emit terminatedSignal();
    close();
}

void TfrmMainForm::closeEvent(QCloseEvent* event) {
    if (terminated_) {
        event->accept();
        return;
    }
    event->ignore();
    requestExit();
}

// ---------------------------------------------------------------------------------------
// Layout, dialogs

bool TfrmMainForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) layoutToolbars();
    return QMainWindow::event(e);
}

void TfrmMainForm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    background_->setGeometry(mdi_->viewport()->rect());
    layoutToolbars();
}

void TfrmMainForm::layoutToolbars() {
    // Standard, Instalation, General and Report follow each other on a row; a toolbar that
    // would end beyond the window's width starts a new row.
    const char* order[] = {"tbToolBarBasic", "tbToolBarInstal", "tbToolBarGen", "tbToolBarRep"};
    int available = width();
    int x = 0;
    bool first = true;
    for (const char* name : order) {
        QToolBar* bar = toolbar(name);
        removeToolBarBreak(bar);
        if (bar->isHidden()) continue;
        int w = std::min(bar->sizeHint().width(), bar->maximumWidth());
        if (!first && x + w > available) {
            insertToolBarBreak(bar);
            x = 0;
        }
        x += w;
        first = false;
    }
}

void TfrmMainForm::showLanguageDialog() {
    if (languageDialog_) languageDialog_->choose();
}

void TfrmMainForm::showOptionsDialog() {
    TfrmOptions dialog(this);
    dialog.exec();
}

void TfrmMainForm::showAbout() {
    AboutBox box(this);
    box.exec();
}

void TfrmMainForm::openHelp(bool index) {
#ifdef Q_OS_WIN
    const bool compiledHelpViewer = true;
#else
    const bool compiledHelpViewer = false;
#endif
    std::string file =
        resolveHelpFile(appEnvironment().helpFile, compiledHelpViewer,
                        [](const std::string& f) { return QFileInfo(pathToQt(f)).isFile(); });
    if (file.empty()) {
        prompts().warning(LangText("msgHelpNotFound_50") + "\n" + appEnvironment().helpFile);
        return;
    }
    QUrl url = QUrl::fromLocalFile(pathToQt(file));
    if (!file.ends_with(".chm")) url.setFragment(index ? "index" : "contents");
    // Without a viewer for the help file the user learns where it is.
    if (!QDesktopServices::openUrl(url))
        prompts().warning(LangText("msgHelpNotOpened_50") + "\n" + file);
}

}  // namespace pelvoro
