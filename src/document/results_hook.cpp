#include "document/results_hook.h"

namespace pelvoro {

namespace {
std::shared_ptr<ResultsHook>& installedHook() {
    static std::shared_ptr<ResultsHook> hook;
    return hook;
}
}  // namespace

void setResultsHook(std::shared_ptr<ResultsHook> hook) {
    installedHook() = std::move(hook);
}
std::shared_ptr<ResultsHook> resultsHook() {
    return installedHook();
}

}  // namespace pelvoro
