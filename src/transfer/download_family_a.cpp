// Family A downloads: placeholder until the structure-and-results and the results
// downloads are written; the command ends without a document for these models.
// (Replace this file; both functions are declared in transfer/download.h.)

#include "common/lang_text.h"
#include "transfer/download.h"

namespace pelvoro {

DownloadOutcome downloadStructureAndResults(DownloadSession&) {
    return {};
}

DownloadOutcome downloadResultsOnly(DownloadSession&) {
    return {};
}

}  // namespace pelvoro
