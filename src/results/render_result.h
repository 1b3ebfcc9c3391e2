#pragma once
// Result line generation: turns the parsed result of one FP string into display mark-up
// lines (a heading with the function name and verdict, value lines, settings and limits,
// the earthing system, inspection questions). The lines are appended to the result item's
// ResTexts right after the parse that filled the record.
//
// Translation keys ("Funct_R-ISO", "text559", "System_7") are looked up when the lines are
// generated, so stored lines hold translated text; text codes (#K...) stay tokens and are
// resolved when a line is drawn.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_measure.h"
#include "results/results_data.h"
#include "results/results_loading.h"

namespace pelvoro {

class StructureItem;

struct RenderOptions {
    // The document's instrument variant word ("AUS", "KORVEN", "DOSK" ...).
    std::string variant;
    // Measures inspection texts for word wrapping; null: no wrapping.
    TextMeasure* measure = nullptr;
    // The results table's font.
    FontSpec font;
    // Width of the results column in pixels; texts wrap at this width less 160.
    int columnWidth = 0;
};

// Lines written one after another into one buffer that keeps its capacity from result to
// result, so that generating a result's lines allocates nothing once it is warm.
class LineBuffer {
  public:
    void clear() {
        text_.clear();
        ends_.clear();
    }
    size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](size_t i) const {
        const size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    // The line being written is appended to text() and closed by endLine().
    std::string& text() { return text_; }
    void endLine() { ends_.push_back(text_.size()); }
    std::vector<std::string> strings() const;

  private:
    std::string text_;
    std::vector<size_t> ends_;
};

// The mark-up lines of the last parse, in order. Nothing for an unknown function code.
std::vector<std::string> generateResultLines(const TResultsData& results,
                                             const RenderOptions& options);
// The same into `lines`, cleared first.
void generateResultLines(const TResultsData& results, const RenderOptions& options,
                         LineBuffer& lines);

// Appends the lines of `results` to item.data.ResTexts and updates the item's L1Count.
// An item whose FileTextCount is not yet counted takes the number of lines it had before.
void RenderResult(StructureItem& item, const TResultsData& results, const RenderOptions& options);

// The number of lines that contain "#L1" (each starts a row of the results table).
int countL1Lines(const std::vector<std::string>& lines);

// Numeric comparison of two value texts as an instrument writes them ("12.5", "12,5",
// " 30"): -1, 0, 1; when either text is no number the texts are compared as bytes.
int compareValueTexts(const std::string& a, const std::string& b);

// A measure without fonts: every character is `charWidth` pixels wide (the command-line
// program and tests; 8 pixels is the table font's character on a common screen).
class CharacterCellMeasure : public TextMeasure {
  public:
    explicit CharacterCellMeasure(int charWidth = 8, int height = 16)
        : charWidth_(charWidth), height_(height) {}
    int width(const std::string& text, const FontSpec&) override {
        return int(text.size()) * charWidth_;
    }
    int lineHeight(const FontSpec&) override { return height_; }

  private:
    int charWidth_, height_;
};

// Default width of the results column for documents generated without a window.
inline constexpr int kDefaultResultsColumnWidth = 640;

// A renderer for the document reader's results hook: reads the document's variant and
// wraps with `measure` in `font` at `columnWidth`.
ResultRenderer makeLineRenderer(std::shared_ptr<TextMeasure> measure, FontSpec font = {},
                                int columnWidth = kDefaultResultsColumnWidth);

}  // namespace pelvoro
