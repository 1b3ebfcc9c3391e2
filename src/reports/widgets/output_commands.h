#pragma once
// File ▸ Export, Show Table and Draw Graph of the main window.

namespace pelvoro {

class TfrmMainForm;

void installOutputCommands(TfrmMainForm& window);

}  // namespace pelvoro
