#pragma once
// Coded results of loaded documents: whenever a document is built from a file (opened,
// imported or downloaded), every FP string of its items is parsed with the item's ProtVer
// and the document's instrument type code and variant, and the line generator runs right
// after each parse of a result item's string. Unknown codes and surplus fields set the
// document's NewFunctionsSeen flag; the command that loaded the document reports it once.

#include <functional>
#include <memory>
#include <string>

#include "document/results_hook.h"
#include "results/results_data.h"

namespace pelvoro {

class Prompts;
class StructureDocument;
class StructureItem;

// Runs right after a result item's FP string was parsed into `results`; nothing else may
// parse in between.
using ResultRenderer = std::function<void(StructureDocument& document, StructureItem& item,
                                          const TResultsData& results)>;

// Parses every FP string of `item` that begins with "F", in the order of its list, into
// `results`, and calls `render` after each one when the item is a result item.
void parseItemResults(StructureDocument& document, StructureItem& item, TResultsData& results,
                      const ResultRenderer& render = {});

// Every item of the document, in tree order.
void parseDocumentResults(StructureDocument& document, TResultsData& results,
                          const ResultRenderer& render = {});

// The document reader's hook: parses the FP strings of each loaded item into a record of
// its own (the loading document window's record).
class ResultsParsingHook : public ResultsHook {
  public:
    explicit ResultsParsingHook(ResultRenderer render = {}) : render_(std::move(render)) {}

    void resultItemLoaded(StructureDocument& document, StructureItem& item) override;

    void setRenderer(ResultRenderer render) { render_ = std::move(render); }
    // The record of the last parse.
    const TResultsData& results() const { return results_; }

  private:
    TResultsData results_;
    ResultRenderer render_;
};

std::shared_ptr<ResultsParsingHook> makeResultsParsingHook(ResultRenderer render = {});

// Whether `fromFp` read in `from` gives the same record and lines as `toFp` read in `to`
// (their type codes and variants), so that a result can move between the documents.
bool readsTheSame(const std::string& fromFp, const StructureDocument& from, const std::string& toFp,
                  const StructureDocument& to, int protVer);

// After a load or download: shows "msgNewFunct_35" once when the document met codes or
// fields this program does not know, and clears the flag. True when it was shown.
bool reportNewFunctions(StructureDocument& document, Prompts& prompts);

}  // namespace pelvoro
