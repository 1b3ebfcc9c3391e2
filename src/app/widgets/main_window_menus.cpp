// The main window's menus and toolbars: what each entry and button is called, which
// language key names it and which command it runs, one row each.

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/widgets/icon_library.h"
#include "app/widgets/main_window.h"
#include "document/item_types.h"
#include "instrument/models.h"

namespace pelvoro {

namespace {

// A plain menu entry: object name, language key, English caption, command (none: the
// entry is connected by hand below). A row without a key and caption is a separator.
struct MenuRow {
    const char* name;
    const char* key;
    const char* caption;
    const char* command;
};

const MenuRow kFileMenu[] = {
    {"mmFileOpen", "mmFileOpen_15", "&Open...", "FileOpen"},
    {"mmFileClose", "mmFileClose_15", "Close", "FileClose"},
    {"mmFileSave", "mmFileSave_15", "Save", "FileSave"},
    {"mmFileSaveAs", "mmFileSaveAs_15", "Save &As...", "FileSaveAs"},
    {"sepFileHeadSetUp", nullptr, nullptr, nullptr},
    {"mmFileHeadSetUp", "mmFileHeadSetUp_15", "&Header Setup ...", "HeadSetUp"},
    {"mmFilePreview", "mmFilePreview_15", "Light report Print Pre&view", "LightReportPreview"},
    // The protocol reports belong to forms this program does not have: inert.
    {"mmFileCreatPROrep", "mmFilePROCreate_15", "Create PRO report", nullptr},
    {"mmFilePrevPROrep", "mmFilePROPreview_15", "Preview PRO report", nullptr},
    {"mmFilePrintStructure", "mmFilePrintStructure_15", "Strucrure Print Previev",
     "PrintStrucrure"},
    {"sepFileDrawGraph", nullptr, nullptr, nullptr},
    {"mmFileDrawGraph", "mmFileDrawGraph_15", "Draw Graph", "DrawGraph"},
    {"sepFileShowTable", nullptr, nullptr, nullptr},
    {"mmFileShowTable", "mmFileShowTable_15", "Show Table", "ShowTable"},
    {"sepFileImport", nullptr, nullptr, nullptr},
    {"mmFileImport", "mmFileImport_15", "&Import...", "Import"},
    {"sepFileExport", nullptr, nullptr, nullptr},
    {"mmFileExport", "mmFileExport_15", "&Export...", "Export"},
    {"sepFileExit", nullptr, nullptr, nullptr},
    {"mmFileExit", "mmFileExit_15", "&Exit", nullptr},
    {"sepFileRecent", nullptr, nullptr, nullptr},
};
const MenuRow kEditMenu[] = {
    {"mmEditCopy", "mmEditCopy_15", "&Copy", "EditCopy"},
    {"mmEditSelAll", "mmEditSelAll_15", "&Select All", "EditSelectAll"},
};
const MenuRow kInstrumentMenu[] = {
    {"mmInstrSendStruct", "mmInstrSendStr_15", "Send Structure", "SendStructure"},
    {"mmInstrDownLoad", "mmInstrDwnLoad_15", "DownLoad", "DownLoadNewINSTR"},
    {"mmInstrInstrData", "mmInstrData_15", "&Instrument data ...", "InstrumentData"},
    {"sepInstrModel", nullptr, nullptr, nullptr},
};
const MenuRow kStructureMenu[] = {
    {"mmStructNew", "mmStructNew_15", "New structure", "NewStructure"},
};
const MenuRow kStructureMenuAfterAdd[] = {
    {"mmStructAddAllMainPrCond", "mmStructAddAllMainPrCnd_15", "Add all Main Prot.Cond.",
     "AddAllMainProtCond"},
    {"mmStructDelIitem", "mmStructDelIitem_15", "&Delete item", "DeleteItem"},
    {"mmStructRedefAll", "mmStructRedefAll_15", "&Redefine All", "RedefineAll"},
    {"mmStructName", "mmStructName_15", "&Structure Names...", "StructureNames"},
    {"mmStructInstall", "Installation1_20", "Installation ...", "InstallationNames"},
};
const MenuRow kConfigMenu[] = {
    {"mmConfigPort", "mmConfigPort_15", "&COM Port...", "PortSettings"},
    {"mmConfigLanguage", "mmConfigLanguage_15", "&Language...", nullptr},
    {"sepConfigToolbars", nullptr, nullptr, nullptr},
};
const MenuRow kToolbarsMenu[] = {
    {"mmConTolStandard", "", "Standard", nullptr},
    {"mmConTolStructGen", "", "Structure - General", nullptr},
    {"mmConTolStructInst", "", "Structure - Instalation", nullptr},
    {"mmConTolStructInst_AN", "", "Structure - Instalation", nullptr},
    {"mmConTolReport", "", "Report", nullptr},
};
const MenuRow kWindowMenu[] = {
    {"mmWinCascade", "mmWinCascade_15", "&Cascade", nullptr},
    {"mmWinVertic", "mmWinVertic_15", "&Tile Vertically", nullptr},
    {"mmWinHoriz", "mmWinHoriz_15", "Tile &Horizontally", nullptr},
    {"mmWinMinimize", "mmWinMinimize_15", "&Minimize All", nullptr},
    {"sepWinList", nullptr, nullptr, nullptr},
};
const MenuRow kHelpMenu[] = {
    {"mmHelpContents", "mmHelpContents_15", "&Contents", nullptr},
    {"mmHelpIndex", "mmHelpIndex_15", "&Index", nullptr},
    {"mmHelpAbout", "mmHelpAbout_15", "&About", nullptr},
};

// The add-item entries of Structure > Add item and the toolbar buttons, by item type (the
// type is the command's argument and the button's tag).
struct AddRow {
    const char* name;
    const char* key;
    int type;
};
const AddRow kAddMenuFirst[] = {
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
const AddRow kAddMenuSecond[] = {
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
const AddRow kInstallationButtons[] = {
    {"tbnObjectInst", "AddObjectHint_30", 1},   {"tbnBlock", "AddBlockHint_30", 2},
    {"tbnLightnRod", "AddLightRodHint_30", 3},  {"tbnMPE", "AddMPEHint_30", 4},
    {"tbnFuse", "AddFuseHint_30", 5},           {"tbnRCD", "AddRCDHint_30", 6},
    {"tbnConnection", "AddConnHint_30", 14},    {"tbnElectrode", "AddElectrHint_30", 7},
    {"tbnConnectionEl", "AddConnElHint_30", 8}, {"tbnConnectionMPE", "AddConnMPEHint_30", 9},
    {"tbnEarthing", "AddEartHint_30", 10},
};
const AddRow kGeneralButtons[] = {
    {"tbnObjectGen", "AddObjectHint_30", 1},
    {"tbnFloor", "AddFloorHint_30", 11},
    {"tbnRoom", "AddRoomHint_30", 12},
    {"tbnTable", "AddTableHint_30", 13},
};
const AddRow kInstallationButtonsAN[] = {
    {"tbnObject_AN", "AddObject_ANHint_30", 30},
    {"tbnDistBoard_AN", "AddDistBoard_ANHint_30", 31},
    {"tbnSubDistBoard_AN", "AddSubDistBoard_ANHint_30", 32},
    {"tbnCirciut_AN", "AddCirc_ANHint_30", 33},
    {"tbnCont_C_AN", "AddCont_C_ANHint_30", 34},
    {"tbnCont_M_AN", "AddCont_M_ANHint_30", 35},
    {"tbnCont_W_AN", "AddCont_W_ANHint_30", 36},
    {"tbnCont_O_AN", "AddCont_O_ANHint_30", 37},
    {"tbnCont_L_AN", "AddCont_L_ANHint_30", 38},
    {"tbnCont_G_AN", "AddCont_G_ANHint_30", 39},
    {"tbnCont_S_AN", "AddCont_S_ANHint_30", 40},
    {"tbnCont_I_AN", "AddCont_I_ANHint_30", 41},
    {"tbnCont_E_AN", "AddCont_E_ANHint_30", 42},
};

// A toolbar button: object name, tag, hint key, command (none: connected by hand).
struct ButtonRow {
    const char* name;
    int tag;
    const char* hint;
    const char* command;
};
const ButtonRow kStandardButtons[] = {
    {"tbnNew", 200, "NewStructHint_30", "NewStructure"},
    {"tbnOpen", 201, "OpenFileHint_30", "FileOpen"},
    {"tbnSave", 202, "SaveFileHint_30", "FileSave"},
    {"tbnExit", 203, "ExitHint_30", nullptr},
    {"tbnDownLoad", 204, "DownLoadHint_30", "DownLoadNewINSTR"},
    {"tbnSend", 205, "SendStructHint_30", "SendStructure"},
    {"tbnSettings", 207, "ViewSettingsHint_30", "ShowProperties"},
    {"tbnTableGr", 208, "ShowTableHint_30", "ShowTable"},
    {"tbnGraph", 210, "DrawGraphHint_30", "DrawGraph"},
    {"tbnMoveUpDn", 209, "MovelTemHint_30", nullptr},
};
const ButtonRow kReportButtons[] = {
    {"tbnCreateRep", 220, "CreateReportHint_30", nullptr},
    {"tbnPreviewRep", 221, "PreviewReportHint_30", nullptr},
    {"tbnViewLightRep", 222, "RepPrintPrevHint_30", "LightReportPreview"},
    {"tbnViewStructure", 223, "StrPrintPrevHint_30", "PrintStrucrure"},
};

}  // namespace

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
    auto addRows = [this](QMenu* menu, const auto& rows) {
        for (const MenuRow& r : rows) {
            if (!r.caption)
                addSeparator(menu, r.name);
            else
                addEntry(menu, r.name, r.key, r.caption,
                         r.command ? QString(r.command) : QString());
        }
    };
    QMenu* file = addMenu(nullptr, "mmFile", "mmFile_15", "&File");
    addRows(file, kFileMenu);
    action("mmFileOpen")->setShortcut(QKeySequence::Open);
    action("mmFileClose")->setShortcuts(QKeySequence::Close);
    action("mmFileSave")->setShortcut(QKeySequence::Save);
    action("mmFileCreatPROrep")->setEnabled(false);
    action("mmFilePrevPROrep")->setEnabled(false);
    action("mmFileExit")->setShortcut(QKeySequence::Quit);
    connect(action("mmFileExit"), &QAction::triggered, this, [this] { requestExit(); });
    for (int i = 1; i <= 4; ++i) {
        QAction* a = addEntry(file, QString("mmFile_%1").arg(i), nullptr, "", "OpenRecent", i);
        a->setVisible(false);
        recentEntries_.push_back(a);
    }
    connect(file, &QMenu::aboutToShow, this, [this] {
        updateMenuEnabling();
        rebuildRecentFileEntries();
    });

    QMenu* edit = addMenu(nullptr, "mmEdit", "mmEdit_15", "&Edit");
    addRows(edit, kEditMenu);
    connect(edit, &QMenu::aboutToShow, this, &TfrmMainForm::updateMenuEnabling);

    QMenu* instr = addMenu(nullptr, "mmInstrument", "mmInstrument_15", "&Instrument");
    addRows(instr, kInstrumentMenu);
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

    QMenu* structure = addMenu(nullptr, "mmStructure", "mmStructure_15", "&Structure");
    addRows(structure, kStructureMenu);
    QMenu* add = addMenu(structure, "mmStructAddIitem", "mmStructAddIitem_15", "&Add item");
    auto addItemEntry = [&](const AddRow& e) {
        const ItemTypeInfo* info = itemTypeInfo(e.type);
        QAction* a =
            addEntry(add, e.name, e.key, info ? info->englishCaption : e.name, "AddItem", e.type);
        a->setIcon(itemTypeQIcon(e.type));
        a->setData(e.type);
        addItemActions_.push_back(a);
    };
    for (const AddRow& e : kAddMenuFirst) addItemEntry(e);
    addSeparator(add, "sepStrAdd_AN");
    for (const AddRow& e : kAddMenuSecond) addItemEntry(e);
    action("mmStrAddCont_M_AN")->setVisible(false);  // hidden from the start
    addRows(structure, kStructureMenuAfterAdd);
    addItemActions_.push_back(action("mmStructAddAllMainPrCond"));
    connect(structure, &QMenu::aboutToShow, this, &TfrmMainForm::updateMenuEnabling);

    QMenu* config = addMenu(nullptr, "mmConfig", "mmConfig_15", "&Config");
    addRows(config, kConfigMenu);
    connect(action("mmConfigLanguage"), &QAction::triggered, this,
            &TfrmMainForm::showLanguageDialog);
    QMenu* bars = addMenu(config, "mmConfigToolbars", nullptr, "Toolbars ...");
    addRows(bars, kToolbarsMenu);
    for (const MenuRow& r : kToolbarsMenu) {
        action(r.name)->setCheckable(true);
        action(r.name)->setChecked(true);
    }
    for (const char* name : {"mmConTolStandard", "mmConTolStructInst_AN", "mmConTolReport"})
        connect(action(name), &QAction::toggled, this, &TfrmMainForm::toolbarToggled);
    addEntry(bars, "mmConTolCust", nullptr, "Customize ...")->setEnabled(false);
    QAction* options = addEntry(config, "mmConfigOptions", "mmConfigOptions_15", "Options ...");
    connect(options, &QAction::triggered, this, &TfrmMainForm::showOptionsDialog);

    QMenu* window = addMenu(nullptr, "mmWindow", "mmWindow_15", "Window");
    addRows(window, kWindowMenu);
    connect(action("mmWinCascade"), &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    // Tile vertically: side by side, equal widths, full height; horizontally: one above the
    // other.
    auto tile = [this](bool sideBySide) {
        auto wins = documentWindows();
        if (wins.empty()) return;
        const QSize area = mdi_->viewport()->size();
        const int n = int(wins.size());
        for (int i = 0; i < n; ++i) {
            wins[i]->showNormal();
            if (sideBySide)
                wins[i]->setGeometry(i * (area.width() / n), 0, area.width() / n, area.height());
            else
                wins[i]->setGeometry(0, i * (area.height() / n), area.width(), area.height() / n);
        }
    };
    connect(action("mmWinVertic"), &QAction::triggered, this, [tile] { tile(true); });
    connect(action("mmWinHoriz"), &QAction::triggered, this, [tile] { tile(false); });
    connect(action("mmWinMinimize"), &QAction::triggered, this, [this] {
        for (auto* w : documentWindows()) w->showMinimized();
    });
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

    QMenu* help = addMenu(nullptr, "mmHelp", "mmHelp_15", "&Help");
    addRows(help, kHelpMenu);
    action("mmHelpContents")->setShortcut(QKeySequence::HelpContents);
    connect(action("mmHelpContents"), &QAction::triggered, this, [this] { openHelp(false); });
    connect(action("mmHelpIndex"), &QAction::triggered, this, [this] { openHelp(true); });
    connect(action("mmHelpAbout"), &QAction::triggered, this, &TfrmMainForm::showAbout);
}

void TfrmMainForm::buildToolbars() {
    auto addButtons = [this](QToolBar* bar, const auto& rows) {
        for (const ButtonRow& r : rows)
            addButton(bar, r.name, r.tag, r.hint, r.command ? QString(r.command) : QString());
    };
    auto makeBar = [this](const QString& name, const char* caption) {
        QToolBar* bar = addToolBar(QString::fromLatin1(caption));
        bar->setObjectName(name);
        bar->setIconSize(QSize(24, 24));
        toolbars_.insert(name, bar);
        return bar;
    };
    QToolBar* basic = makeBar("tbToolBarBasic", "Standard");
    addButtons(basic, kStandardButtons);
    connect(action("tbnExit"), &QAction::triggered, this, [this] { requestExit(); });
    action("tbnSettings")->setCheckable(true);
    action("tbnSettings")->setVisible(false);
    action("tbnTableGr")->setVisible(false);
    action("tbnMoveUpDn")->setCheckable(true);

    auto addItemButtons = [&](QToolBar* bar, const auto& rows, const char* delName,
                              const char* delHint) {
        for (const AddRow& b : rows) {
            QAction* a = addButton(bar, b.name, b.type, b.key, "AddItem", b.type);
            a->setIcon(itemTypeQIcon(b.type));
            addItemActions_.push_back(a);
        }
        addButton(bar, delName, 0, delHint, "DeleteItem");
    };
    addItemButtons(makeBar("tbToolBarInstal", "Instalation"), kInstallationButtons, "tbnDeleteInst",
                   "DelItemHint_30");
    addItemButtons(makeBar("tbToolBarGen", "General"), kGeneralButtons, "tbnDeleteGen",
                   "DelItemHint_30");
    addItemButtons(makeBar("tbToolBar_AN", "Instalation"), kInstallationButtonsAN, "tbnDelete_AN",
                   "DelItem_ANHint_30");
    QToolBar* rep = makeBar("tbToolBarRep", "Report");
    addButtons(rep, kReportButtons);
    action("tbnCreateRep")->setEnabled(false);
    action("tbnPreviewRep")->setEnabled(false);
}

}  // namespace pelvoro
