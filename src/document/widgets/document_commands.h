#pragma once
// The structure commands of the main window and the routine that opens a document window
// in it and connects the two.

#include <memory>
#include <string>

namespace pelvoro {

class StructureDocument;
class TfrmChildForm;
class TfrmMainForm;

// Creates a document window for `document` in the main window's area (caption from the
// file name and optional prefix, placement, counters), loads the parameter choice lists
// and the view state, selects the root and shows the window.
TfrmChildForm* openDocumentWindow(TfrmMainForm& mainWindow,
                                  std::unique_ptr<StructureDocument> document,
                                  const std::string& fileName, const std::string& prefix = {});

// After a reader or a download filled the window's document behind its back: the tree
// anew with the root selected, the settings shown, the window brought to the front.
void showLoadedDocument(TfrmMainForm& mainWindow, TfrmChildForm& form);

// New structure: a document with only the root, titled "New structure" and the next
// number, shown with its settings panel.
TfrmChildForm* newStructure(TfrmMainForm& mainWindow);

// Attaches the structure commands (New structure, add, delete, Redefine All, names
// dialogs, Show properties) to the main window.
void installDocumentCommands(TfrmMainForm& mainWindow);

}  // namespace pelvoro
