// The structure commands of the main window: New structure, adding and deleting items,
// Redefine All, the names dialogs and Show properties.

#include <QAction>
#include <QPointer>

#include "common/identity.h"
#include "app/widgets/main_window.h"
#include "common/ini_file.h"
#include "common/lang_text.h"
#include "document/item_names.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/widgets/child_form.h"
#include "document/widgets/installation_names_dialog.h"
#include "document/widgets/structure_names_dialog.h"

namespace pelvoro {

namespace {

TfrmChildForm* activeForm(TfrmMainForm& w) {
    return childFormOf(w.activeDocumentView());
}

}  // namespace

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
