#pragma once
// Instrument > Send Structure and the toolbar's send button: the active document's
// structure goes into the tester's memory.

namespace pelvoro {

class TfrmMainForm;

// Attaches the command "SendStructure" to the main window (after the instrument
// commands, whose link it uses).
void installSendStructureCommand(TfrmMainForm& window);

}  // namespace pelvoro
