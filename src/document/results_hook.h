#pragma once
// The results subsystem turns the coded results (FP strings) and graph strings of loaded
// items into display lines and curves. The document reader calls the installed hook for
// every item that carries such data; without a hook the strings are kept as they are and
// written back unchanged.

#include <memory>

namespace pelvoro {

class StructureDocument;
class StructureItem;

class ResultsHook {
  public:
    virtual ~ResultsHook() = default;
    // Called once per loaded item that has FP strings or a graph string, after its block
    // was read and before it is placed in the tree. The item's FpStrings, ProtVer, Type,
    // GraphString and the ResTexts that the file carried are filled. The hook may fill
    // ResTexts and Graph and set the document's NewFunctionsSeen; the reader counts the
    // "#L1" lines afterwards.
    virtual void resultItemLoaded(StructureDocument& document, StructureItem& item) = 0;
};

// The hook used by every load unless the load names its own; none by default.
void setResultsHook(std::shared_ptr<ResultsHook> hook);
std::shared_ptr<ResultsHook> resultsHook();

}  // namespace pelvoro
