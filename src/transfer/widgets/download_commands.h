#pragma once
// Instrument > DownLoad (and its toolbar button) in the desktop program.

namespace pelvoro {

class TfrmMainForm;

// Attaches the Download command to the main window (once, at start).
void installDownloadCommands(TfrmMainForm& mainWindow);

}  // namespace pelvoro
