#include "app/widgets/extensions.h"

#include "app/widgets/main_window.h"
#include "document/widgets/child_form.h"
#include "document/widgets/document_commands.h"
#include "files/widgets/file_commands_qt.h"
#include "instrument/widgets/instrument_commands.h"
#include "reports/widgets/output_commands.h"
#include "reports/widgets/report_commands.h"
#include "results/widgets/result_table.h"
#include "transfer/widgets/download_commands.h"
#include "transfer/widgets/send_structure_command.h"

namespace pelvoro {

void installExtensions(TfrmMainForm& window) {
    // Each subsystem adds one call here: installFileCommands(window); ...
    installInstrumentCommands(window);
    installDocumentCommands(window);
    installFileCommands(window);
    installResultTable(window);
    installDownloadCommands(window);
    installReportCommands(window);
    installOutputCommands(window);
    installSendStructureCommand(window);
}

}  // namespace pelvoro
