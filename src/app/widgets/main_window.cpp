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
#include "common/identity.h"
#include "app/widgets/about_box.h"
#include "app/widgets/icon_library.h"
#include "app/widgets/language_dialog.h"
#include "app/widgets/options_dialog.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/widgets/document_view.h"
#include "instrument/models.h"

namespace pelvoro {

DocumentView* DocumentSubWindow::view() const {
    return dynamic_cast<DocumentView*>(widget());
}

void DocumentSubWindow::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && !closed_) {
        closed_ = true;
        emit closed(this);
    }
}

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
// Construction

QMenu* TfrmMainForm::addMenu(QMenu* parentMenu, const QString& name, const char* key,
                             const char* caption) {
    QMenu* m = parentMenu ? parentMenu->addMenu(QString::fromLatin1(caption))
                          : menuBar()->addMenu(QString::fromLatin1(caption));
    m->setObjectName(name);
    m->menuAction()->setObjectName(name + "_menu");
    menus_.insert(name, m);
    elements_.push_back({m->menuAction(), key ? key : "", false});
    return m;
}

QAction* TfrmMainForm::addEntry(QMenu* menu, const QString& name, const char* key,
                                const char* caption, const QString& command, int argument) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(name);
    actions_.insert(name, a);
    elements_.push_back({a, key ? key : "", false});
    if (!command.isEmpty()) bindCommand(a, command, argument);
    return a;
}

QAction* TfrmMainForm::addSeparator(QMenu* menu, const QString& name) {
    QAction* s = menu->addSeparator();
    s->setObjectName(name);
    actions_.insert(name, s);
    return s;
}

QAction* TfrmMainForm::addButton(QToolBar* bar, const QString& name, int tag, const char* hintKey,
                                 const QString& command, int argument) {
    QAction* a = bar->addAction(toolbarIcon(name), name);
    a->setObjectName(name);
    a->setData(tag);
    a->setProperty("tag", tag);
    if (QWidget* w = bar->widgetForAction(a)) w->setObjectName(name + "_button");
    actions_.insert(name, a);
    elements_.push_back({a, hintKey ? hintKey : "", true});
    if (!command.isEmpty()) bindCommand(a, command, argument);
    return a;
}

void TfrmMainForm::bindCommand(QAction* a, const QString& command, int argument) {
    a->setProperty("command", command);
    a->setProperty("argument", argument);
    connect(a, &QAction::triggered, this,
            [this, command, argument] { runCommand(command, argument); });
}

