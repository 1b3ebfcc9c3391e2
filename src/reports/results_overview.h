#pragma once
// The results overview of a report: how many of the listed results passed, failed or carry
// no verdict, and which failed, so that a customer sees at once what needs work.
//
// A result item's verdict comes from the verdict words at the right end of its result
// headings (the pass and fail words of the text codes, or the plain words "PASS" and
// "FAIL" of older files): failed when one of its results failed, passed when one passed
// and none failed, otherwise no verdict.

#include <string>
#include <vector>

#include "results/markup.h"
#include "results/result_rows.h"

namespace pelvoro {

class StructureItem;

enum class ResultVerdict { None, Passed, Failed };

// The verdict of one result heading line ("#L1").
ResultVerdict lineVerdict(const std::string& line,
                          const MarkupInterpreter& interpreter = MarkupInterpreter());
// The verdict of a result item: its results' verdicts together.
ResultVerdict itemVerdict(const StructureItem& item,
                          const MarkupInterpreter& interpreter = MarkupInterpreter());
// The verdict word of the current language ("PASSED", "FAILED"), empty for none.
std::string verdictText(ResultVerdict verdict,
                        const MarkupInterpreter& interpreter = MarkupInterpreter());

struct ResultsOverview {
    int passed = 0, failed = 0, noVerdict = 0;
    struct Failure {
        int number = 0;                  // the running number in the table
        std::string path;                // where the item is, as its heading row shows it
        std::vector<std::string> tests;  // the names of its failed results
    };
    std::vector<Failure> failures;
    int total() const { return passed + failed + noVerdict; }
};

// The overview of the items listed in `rows`.
ResultsOverview resultsOverview(const ResultRows& rows,
                                const MarkupInterpreter& interpreter = MarkupInterpreter());

}  // namespace pelvoro
