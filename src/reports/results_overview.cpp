#include "reports/results_overview.h"

#include "document/structure_document.h"

namespace pelvoro {

namespace {

bool contains(const std::string& s, const char* token) {
    return s.find(token) != std::string::npos;
}

// The text of a result line's runs of one alignment, without the blanks around it.
std::string alignedText(const std::string& line, RunAlignment alignment,
                        const MarkupInterpreter& interpreter) {
    const MarkupLine parsed = interpreter.parse(line, MarkupMode::ClipBrd);
    std::string text;
    for (const TResultText& r : parsed.runs)
        if (r.alignment == alignment) text += r.text;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    return text;
}

// The name of a result: the left-aligned text of its heading, without the verdict.
std::string testName(const std::string& line, const MarkupInterpreter& interpreter) {
    return alignedText(line, RunAlignment::Left, interpreter);
}

}  // namespace

std::string verdictText(ResultVerdict verdict, const MarkupInterpreter& interpreter) {
    // Text code 23 is the pass word, 20 the fail word.
    if (verdict == ResultVerdict::None) return {};
    return interpreter
        .parse(verdict == ResultVerdict::Passed ? "X#K023" : "X#K020", MarkupMode::ClipBrd)
        .text();
}

ResultVerdict lineVerdict(const std::string& line, const MarkupInterpreter& interpreter) {
    // Text codes 20 and 24 are the fail words, 23 the pass word.
    if (contains(line, "#K020") || contains(line, "#K024")) return ResultVerdict::Failed;
    if (contains(line, "#K023")) return ResultVerdict::Passed;
    // Lines written with the words themselves.
    const std::string word = alignedText(line, RunAlignment::Right, interpreter);
    if (word.empty()) return ResultVerdict::None;
    auto is = [&](const char* code) {
        return word == interpreter.parse(std::string("X") + code, MarkupMode::ClipBrd).text();
    };
    if (word == "FAIL" || word == "FAILED" || is("#K020") || is("#K024"))
        return ResultVerdict::Failed;
    if (word == "PASS" || word == "PASSED" || is("#K023")) return ResultVerdict::Passed;
    return ResultVerdict::None;
}

ResultVerdict itemVerdict(const StructureItem& item, const MarkupInterpreter& interpreter) {
    ResultVerdict v = ResultVerdict::None;
    for (const std::string& t : item.data.ResTexts) {
        if (!contains(t, "#L1")) continue;
        const ResultVerdict line = lineVerdict(t, interpreter);
        if (line == ResultVerdict::Failed) return line;
        if (line == ResultVerdict::Passed) v = line;
    }
    return v;
}

ResultsOverview resultsOverview(const ResultRows& rows, const MarkupInterpreter& interpreter) {
    ResultsOverview o;
    for (size_t i = 0; i < rows.items.size(); ++i) {
        const StructureItem& item = *rows.items[i];
        switch (itemVerdict(item, interpreter)) {
            case ResultVerdict::Passed:
                ++o.passed;
                break;
            case ResultVerdict::None:
                ++o.noVerdict;
                break;
            case ResultVerdict::Failed: {
                ++o.failed;
                ResultsOverview::Failure f;
                f.number = int(i) + 1;
                f.path = itemPath(item);
                if (f.path.empty()) f.path = item.caption();
                for (const std::string& t : item.data.ResTexts)
                    if (contains(t, "#L1") &&
                        lineVerdict(t, interpreter) == ResultVerdict::Failed) {
                        std::string name = testName(t, interpreter);
                        if (!name.empty()) f.tests.push_back(std::move(name));
                    }
                o.failures.push_back(std::move(f));
                break;
            }
        }
    }
    return o;
}

}  // namespace pelvoro