void TfrmMainForm::buildMenus() {
    // File
    QMenu* file = addMenu(nullptr, "mmFile", "mmFile_15", "&File");
    addEntry(file, "mmFileOpen", "mmFileOpen_15", "&Open...", "FileOpen")
        ->setShortcut(QKeySequence::Open);
    addEntry(file, "mmFileClose", "mmFileClose_15", "Close", "FileClose")
        ->setShortcuts(QKeySequence::Close);
    addEntry(file, "mmFileSave", "mmFileSave_15", "Save", "FileSave")
        ->setShortcut(QKeySequence::Save);
    addEntry(file, "mmFileSaveAs", "mmFileSaveAs_15", "Save &As...", "FileSaveAs");
    addSeparator(file, "sepFileHeadSetUp");
    addEntry(file, "mmFileHeadSetUp", "mmFileHeadSetUp_15", "&Header Setup ...", "HeadSetUp");
    addEntry(file, "mmFilePreview", "mmFilePreview_15", "Light report Print Pre&view",
             "LightReportPreview");
    // The protocol reports belong to forms this program does not have: inert.
    addEntry(file, "mmFileCreatPROrep", "mmFilePROCreate_15", "Create PRO report")
        ->setEnabled(false);
    addEntry(file, "mmFilePrevPROrep", "mmFilePROPreview_15", "Preview PRO report")
        ->setEnabled(false);
    addEntry(file, "mmFilePrintStructure", "mmFilePrintStructure_15", "Strucrure Print Previev",
             "PrintStrucrure");
    addSeparator(file, "sepFileDrawGraph");
    addEntry(file, "mmFileDrawGraph", "mmFileDrawGraph_15", "Draw Graph", "DrawGraph");
    addSeparator(file, "sepFileShowTable");
    addEntry(file, "mmFileShowTable", "mmFileShowTable_15", "Show Table", "ShowTable");
    addSeparator(file, "sepFileImport");
    addEntry(file, "mmFileImport", "mmFileImport_15", "&Import...", "Import");
    addSeparator(file, "sepFileExport");
    addEntry(file, "mmFileExport", "mmFileExport_15", "&Export...", "Export");
    addSeparator(file, "sepFileExit");
    QAction* exitEntry = addEntry(file, "mmFileExit", "mmFileExit_15", "&Exit");
    exitEntry->setShortcut(QKeySequence::Quit);
    connect(exitEntry, &QAction::triggered, this, [this] { requestExit(); });
    addSeparator(file, "sepFileRecent");
    for (int i = 1; i <= 4; ++i) {
        QAction* a = addEntry(file, QString("mmFile_%1").arg(i), nullptr, "", "OpenRecent", i);
        a->setVisible(false);
        recentEntries_.push_back(a);
    }
    connect(file, &QMenu::aboutToShow, this, [this] {
        updateMenuEnabling();
        rebuildRecentFileEntries();
    });

    // Edit
    QMenu* edit = addMenu(nullptr, "mmEdit", "mmEdit_15", "&Edit");
    addEntry(edit, "mmEditCopy", "mmEditCopy_15", "&Copy", "EditCopy");
    addEntry(edit, "mmEditSelAll", "mmEditSelAll_15", "&Select All", "EditSelectAll");
    connect(edit, &QMenu::aboutToShow, this, &TfrmMainForm::updateMenuEnabling);

    // Instrument
    QMenu* instr = addMenu(nullptr, "mmInstrument", "mmInstrument_15", "&Instrument");
    addEntry(instr, "mmInstrSendStruct", "mmInstrSendStr_15", "Send Structure", "SendStructure");
    addEntry(instr, "mmInstrDownLoad", "mmInstrDwnLoad_15", "DownLoad", "DownLoadNewINSTR");
    addEntry(instr, "mmInstrInstrData", "mmInstrData_15", "&Instrument data ...", "InstrumentData");
    addSeparator(instr, "sepInstrModel");
    QMenu* models = addMenu(instr, "mmInstrModel", "mmInstrModel_15", "Model");
    modelGroup_ = new QActionGroup(this);
    modelGroup_->setExclusive(true);
    for (const InstrumentModel& m : instrumentModels()) {
        bool autoFind = std::string(m.key) == kAutoFindKey;
        QAction* a = addEntry(models, QString::fromLatin1(m.key),
                              autoFind ? "mmInstrModelAutoFind_15" : nullptr, m.caption);
        a->setCheckable(true);
        modelGroup_->addAction(a);
        QString key = QString::fromLatin1(m.key);
        connect(a, &QAction::triggered, this, [this, key] { chooseModel(key); });
    }
    action(kAutoFindKey)->setChecked(true);
    connect(instr, &QMenu::aboutToShow, this, &TfrmMainForm::updateMenuEnabling);

    // Structure
    QMenu* structure = addMenu(nullptr, "mmStructure", "mmStructure_15", "&Structure");
    addEntry(structure, "mmStructNew", "mmStructNew_15", "New structure", "NewStructure");
    QMenu* add = addMenu(structure, "mmStructAddIitem", "mmStructAddIitem_15", "&Add item");
    struct AddEntry {
        const char* name;
        const char* key;
        int tag;
    };
    const AddEntry first[] = {
        {"mmStrAddObject", "mmStrAddObject_15", 1},
        {"mmStrAddBlock", "mmStrAddBlock_15", 2},
        {"mmStrAddLightRod", "mmStrAddLightRod_15", 3},
        {"mmStrAddMPE", "mmStrAddMPE_15", 4},
        {"mmStrAddFuse", "mmStrAddFuse_15", 5},
        {"mmStrAddRCD", "mmStrAddRCD_15", 6},
        {"mmStrAddConnection", "mmStrAddConnect_15", 14},
        {"mmStrAddElectr", "mmStrAddElectr_15", 7},
        {"mmStrAddConnectEl", "mmStrAddConnectEl_15", 8},
        {"mmStrAddConnectMPE", "mmStrAddConnectMPE_15", 9},
        {"mmStrAddEarthing", "mmStrAddEarthing_15", 10},
        {"mmStrAddFloor", "mmStrAddFloor_15", 11},
        {"mmStrAddRoom", "mmStrAddRoom_15", 12},
        {"mmStrAddTable", "mmStrAddTable_15", 13},
    };
    const AddEntry second[] = {
        {"mmStrAddObject_AN", "mmStrAddObject_15", 30},
        {"mmStrAddDistBoard_AN", "mmStrAddDistBoard_15", 31},
        {"mmStrAddSubDistBoard_AN", "mmStrAddSubDistBoard_15", 32},
        {"mmStrAddCircuit_AN", "mmStrAddCircuit_15", 33},
        {"mmStrAddCont_C_AN", "mmStrAddEarthCond_15", 34},
        {"mmStrAddCont_M_AN", "mmStrAddMainEqBond_15", 35},
        {"mmStrAddCont_W_AN", "mmStrAddWaterServ_15", 36},
        {"mmStrAddCont_O_AN", "mmStrAddOilServ_15", 37},
        {"mmStrAddCont_L_AN", "mmStrAddLightProt_15", 38},
        {"mmStrAddCont_G_AN", "mmStrAddGasServ_15", 39},
        {"mmStrAddCont_S_AN", "mmStrAddStructSteel_15", 40},
        {"mmStrAddCont_I_AN", "mmStrAddOtherServ_15", 41},
        {"mmStrAddCont_E_AN", "mmStrAddEarthElectr_15", 42},
    };
    auto addItemEntry = [&](const AddEntry& e) {
        const ItemTypeInfo* info = itemTypeInfo(e.tag);
        QAction* a =
            addEntry(add, e.name, e.key, info ? info->englishCaption : e.name, "AddItem", e.tag);
        a->setIcon(itemTypeQIcon(e.tag));
        a->setData(e.tag);
        addItemActions_.push_back(a);
    };
    for (const auto& e : first) addItemEntry(e);
    addSeparator(add, "sepStrAdd_AN");
    for (const auto& e : second) addItemEntry(e);
    action("mmStrAddCont_M_AN")->setVisible(false);  // hidden from the start
    QAction* allMain = addEntry(structure, "mmStructAddAllMainPrCond", "mmStructAddAllMainPrCnd_15",
                                "Add all Main Prot.Cond.", "AddAllMainProtCond");
    addItemActions_.push_back(allMain);
    addEntry(structure, "mmStructDelIitem", "mmStructDelIitem_15", "&Delete item", "DeleteItem");
    addEntry(structure, "mmStructRedefAll", "mmStructRedefAll_15", "&Redefine All", "RedefineAll");
    addEntry(structure, "mmStructName", "mmStructName_15", "&Structure Names...", "StructureNames");
    addEntry(structure, "mmStructInstall", "Installation1_20", "Installation ...",
             "InstallationNames");
    connect(structure, &QMenu::aboutToShow, this, &TfrmMainForm::updateMenuEnabling);

    // Config
    QMenu* config = addMenu(nullptr, "mmConfig", "mmConfig_15", "&Config");
    addEntry(config, "mmConfigPort", "mmConfigPort_15", "&COM Port...", "PortSettings");
    QAction* lang = addEntry(config, "mmConfigLanguage", "mmConfigLanguage_15", "&Language...");
    connect(lang, &QAction::triggered, this, &TfrmMainForm::showLanguageDialog);
    addSeparator(config, "sepConfigToolbars");
    QMenu* bars = addMenu(config, "mmConfigToolbars", nullptr, "Toolbars ...");
    const char* barEntries[][2] = {{"mmConTolStandard", "Standard"},
                                   {"mmConTolStructGen", "Structure - General"},
                                   {"mmConTolStructInst", "Structure - Instalation"},
                                   {"mmConTolStructInst_AN", "Structure - Instalation"},
                                   {"mmConTolReport", "Report"}};
    for (const auto& e : barEntries) {
        QAction* a = addEntry(bars, e[0], nullptr, e[1]);
        a->setCheckable(true);
        a->setChecked(true);
    }
    for (const char* name : {"mmConTolStandard", "mmConTolStructInst_AN", "mmConTolReport"})
        connect(action(name), &QAction::toggled, this, &TfrmMainForm::toolbarToggled);
    addEntry(bars, "mmConTolCust", nullptr, "Customize ...")->setEnabled(false);
    QAction* options = addEntry(config, "mmConfigOptions", "mmConfigOptions_15", "Options ...");
    connect(options, &QAction::triggered, this, &TfrmMainForm::showOptionsDialog);

    // Window
    QMenu* window = addMenu(nullptr, "mmWindow", "mmWindow_15", "Window");
    connect(addEntry(window, "mmWinCascade", "mmWinCascade_15", "&Cascade"), &QAction::triggered,
            mdi_, &QMdiArea::cascadeSubWindows);
    connect(addEntry(window, "mmWinVertic", "mmWinVertic_15", "&Tile Vertically"),
            &QAction::triggered, this, [this] {
                // Side by side: equal widths, full height.
                auto wins = documentWindows();
                if (wins.empty()) return;
                QSize area = mdi_->viewport()->size();
                int w = area.width() / int(wins.size());
                for (size_t i = 0; i < wins.size(); ++i) {
                    wins[i]->showNormal();
                    wins[i]->setGeometry(int(i) * w, 0, w, area.height());
                }
            });
    connect(addEntry(window, "mmWinHoriz", "mmWinHoriz_15", "Tile &Horizontally"),
            &QAction::triggered, this, [this] {
                auto wins = documentWindows();
                if (wins.empty()) return;
                QSize area = mdi_->viewport()->size();
                int h = area.height() / int(wins.size());
                for (size_t i = 0; i < wins.size(); ++i) {
                    wins[i]->showNormal();
                    wins[i]->setGeometry(0, int(i) * h, area.width(), h);
                }
            });
    connect(addEntry(window, "mmWinMinimize", "mmWinMinimize_15", "&Minimize All"),
            &QAction::triggered, this, [this] {
                for (auto* w : documentWindows()) w->showMinimized();
            });
    addSeparator(window, "sepWinList");
    for (int i = 1; i <= 13; ++i) {
        QAction* a = addEntry(window, QString("File_%1").arg(i), nullptr, "");
        a->setCheckable(true);
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] {
            int tag = a->data().toInt();
            for (auto* w : documentWindows()) {
                if (w->tag() != tag) continue;
                if (w->isMinimized()) w->showNormal();
                mdi_->setActiveSubWindow(w);
                w->raise();
                w->setFocus();
            }
        });
        windowListEntries_.push_back(a);
    }
    connect(window, &QMenu::aboutToShow, this, [this] {
        updateMenuEnabling();
        rebuildWindowList();
    });

    // Help
    QMenu* help = addMenu(nullptr, "mmHelp", "mmHelp_15", "&Help");
    QAction* contents = addEntry(help, "mmHelpContents", "mmHelpContents_15", "&Contents");
    contents->setShortcut(QKeySequence::HelpContents);
    connect(contents, &QAction::triggered, this, [this] { openHelp(false); });
    connect(addEntry(help, "mmHelpIndex", "mmHelpIndex_15", "&Index"), &QAction::triggered, this,
            [this] { openHelp(true); });
    connect(addEntry(help, "mmHelpAbout", "mmHelpAbout_15", "&About"), &QAction::triggered, this,
            &TfrmMainForm::showAbout);
}

