#include "results/result_rows.h"

#include <algorithm>
#include <utility>

#include "common/lang_text.h"
#include "document/item_types.h"
#include "document/structure_document.h"

namespace pelvoro {

namespace {

bool contains(const std::string& line, std::string_view token) {
    return line.find(token) != std::string::npos;
}

// Item names may hold "#"; in a mark-up line it must stay a plain character.
std::string escapeMarkup(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '#') out += '#';
    }
    return out;
}

void clearTableState(StructureItem& root) {
    std::vector<StructureItem*> stack{&root};
    while (!stack.empty()) {
        StructureItem* it = stack.back();
        stack.pop_back();
        it->data.FirstRow = 0;
        it->data.TableFlags = {};
        for (const auto& c : it->children()) stack.push_back(c.get());
    }
}

bool isGroupType(int type) {
    return type >= ItemType::Object && type <= ItemType::MPE;
}
bool isAncestorGroupType(int type) {
    return type >= ItemType::Block && type <= ItemType::MPE;
}
bool isDeviceType(int type) {
    return type >= ItemType::Fuse && type <= ItemType::Earthing;
}

// The group marks of the first result shown under `parent`.
void markFirstResult(StructureItem& parent, StructureItem& result) {
    if (isGroupType(parent.type())) {
        result.data.TableFlags[kTableFlagGroup] = 1;
        return;
    }
    if (!isDeviceType(parent.type())) return;
    StructureItem* a = parent.parent();
    while (a && !isAncestorGroupType(a->type())) a = a->parent();
    if (a && !a->data.TableFlags[kTableFlagGroupUsed]) {
        a->data.TableFlags[kTableFlagGroupUsed] = 1;
        result.data.TableFlags[kTableFlagGroup] = 1;
    } else {
        result.data.TableFlags[kTableFlagSubGroup] = 1;
    }
}

}  // namespace

bool levelVisible(int level, int viewMode) {
    switch (viewMode) {
        case kViewMedium:
            return level <= 2;
        case kViewLow:
            return level <= 1;
        default:
            return true;
    }
}

int levelIndent(int level, int viewMode) {
    if (level == 2 && viewMode != kViewLow) return 2;
    if (level == 3 && viewMode == kViewFull) return 4;
    return 0;
}

std::string itemPath(const StructureItem& item) {
    const int depth = item.level();
    if (depth < 2) return {};
    // The three nearest ancestors from the parent up, and the top-level one.
    const StructureItem* near[3] = {};
    const StructureItem* top = nullptr;
    int k = 0;
    for (const StructureItem* a = item.parent(); a && a->parent(); a = a->parent()) {
        if (k < 3) near[k] = a;
        ++k;
        top = a;
    }
    if (!top) return {};
    std::string path = top->caption();
    auto add = [&path](std::string_view part) { path.append(" / ").append(part); };
    if (depth == 5)
        add(near[2]->caption());
    else if (depth > 5)
        add("...");
    if (depth >= 4) add(near[1]->caption());
    if (depth >= 3) add(near[0]->caption());
    return path;
}

int ResultRows::rowsOf(const StructureItem& item) const {
    const int results = std::max(0, int(item.data.L1Count));
    if (viewMode == kViewLow) return results > 0 ? 2 : 1;
    return results + 1;
}

ResultRows::Position ResultRows::locate(int row) const {
    Position p;
    if (row < 1 || row >= rowCount || firstRows.empty()) return p;
    auto it = std::upper_bound(firstRows.begin(), firstRows.end(), row);
    if (it == firstRows.begin()) return p;
    p.itemIndex = int(it - firstRows.begin()) - 1;
    p.item = items[size_t(p.itemIndex)];
    p.offset = row - firstRows[size_t(p.itemIndex)];
    return p;
}

ResultRows AssignResultRows(StructureDocument& document, StructureItem* selected, int viewMode,
                            bool showSub) {
    ResultRows rows;
    rows.viewMode = viewMode;
    clearTableState(document.root());
    if (!selected) return rows;

    int counter = 1;
    auto place = [&](StructureItem& item) {
        item.data.FirstRow = counter;
        item.data.TableFlags[kTableFlagShown] = 1;
        rows.items.push_back(&item);
        rows.firstRows.push_back(counter);
        counter += rows.rowsOf(item);
    };

    if (selected->isResult()) {
        place(*selected);
    } else {
        // Children in tree order; the sub-tree without recursion (damaged files may nest
        // deeply). Each frame is a structure item and the next child to look at.
        std::vector<std::pair<StructureItem*, int>> stack{{selected, 0}};
        std::vector<bool> marked{false};
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next >= node->childCount()) {
                stack.pop_back();
                marked.pop_back();
                continue;
            }
            StructureItem* child = node->child(next++);
            if (child->isResult()) {
                if (!marked.back()) {
                    markFirstResult(*node, *child);
                    marked.back() = true;
                }
                place(*child);
            } else if (showSub) {
                stack.push_back({child, 0});
                marked.push_back(false);
            }
        }
    }
    rows.rowCount = counter;
    return rows;
}

