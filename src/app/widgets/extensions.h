#pragma once
// The subsystems' commands are attached to the main window here, once, at start.

namespace pelvoro {

class TfrmMainForm;

// Connects every subsystem's commands to the main window's entries and buttons, and
// opens the document named on the command line (if any) once the window is up.
void installExtensions(TfrmMainForm& window);

}  // namespace pelvoro