void TfrmMainForm::buildToolbars() {
    auto makeBar = [this](const QString& name, const char* caption) {
        QToolBar* bar = addToolBar(QString::fromLatin1(caption));
        bar->setObjectName(name);
        bar->setIconSize(QSize(24, 24));
        toolbars_.insert(name, bar);
        return bar;
    };
    QToolBar* basic = makeBar("tbToolBarBasic", "Standard");
    addButton(basic, "tbnNew", 200, "NewStructHint_30", "NewStructure");
    addButton(basic, "tbnOpen", 201, "OpenFileHint_30", "FileOpen");
    addButton(basic, "tbnSave", 202, "SaveFileHint_30", "FileSave");
    QAction* exitButton = addButton(basic, "tbnExit", 203, "ExitHint_30", {});
    connect(exitButton, &QAction::triggered, this, [this] { requestExit(); });
    addButton(basic, "tbnDownLoad", 204, "DownLoadHint_30", "DownLoadNewINSTR");
    addButton(basic, "tbnSend", 205, "SendStructHint_30", "SendStructure");
    QAction* settingsButton =
        addButton(basic, "tbnSettings", 207, "ViewSettingsHint_30", "ShowProperties");
    settingsButton->setCheckable(true);
    settingsButton->setVisible(false);
    addButton(basic, "tbnTableGr", 208, "ShowTableHint_30", "ShowTable")->setVisible(false);
    addButton(basic, "tbnGraph", 210, "DrawGraphHint_30", "DrawGraph");
    QAction* move = addButton(basic, "tbnMoveUpDn", 209, "MovelTemHint_30", {});
    move->setCheckable(true);

    struct Button {
        const char* name;
        int tag;
        const char* hint;
    };
    auto addItemButtons = [&](QToolBar* bar, std::initializer_list<Button> buttons,
                              const char* delName, const char* delHint) {
        for (const auto& b : buttons) {
            QAction* a = addButton(bar, b.name, b.tag, b.hint, "AddItem", b.tag);
            a->setIcon(itemTypeQIcon(b.tag));
            addItemActions_.push_back(a);
        }
        addButton(bar, delName, 0, delHint, "DeleteItem");
    };
    addItemButtons(makeBar("tbToolBarInstal", "Instalation"),
                   {{"tbnObjectInst", 1, "AddObjectHint_30"},
                    {"tbnBlock", 2, "AddBlockHint_30"},
                    {"tbnLightnRod", 3, "AddLightRodHint_30"},
                    {"tbnMPE", 4, "AddMPEHint_30"},
                    {"tbnFuse", 5, "AddFuseHint_30"},
                    {"tbnRCD", 6, "AddRCDHint_30"},
                    {"tbnConnection", 14, "AddConnHint_30"},
                    {"tbnElectrode", 7, "AddElectrHint_30"},
                    {"tbnConnectionEl", 8, "AddConnElHint_30"},
                    {"tbnConnectionMPE", 9, "AddConnMPEHint_30"},
                    {"tbnEarthing", 10, "AddEartHint_30"}},
                   "tbnDeleteInst", "DelItemHint_30");
    addItemButtons(makeBar("tbToolBarGen", "General"),
                   {{"tbnObjectGen", 1, "AddObjectHint_30"},
                    {"tbnFloor", 11, "AddFloorHint_30"},
                    {"tbnRoom", 12, "AddRoomHint_30"},
                    {"tbnTable", 13, "AddTableHint_30"}},
                   "tbnDeleteGen", "DelItemHint_30");
    addItemButtons(makeBar("tbToolBar_AN", "Instalation"),
                   {{"tbnObject_AN", 30, "AddObject_ANHint_30"},
                    {"tbnDistBoard_AN", 31, "AddDistBoard_ANHint_30"},
                    {"tbnSubDistBoard_AN", 32, "AddSubDistBoard_ANHint_30"},
                    {"tbnCirciut_AN", 33, "AddCirc_ANHint_30"},
                    {"tbnCont_C_AN", 34, "AddCont_C_ANHint_30"},
                    {"tbnCont_M_AN", 35, "AddCont_M_ANHint_30"},
                    {"tbnCont_W_AN", 36, "AddCont_W_ANHint_30"},
                    {"tbnCont_O_AN", 37, "AddCont_O_ANHint_30"},
                    {"tbnCont_L_AN", 38, "AddCont_L_ANHint_30"},
                    {"tbnCont_G_AN", 39, "AddCont_G_ANHint_30"},
                    {"tbnCont_S_AN", 40, "AddCont_S_ANHint_30"},
                    {"tbnCont_I_AN", 41, "AddCont_I_ANHint_30"},
                    {"tbnCont_E_AN", 42, "AddCont_E_ANHint_30"}},
                   "tbnDelete_AN", "DelItem_ANHint_30");
    QToolBar* rep = makeBar("tbToolBarRep", "Report");
    addButton(rep, "tbnCreateRep", 220, "CreateReportHint_30", {})->setEnabled(false);
    addButton(rep, "tbnPreviewRep", 221, "PreviewReportHint_30", {})->setEnabled(false);
    addButton(rep, "tbnViewLightRep", 222, "RepPrintPrevHint_30", "LightReportPreview");
    addButton(rep, "tbnViewStructure", 223, "StrPrintPrevHint_30", "PrintStrucrure");
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
            ctx.selectedHasSeries = item->data.Graph.hasSamples();
            ctx.seriesKind = item->data.Graph.kind;
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
