#pragma once
// The instrument link of the desktop program: the serial port, the progress window, the
// link and the instrument data record of the main window, the port dialog and the
// Instrument data dialog, and the commands that open them.

#include <string>
#include <vector>

namespace pelvoro {

class TfrmMainForm;
class TfrmCOM_Port;
class TfrmInstrData;
struct InstrumentContext;
struct TInstrumentData;

// Creates the port (with the stored port settings applied), the link and both dialogs,
// and attaches "PortSettings" and "InstrumentData" to the main window. `arguments` are
// the program's command-line arguments (the service switches of the Instrument data
// dialog are read from them).
void installInstrumentCommands(TfrmMainForm& window, const std::vector<std::string>& arguments);
// The same, with the arguments of the running application.
void installInstrumentCommands(TfrmMainForm& window);

// The instrument context of the main window: the link every instrument command uses and
// the record of the tester last read (downloads copy `data` into their document). Null
// before installInstrumentCommands.
InstrumentContext* instrumentContext(TfrmMainForm& window);
TfrmCOM_Port* portDialog(TfrmMainForm& window);
TfrmInstrData* instrumentDataDialog(TfrmMainForm& window);

// While one lives, an instrument command runs a transfer: the main window counts the
// port as open, so the download and send buttons stay disabled throughout (also while the
// port is closed between identification and the command's own connection), and
// transferRunning() tells other commands not to start a second one.
class InstrumentTransfer {
  public:
    explicit InstrumentTransfer(TfrmMainForm& window);
    ~InstrumentTransfer();
    InstrumentTransfer(const InstrumentTransfer&) = delete;
    InstrumentTransfer& operator=(const InstrumentTransfer&) = delete;

  private:
    TfrmMainForm& window_;
};
bool transferRunning(TfrmMainForm& window);

// A document window became active: the Instrument data dialog shows its instrument data.
void showDocumentInstrumentData(TfrmMainForm& window, const TInstrumentData& data);
// The last document window closed: the dialog's fields are emptied.
void clearInstrumentDataWindow(TfrmMainForm& window);

}  // namespace pelvoro
