#pragma once
// Instrument ▸ DownLoad: the command that runs the download branch of the selected
// model's download style (a column of its row) inside the download frame.

#include "transfer/download.h"

namespace pelvoro {

// ---- The branches --------------------------------------------------------------------------

// Family A, structure and results.
DownloadOutcome downloadStructureAndResults(DownloadSession& session);
// Family A, results with the structure rebuilt from their positions.
DownloadOutcome downloadResultsOnly(DownloadSession& session);
// Family B: installation testers and high-voltage testers.
DownloadOutcome downloadFamilyB(DownloadSession& session);
// Family C: the machine tester.
DownloadOutcome downloadFamilyC(DownloadSession& session);

// ---- The command ---------------------------------------------------------------------------

// Instrument > DownLoad: the whole command, finish included. After it the port is
// closed; host-side the new document (if any) is shown.
struct DownloadResult {
    DownloadOutcome outcome;
    std::string key;                        // the key it dispatched on
    StructureDocument* document = nullptr;  // the loaded download document, or null
};
DownloadResult DownLoadNewINSTR(InstrumentContext& context, DownloadHost& host);

}  // namespace pelvoro
