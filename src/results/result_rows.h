#pragma once
// The results table of a document window: which result items it shows, the rows each of
// them takes at a detail level, the mark-up lines of a row, and the plain-text rendering
// of its cells that copying and export use.
//
// Row 0 is the heading row. Every shown result item has a heading row (running number,
// its place in the structure, its date) followed by its result rows: one per result
// (each result starts with a "#L1" line) in Full and Medium, one for all of them in Low.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "results/markup.h"

namespace pelvoro {

class StructureDocument;
class StructureItem;

// Detail levels of the view selector (the document's ViewMode).
enum : int { kViewFull = 0, kViewMedium = 1, kViewLow = 2 };

// TableFlags of an item while a table is assigned.
enum : int {
    kTableFlagShown = 0,     // the item has a heading row in the table
    kTableFlagGroup = 1,     // the result starts a group (drawn in the group colour)
    kTableFlagSubGroup = 2,  // the result starts a sub-group
    kTableFlagGroupUsed = 3  // a structure item whose group has been started
};

// Whether a line of `level` (1..3) shows at `viewMode`.
bool levelVisible(int level, int viewMode);
// Indentation of a line of `level` at `viewMode`, in character widths (0, 2 or 4).
int levelIndent(int level, int viewMode);

// The place of a result item in the structure: its ancestors from the top-level one down
// to its parent, joined by " / ", with " / ..." in place of those skipped in deep trees.
// Empty for items directly under the root (or the root itself).
std::string itemPath(const StructureItem& item);

// The rows of the table for one selection.
struct ResultRows {
    struct Position {
        StructureItem* item = nullptr;
        int itemIndex = -1;  // 0-based index among the shown items (running number - 1)
        int offset = 0;      // 0: the item's heading row; k >= 1: its k-th result row
    };

    int viewMode = kViewFull;
    std::vector<StructureItem*> items;  // shown items in row order
    std::vector<int> firstRows;         // FirstRow of each shown item
    int rowCount = 1;                   // table rows, the heading row included

    int itemCount() const { return int(items.size()); }
    // The item and offset of a table row >= 1; itemIndex -1 for rows outside the table.
    Position locate(int row) const;
    // Rows of one item at this level.
    int rowsOf(const StructureItem& item) const;
};

// Assigns rows for `selected` (null: nothing shown). Clears FirstRow and TableFlags of
// every item of the document, then gives every shown item its FirstRow, its group marks
// and the shown flag.
ResultRows AssignResultRows(StructureDocument& document, StructureItem* selected, int viewMode,
                            bool showSub);

// The mark-up lines of table row `row` (>= 1): for a heading row the colour, running
// number, path and date lines; for a result row the colour line and the result's lines.
std::vector<std::string> BuildRowLines(const ResultRows& rows, int row);
// The same into `lines` (cleared first), so that a walk over many rows reuses its buffers.
void BuildRowLines(const ResultRows& rows, int row, std::vector<std::string>& lines);

// The heading row's colour digit for an item: 2 group, 3 sub-group, 4 otherwise.
int headingColourCode(const StructureItem& item);

// The number of lines a row shows at `viewMode` (for page breaks of reports).
int CountRowLines(const std::vector<std::string>& rowLines, int viewMode);

// ---------------------------------------------------------------------------------------
// Plain-text rendering ("ClipBrd")

// A line as text: its left-aligned runs in order, each right-aligned run after six
// blanks; centred runs are left out.
std::string clipboardLineText(const MarkupLine& line);

// The staging table of copy and export: two cells per row (number, results).
struct ClipboardStaging {
    std::vector<std::array<std::string, 2>> rows;
    int total = 0;  // rows in use

    std::array<std::string, 2>& row(int r);
    void clear() {
        rows.clear();
        total = 0;
    }
};

// Renders one cell of a table row, given its lines interpreted in "ClipBrd" mode, into
// the staging table from `baseRow` on. Returns the write row after the cell and raises
// staging.total to it.
int renderCellText(std::span<const MarkupLine> rowLines, int column, int baseRow, int viewMode,
                   ClipboardStaging& staging);

// The text rows of table rows `tableRows` (each >= 1) for the columns asked, in order.
// With `withHeading` the staging starts with the heading row ("No_3", "Results_10").
ClipboardStaging renderTableText(const ResultRows& rows, const std::vector<int>& tableRows,
                                 bool withHeading,
                                 const MarkupInterpreter& interpreter = MarkupInterpreter());
// The same for the columns asked only, as Copy renders a selection: a column that is
// not selected takes no staging rows.
ClipboardStaging renderTableText(const ResultRows& rows, const std::vector<int>& tableRows,
                                 bool withHeading, bool numberColumn, bool resultsColumn,
                                 const MarkupInterpreter& interpreter = MarkupInterpreter());
// Every row of the table.
ClipboardStaging renderTableText(const ResultRows& rows, bool withHeading,
                                 const MarkupInterpreter& interpreter = MarkupInterpreter());

// The text rows of every table row, handed one at a time to `emit` (number cell, results
// cell) in the order renderTableText gives them, without keeping the whole table.
void forEachTableTextRow(
    const ResultRows& rows, bool withHeading,
    const std::function<void(const std::string& number, const std::string& results)>& emit,
    const MarkupInterpreter& interpreter = MarkupInterpreter());

// Joins staging rows: the cells of the chosen columns separated by `delimiter`, rows
// separated by `eol` (none after the last).
std::string joinStaging(const ClipboardStaging& staging, bool numberColumn, bool resultsColumn,
                        std::string_view delimiter = "\t", std::string_view eol = "\r\n");

}  // namespace pelvoro
