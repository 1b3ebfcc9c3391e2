// The structure commands of the main window: opening a document window and connecting it
// to the main window, New structure, adding and deleting items, Redefine All, the names
// dialogs and Show properties.

#include "document/widgets/document_commands.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>
#include <QSplitter>
#include <QTreeView>
#include <cmath>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/identity.h"
#include "common/ini_file.h"
#include "common/lang_text.h"
#include "document/item_names.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/widgets/child_form.h"
#include "document/widgets/document_sub_window.h"
#include "document/widgets/installation_names_dialog.h"
#include "document/widgets/structure_names_dialog.h"
#include "instrument/widgets/instrument_commands.h"

namespace pelvoro {

namespace {

TfrmChildForm* activeForm(TfrmMainForm& w) {
    return childFormOf(w.activeDocumentView());
}

// What a document window tells the main window, and when it is active.
void connectToMainWindow(TfrmChildForm& form, TfrmMainForm& main) {
    TfrmMainForm* w = &main;
    QObject::connect(main.mdiArea(), &QMdiArea::subWindowActivated, &form,
                     [f = &form](QMdiSubWindow* active) {
                         if (active && active->widget() == f) f->activate();
                     });
    QObject::connect(&form, &TfrmChildForm::commandStateChanged, w,
                     &TfrmMainForm::RefreshCommandState);
    QObject::connect(
        &form, &TfrmChildForm::addItemCommandsChanged, w,
        [w](const QList<int>& allowed, bool allMainProtCond) {
            w->DisableAddItemCommands();
            for (int type : allowed) w->enableAddItemCommand(type);
            if (QAction* all = w->action("mmStructAddAllMainPrCond"))
                all->setEnabled(allMainProtCond && w->hasCommandHandler("AddAllMainProtCond"));
        });
    QObject::connect(&form, &TfrmChildForm::copyRequested, w, [w] {
        if (w->hasCommandHandler("EditCopy")) w->runCommand("EditCopy");
    });
    QObject::connect(&form, &TfrmChildForm::selectAllRequested, w, [w] {
        if (w->hasCommandHandler("EditSelectAll")) w->runCommand("EditSelectAll");
    });
    // The instrument data window shows the active document's instrument.
    QObject::connect(&form, &TfrmChildForm::activated, w, [w, f = &form] {
        showDocumentInstrumentData(*w, f->document().InstrumentData);
    });
    // The add-item commands follow the next active window's selection (none when this was
    // the last window).
    QObject::connect(&form, &TfrmChildForm::closing, w, [w] {
        w->DisableAddItemCommands();
        if (w->openDocumentCount() <= 1) clearInstrumentDataWindow(*w);
    });
}

}  // namespace

TfrmChildForm* openDocumentWindow(TfrmMainForm& mainWindow,
                                  std::unique_ptr<StructureDocument> document,
                                  const std::string& fileName, const std::string& prefix) {
    TfrmMainForm* main = &mainWindow;
    DocumentWindowContext context;
    context.settings = &mainWindow.settings();
    context.prompts = &mainWindow.prompts();
    context.moveMode = [main] { return main->moveMode(); };
    auto* form = new TfrmChildForm(std::move(context), std::move(document));
    connectToMainWindow(*form, mainWindow);
    DocumentSubWindow* win = mainWindow.createDocumentWindow(form, fileName, prefix);
    // The document's file name field: the name without its folder.
    if (form->document().Caption.empty()) form->document().Caption = fromQt(win->windowTitle());
    // The inner panel halves between the tree and the result area.
    int inner = win->width() - 8;
    form->findChild<QSplitter*>("splitter")
        ->setSizes({int(std::lround(inner / 2.0)), inner - int(std::lround(inner / 2.0))});
    form->LoadParameterLists(appEnvironment().dataPath("StructureNames.ini"));
    form->reloadTree();
    form->setCurrentItem(&form->document().root());
    win->show();
    form->tree()->setFocus();
    mainWindow.RefreshCommandState();
    return form;
}

void showLoadedDocument(TfrmMainForm& w, TfrmChildForm& form) {
    form.reloadTree();
    form.setCurrentItem(&form.document().root());
    if (QAction* toggle = w.action("tbnSettings")) toggle->setChecked(true);
    form.showProperties();
    if (DocumentSubWindow* win = form.subWindow()) {
        win->show();
        w.mdiArea()->setActiveSubWindow(win);
    }
}

TfrmChildForm* newStructure(TfrmMainForm& w) {
    int n = w.nextNewStructureNumber();
    std::string title = LangText("NewStructure_25") + std::to_string(n);
    auto doc = std::make_unique<StructureDocument>();
    doc->Caption = title;
    doc->FilePath = title;
    doc->HasFile = false;
    doc->Modified = false;
    TfrmChildForm* form = openDocumentWindow(w, std::move(doc), title);
    // A new structure opens with its settings panel instead of the result table.
    if (QAction* settings = w.action("tbnSettings")) settings->setChecked(true);
    form->showProperties();
    w.RefreshCommandState();
    return form;
}

void installDocumentCommands(TfrmMainForm& w) {
    // The names of this run: the shipped ones, then the user's own.
    std::string namesFile = appEnvironment().dataPath("StructureNames.ini");
    structureNames().loadOriginals(IniFile::load(namesFile));
    structureNames().loadFromStore(w.settings());

    auto* structNames = new TfrmStructNames(structureNames(), &w.settings(), namesFile, &w);
    auto* installation = new TfrmInstallation(w.settings(), &w);
    TfrmMainForm* win = &w;

    w.setCommandHandler("NewStructure", [win](int) { newStructure(*win); });
    w.setCommandHandler("AddItem", [win](int tag) {
        if (TfrmChildForm* f = activeForm(*win)) f->AddItem(tag);
    });
    w.setCommandHandler("AddAllMainProtCond", [win](int) {
        if (TfrmChildForm* f = activeForm(*win)) f->AddAllMainProtCond();
    });
    w.setCommandHandler("DeleteItem", [win](int) {
        if (TfrmChildForm* f = activeForm(*win)) f->DeleteItem();
    });
    w.setCommandHandler("RedefineAll", [win](int) {
        if (TfrmChildForm* f = activeForm(*win)) f->RedefineAll();
    });
    w.setCommandHandler("ShowProperties", [win](int) {
        if (TfrmChildForm* f = activeForm(*win))
            f->showProperties();
        else
            win->RefreshCommandState();
    });
    w.setCommandHandler("StructureNames", [structNames](int) { structNames->exec(); });
    w.setCommandHandler("InstallationNames", [installation](int) { installation->exec(); });
    w.RefreshCommandState();
}

}  // namespace pelvoro
