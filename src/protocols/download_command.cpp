#include "protocols/download_command.h"

#include "instrument/models.h"
#include "protocols/identification.h"
#include "protocols/link_rules_by_family.h"

namespace pelvoro {

namespace {

// The branch the model's row names; no branch for Auto Find, an empty key and unknown keys.
DownloadOutcome runBranch(DownloadSession& session) {
    const InstrumentModel* m = modelByKey(session.key());
    switch (m ? m->download : DownloadStyle::None) {
        case DownloadStyle::StructureAndResults:
            return downloadStructureAndResults(session);
        case DownloadStyle::ResultsOnly:
            return downloadResultsOnly(session);
        case DownloadStyle::Records:
            return downloadFamilyB(session);
        case DownloadStyle::MachineRecords:
            return downloadFamilyC(session);
        case DownloadStyle::None:
            break;
    }
    return {};
}

}  // namespace

DownloadResult DownLoadNewINSTR(InstrumentContext& context, DownloadHost& host) {
    DownloadResult result;
    DownloadSession session(context, host);
    host.refreshCommandState();
    host.setTransferButtonsEnabled(false);
    session.fetchMethodTexts();
    const std::string key = selectedModelKey(context);
    session.setKey(key, linkRulesOf(protocolOfKey(key)));
    result.key = session.key();
    result.outcome = runBranch(session);
    // The branches write through the session; a failed write ends every one of them the
    // same way, whatever the branch made of the rest.
    if (!session.writeError().empty() && !session.loaded())
        result.outcome = DownloadOutcome::failed("msgWriteError_35");
    session.finish();
    result.document = session.loaded() ? session.document() : nullptr;
    return result;
}

}  // namespace pelvoro