int headingColourCode(const StructureItem& item) {
    if (item.data.TableFlags[kTableFlagGroup]) return 2;
    if (item.data.TableFlags[kTableFlagSubGroup]) return 3;
    return 4;
}

namespace {

// The lines of table row `row`, each handed to `put` as a string_view.
template <class Put>
void rowLines(const ResultRows& rows, int row, Put&& put) {
    const ResultRows::Position p = rows.locate(row);
    if (!p.item) return;
    const std::vector<std::string>& texts = p.item->data.ResTexts;
    if (p.offset == 0) {
        const char colour[] = {'X', '#', 'P', 'C', char('0' + headingColourCode(*p.item))};
        put(std::string_view(colour, sizeof colour));
        put("X#PS" + std::to_string(p.itemIndex + 1));
        put("X#PV" + escapeMarkup(itemPath(*p.item)));
        for (const std::string& t : texts)
            if (contains(t, "#PD")) {
                put(t);
                break;
            }
        return;
    }
    if (rows.viewMode == kViewLow) {
        put("X#PC1");
        for (const std::string& t : texts)
            if (!contains(t, "#PD")) put(t);
        return;
    }
    // The offset-th result: its "#L1" line up to the next one.
    put(p.offset % 2 == 1 ? "X#PC1" : "X#PC0");
    int seen = 0;
    for (const std::string& t : texts) {
        if (contains(t, "#L1")) {
            ++seen;
            if (seen > p.offset) break;
        }
        if (seen == p.offset && !contains(t, "#PD")) put(t);
    }
}

}  // namespace

std::vector<std::string> BuildRowLines(const ResultRows& rows, int row) {
    std::vector<std::string> lines;
    BuildRowLines(rows, row, lines);
    return lines;
}

void BuildRowLines(const ResultRows& rows, int row, std::vector<std::string>& lines) {
    lines.clear();
    rowLines(rows, row, [&](std::string_view s) { lines.emplace_back(s); });
}

int CountRowLines(const std::vector<std::string>& rowLines, int viewMode) {
    int count = 0;
    bool all = false;
    for (const std::string& t : rowLines) {
        if (contains(t, "#PN") || contains(t, "#PC")) continue;
        if (contains(t, "#PV") || contains(t, "#PS")) {
            ++count;
            all = true;
        } else if (all || contains(t, "#PD") || contains(t, "#L1")) {
            ++count;
        } else if (contains(t, "#L2")) {
            if (viewMode != kViewLow) ++count;
        } else if (contains(t, "#L3")) {
            if (viewMode == kViewFull) ++count;
        }
    }
    return count;
}

// ---------------------------------------------------------------------------------------

std::string clipboardLineText(const MarkupLine& line) {
    std::string out;
    for (const TResultText& r : line.runs) {
        if (r.alignment == RunAlignment::Centre) continue;
        if (r.alignment == RunAlignment::Right) out += "      ";
        out += r.text;
    }
    return out;
}

std::array<std::string, 2>& ClipboardStaging::row(int r) {
    if (r >= int(rows.size())) rows.resize(size_t(r) + 1);
    return rows[size_t(r)];
}

