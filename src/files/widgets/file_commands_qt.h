#pragma once
// The file commands in the desktop program: Open, Close, Save, Save As, the recent files
// and Import on the main window's entries, the save question of closing document windows,
// and the document named on the command line.

#include <memory>
#include <string>

namespace pelvoro {

class FileCommands;
class ResultsHook;
class TfrmMainForm;

// Attaches the file commands to the main window (once, at start). Also chooses the folder
// of the temporary transfer files and, once the event loop runs, opens the document that
// the window's "startDocument" property names.
void installFileCommands(TfrmMainForm& mainWindow);

// The file commands of a main window (null before installFileCommands).
FileCommands* fileCommandsOf(TfrmMainForm& mainWindow);

// The reader of coded results for the documents of the window (opened, imported and
// downloaded ones): lines measured with the screen's fonts.
std::shared_ptr<ResultsHook> screenResultsHook();

// How long the wait window stays before the command-line document is opened (3000 ms;
// tests shorten it).
void setStartDocumentWait(int milliseconds);

}  // namespace pelvoro