namespace {

const std::string& firstRunText(const MarkupLine& l) {
    static const std::string none;
    return l.runs.empty() ? none : l.runs[0].text;
}
const std::string& firstRunText(const ClipboardLine& l) {
    return l.firstRun;
}
void appendLineText(std::string& out, const MarkupLine& l) {
    out += clipboardLineText(l);
}
void appendLineText(std::string& out, const ClipboardLine& l) {
    out += l.text;
}

template <class Line>
int renderCell(std::span<const Line> rowLines, int column, int baseRow, int viewMode,
               ClipboardStaging& staging) {
    int w = baseRow;
    if (column == 0) {
        for (const Line& l : rowLines) {
            if (l.props.kind == "C") continue;
            if (l.props.kind == "S") staging.row(w)[0] = firstRunText(l);
            ++w;
            break;
        }
    } else {
        for (const Line& l : rowLines) {
            const std::string& k = l.props.kind;
            if (k == "N" || k == "S" || k == "C") continue;
            if (k == "V") {
                std::string& cell = staging.row(w)[1];
                cell.clear();
                appendLineText(cell, l);
            } else if (k == "D") {
                auto& cells = staging.row(w);
                cells[1] = firstRunText(l);
                cells[0].clear();
            } else {
                if (!levelVisible(l.props.level, viewMode)) continue;
                auto& cells = staging.row(w);
                cells[1].assign(size_t(levelIndent(l.props.level, viewMode)), ' ');
                appendLineText(cells[1], l);
                cells[0].clear();
            }
            ++w;
        }
    }
    staging.total = std::max(staging.total, w);
    if (int(staging.rows.size()) < staging.total) staging.rows.resize(size_t(staging.total));
    return w;
}

// Interprets the lines of table row `r` into `parsed` (whose buffers are reused) and
// renders the columns asked into the staging table from `base` on.
void renderRow(const ResultRows& rows, int r, int base, bool numberColumn, bool resultsColumn,
               const MarkupInterpreter& interpreter, std::vector<ClipboardLine>& parsed,
               ClipboardStaging& staging) {
    size_t count = 0;
    rowLines(rows, r, [&](std::string_view s) {
        if (count == parsed.size()) parsed.emplace_back();
        interpreter.parseClipboard(s, parsed[count++]);
    });
    const std::span<const ClipboardLine> view(parsed.data(), count);
    if (numberColumn) renderCell(view, 0, base, rows.viewMode, staging);
    if (resultsColumn) renderCell(view, 1, base, rows.viewMode, staging);
}

}  // namespace

int renderCellText(std::span<const MarkupLine> rowLines, int column, int baseRow, int viewMode,
                   ClipboardStaging& staging) {
    return renderCell(rowLines, column, baseRow, viewMode, staging);
}

ClipboardStaging renderTableText(const ResultRows& rows, const std::vector<int>& tableRows,
                                 bool withHeading, const MarkupInterpreter& interpreter) {
    return renderTableText(rows, tableRows, withHeading, true, true, interpreter);
}

ClipboardStaging renderTableText(const ResultRows& rows, const std::vector<int>& tableRows,
                                 bool withHeading, bool numberColumn, bool resultsColumn,
                                 const MarkupInterpreter& interpreter) {
    ClipboardStaging staging;
    if (withHeading) {
        staging.row(0) = {LangText("No_3"), LangText("Results_10")};
        staging.total = 1;
    }
    std::vector<ClipboardLine> parsed;
    for (int r : tableRows)
        renderRow(rows, r, staging.total, numberColumn, resultsColumn, interpreter, parsed,
                  staging);
    return staging;
}

ClipboardStaging renderTableText(const ResultRows& rows, bool withHeading,
                                 const MarkupInterpreter& interpreter) {
    std::vector<int> all;
    for (int r = 1; r < rows.rowCount; ++r) all.push_back(r);
    return renderTableText(rows, all, withHeading, interpreter);
}

void forEachTableTextRow(
    const ResultRows& rows, bool withHeading,
    const std::function<void(const std::string& number, const std::string& results)>& emit,
    const MarkupInterpreter& interpreter) {
    if (withHeading) emit(LangText("No_3"), LangText("Results_10"));
    // One table row at a time in a staging table whose strings keep their buffers.
    ClipboardStaging staging;
    std::vector<ClipboardLine> parsed;
    for (int r = 1; r < rows.rowCount; ++r) {
        for (int i = 0; i < staging.total; ++i) {
            staging.rows[size_t(i)][0].clear();
            staging.rows[size_t(i)][1].clear();
        }
        staging.total = 0;
        renderRow(rows, r, 0, true, true, interpreter, parsed, staging);
        for (int i = 0; i < staging.total; ++i)
            emit(staging.rows[size_t(i)][0], staging.rows[size_t(i)][1]);
    }
}

std::string joinStaging(const ClipboardStaging& staging, bool numberColumn, bool resultsColumn,
                        std::string_view delimiter, std::string_view eol) {
    std::string out;
    for (int r = 0; r < staging.total; ++r) {
        if (r > 0) out += eol;
        const auto& cells = staging.rows[size_t(r)];
        if (numberColumn) out += cells[0];
        if (numberColumn && resultsColumn) out += delimiter;
        if (resultsColumn) out += cells[1];
    }
    return out;
}

}  // namespace pelvoro
