#include "results/widgets/result_table.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/prompts.h"
#include "document/structure_document.h"
#include "document/widgets/child_form.h"
#include "results/adapters/markup_painter.h"
#include "results/adapters/qt_text_measure.h"
#include "results/render_result.h"
#include "results/results_loading.h"

namespace pelvoro {

namespace {

// Height of one line of the table font (a line without runs).
qreal defaultLineHeight(const QPaintDevice* device) {
    static const MarkupLine empty;
    return markupLineHeight(empty, device);
}

// What layout needs of a stored line without interpreting it: its level and kind, and
// whether its font may differ from the table's (size tokens, text codes).
struct RawLine {
    int level = 1;
    char kind = 0;
    bool ownFont = false;
};

RawLine scanLine(const std::string& s) {
    RawLine r;
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        if (s[i] != '#') continue;
        const char c = s[i + 1];
        if (c == '#') {
            ++i;
        } else if (c == 'L' && i + 2 < s.size()) {
            if (s[i + 2] >= '1' && s[i + 2] <= '3') r.level = s[i + 2] - '0';
            i += 2;
        } else if (c == 'P' && i + 2 < s.size()) {
            r.kind = s[i + 2];
            i += 2;
        } else if (c == 'H' || c == 'K') {
            r.ownFont = true;
            ++i;
        } else if (c == 'A' || c == 'C' || c == 'F') {
            i += 2;
        }
    }
    return r;
}

bool isInspectionString(const std::string& fp) {
    return fp.rfind("F;22;", 0) == 0 || fp.rfind("F;23;", 0) == 0;
}

// The lines the generator gives `item`'s coded results at `width`.
std::vector<std::string> generatedLines(StructureDocument& doc, StructureItem& item,
                                        TextMeasure& measure, int width) {
    std::vector<std::string> out;
    RenderOptions options;
    options.variant = doc.InstrumentData.InstrVariant;
    options.measure = &measure;
    options.font = resultsTableFont();
    options.columnWidth = width;
    TResultsData results;
    const bool seen = doc.NewFunctionsSeen;
    parseItemResults(doc, item, results,
                     [&](StructureDocument&, StructureItem&, const TResultsData& r) {
                         std::vector<std::string> l = generateResultLines(r, options);
                         out.insert(out.end(), std::make_move_iterator(l.begin()),
                                    std::make_move_iterator(l.end()));
                     });
    doc.NewFunctionsSeen = seen;  // reported when the document was read
    return out;
}

ResultTableView* tableOf(TfrmChildForm& form) {
    return qobject_cast<ResultTableView*>(form.resultsArea());
}

ResultTableView* activeTable(TfrmMainForm& main) {
    TfrmChildForm* form = childFormOf(main.activeDocumentView());
    return form ? tableOf(*form) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------

void ResultTableModel::setRows(ResultRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    for (Cached& c : cache_) c.row = -1;
    endResetModel();
}

const std::vector<MarkupLine>& ResultTableModel::rowLines(int modelRow) const {
    Cached& c = cache_[size_t(modelRow) % cache_.size()];
    if (c.row != modelRow) {
        std::vector<std::string> lines = BuildRowLines(rows_, tableRow(modelRow));
        c.lines.resize(lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            interpreter_.parse(lines[i], MarkupMode::Write, c.lines[i]);
        c.row = modelRow;
    }
    return c.lines;
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, rows_.rowCount - 1);
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
    // The cell as text, the way Copy writes it (screen readers, tests).
    ClipboardStaging s = renderTableText(rows_, {tableRow(index.row())}, false);
    return toQt(joinStaging(s, index.column() == 0, index.column() == 1, "", "\n"));
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return toQt(LangText(section == 0 ? "No_3" : "Results_10"));
    if (role == Qt::TextAlignmentRole)
        return int(section == 0 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

void ResultCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    auto* model = qobject_cast<const ResultTableModel*>(index.model());
    if (!model) return;
    const QWidget* view = option.widget;
    CellDrawOptions o;
    o.viewMode = model->rows().viewMode;
    o.selected = (option.state & QStyle::State_Selected) && view && view->hasFocus();
    o.lastRow = index.row() == model->rowCount() - 1;
    o.charWidth = QFontMetricsF(markupRunFont(TResultText{}), painter->device())
                      .horizontalAdvance(QLatin1Char('H'));
    painter->save();
    painter->setClipRect(option.rect);
    DrawResultCell(*painter, QRectF(option.rect), index.column(), model->rowLines(index.row()), o);
    painter->restore();
}

// ---------------------------------------------------------------------------------------

ResultTableView::ResultTableView(TfrmChildForm* form, QWidget* parent)
    : QTableView(parent), form_(form) {
    setObjectName("sgResults");
    model_ = new ResultTableModel(this);
    setModel(model_);
    setItemDelegate(new ResultCellDelegate(this));
    setShowGrid(false);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    // The height of an item heading row; set while the table is empty, since changing
    // the default later touches every row.
    {
        const qreal lh = defaultLineHeight(nullptr);
        verticalHeader()->setDefaultSectionSize(int(std::lround(lh + lh / 3)));
    }
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    QFont hf = horizontalHeader()->font();
    hf.setBold(true);
    horizontalHeader()->setFont(hf);
    rewrapTimer_ = new QTimer(this);
    rewrapTimer_->setSingleShot(true);
    rewrapTimer_->setInterval(150);
    connect(rewrapTimer_, &QTimer::timeout, this, [this] { rewrapInspections(); });
    wrappedWidth_ = kDefaultResultsColumnWidth;  // the width documents are read with
}

void ResultTableView::assign(StructureItem* selected, int viewMode, bool showSub) {
    QElapsedTimer timer;
    timer.start();
    selected_ = selected;
    showSub_ = showSub;
    const int top = rowAt(0);
    const int scrollY = verticalScrollBar()->value();
    ResultRows rows;
    if (form_) rows = AssignResultRows(form_->document(), selected, viewMode, showSub);
    bool lowSeveral = false;
    if (viewMode == kViewLow)
        for (const StructureItem* it : rows.items)
            if (it->data.L1Count > 1) lowSeveral = true;
    const bool sameTop = top >= 0 && top < rows.rowCount - 1;
    model_->setRows(std::move(rows));
    // Row heights are set once the table is on screen: a hidden header view recomputes
    // its section positions on every resize.
    layoutPending_ = !isVisible();
    if (!layoutPending_) LayoutResultTable();
    if (lowSeveral || !sameTop)
        scrollToTop();
    else
        verticalScrollBar()->setValue(std::min(scrollY, verticalScrollBar()->maximum()));
    lastLayoutMs_ = double(timer.nsecsElapsed()) / 1e6;
}

void ResultTableView::LayoutResultTable() {
    const ResultRows& rows = model_->rows();
    const qreal lh = defaultLineHeight(nullptr);
    const int viewMode = rows.viewMode;
    QHeaderView* vh = verticalHeader();
    const int headingH = int(std::lround(lh + lh / 3));
    const int datedH = int(std::lround(2 * lh + lh / 3));
    if (vh->defaultSectionSize() != headingH) {
        // An empty header takes a new default at once; a full one resizes every row.
        ResultRows keep = rows;
        model_->setRows(ResultRows{});
        vh->setDefaultSectionSize(headingH);
        model_->setRows(std::move(keep));
    }

    MarkupInterpreter interpreter;
    MarkupLine parsed;
    auto lineHeight = [&](const std::string& s, const RawLine& raw) -> qreal {
        if (!raw.ownFont) return lh;
        interpreter.parse(s, MarkupMode::Write, parsed);
        return markupLineHeight(parsed);
    };
    auto setHeight = [&](int tableRow, qreal h) {
        // Every row: a header keeps the sizes of earlier rows across a model reset.
        vh->resizeSection(tableRow - 1, int(std::lround(h)));
    };

    // One update of the view afterwards instead of one per resized row (a header that
    // updates itself finds each row's position anew).
    const bool blocked = vh->blockSignals(true);
    vh->setUpdatesEnabled(false);
    for (size_t i = 0; i < rows.items.size(); ++i) {
        const StructureItem& item = *rows.items[i];
        const int first = rows.firstRows[i];
        const auto& texts = item.data.ResTexts;
        bool dated = false;
        for (const std::string& t : texts)
            if (t.find("#PD") != std::string::npos) {
                dated = true;
                break;
            }
        vh->resizeSection(first - 1, dated ? datedH : headingH);
        const int results = rows.rowsOf(item) - 1;
        if (results <= 0) continue;
        // Result rows: the visible lines of each result (all results in Low).
        std::vector<qreal> heights(size_t(results), lh / 3);
        int k = 0;  // 1-based result; 0 before the first "#L1" line
        for (const std::string& t : texts) {
            if (t.find("#PD") != std::string::npos) continue;
            const bool l1 = t.find("#L1") != std::string::npos;
            if (l1 && viewMode != kViewLow) ++k;
            if (viewMode == kViewLow) k = 1;
            if (k == 0 || k > results) continue;
            const RawLine raw = scanLine(t);
            if (raw.kind == 'N' || raw.kind == 'S' || raw.kind == 'C' || raw.kind == 'V') continue;
            if (!levelVisible(raw.level, viewMode)) continue;
            heights[size_t(k - 1)] += lineHeight(t, raw);
        }
        for (int r = 0; r < results; ++r) setHeight(first + 1 + r, heights[size_t(r)]);
    }
    vh->setUpdatesEnabled(true);
    vh->blockSignals(blocked);
    updateGeometries();
    viewport()->update();
    setColumnWidths();
}

void ResultTableView::setColumnWidths() {
    QFontMetrics fm(horizontalHeader()->font());
    const int h = fm.horizontalAdvance(QLatin1Char('H'));
    int w0 = fm.horizontalAdvance(toQt(LangText("No_3"))) + h;
    const int n = model_->rows().itemCount();
    w0 = std::max(w0, fm.horizontalAdvance(QString::number(std::max(1, n))) + 2 * h);
    setColumnWidth(0, w0);
}

void ResultTableView::rewrapInspections() {
    if (!form_) return;
    const int width = columnWidth(1);
    if (width <= 0 || width == wrappedWidth_) return;
    StructureDocument& doc = form_->document();
    TextMeasure& measure = screenTextMeasure();
    bool changed = false;
    for (StructureItem* item : doc.preorder()) {
        if (!item->isResult()) continue;
        const auto& fps = item->data.FpStrings;
        if (std::none_of(fps.begin(), fps.end(), isInspectionString)) continue;
        // Only the generated lines after those that came with the item are replaced, by
        // lines generated once at the new width; an item whose lines were never counted
        // has none generated.
        auto& texts = item->data.ResTexts;
        if (item->data.FileTextCount < 0) continue;
        const size_t kept = std::min(texts.size(), size_t(item->data.FileTextCount));
        std::vector<std::string> lines = generatedLines(doc, *item, measure, width);
        if (std::equal(lines.begin(), lines.end(), texts.begin() + std::ptrdiff_t(kept),
                       texts.end()))
            continue;
        texts.resize(kept);
        texts.insert(texts.end(), std::make_move_iterator(lines.begin()),
                     std::make_move_iterator(lines.end()));
        item->data.L1Count = countL1Lines(texts);
        changed = true;
    }
    wrappedWidth_ = width;
    if (changed) assign(selected_, model_->rows().viewMode, showSub_);
}

std::string ResultTableView::selectionText() const {
    const QModelIndexList cells =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (cells.isEmpty()) return {};
    std::vector<int> rows;
    bool col[2] = {false, false};
    for (const QModelIndex& i : cells) {
        rows.push_back(ResultTableModel::tableRow(i.row()));
        col[i.column() == 0 ? 0 : 1] = true;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    ClipboardStaging s = renderTableText(model_->rows(), rows, false, col[0], col[1]);
    return joinStaging(s, col[0], col[1], "\t", "\r\n");
}

void ResultTableView::copySelection() {
    std::unique_ptr<BusyCursor> busy;
    if (form_) busy = std::make_unique<BusyCursor>(form_->prompts());
    const std::string text = selectionText();
    QGuiApplication::clipboard()->setText(toQt(text));
}

void ResultTableView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAllCells();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ResultTableView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (model_->rows().itemCount() > 0 || wrappedWidth_ != columnWidth(1)) rewrapTimer_->start();
}

void ResultTableView::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    if (layoutPending_) {
        layoutPending_ = false;
        QElapsedTimer timer;
        timer.start();
        LayoutResultTable();
        lastLayoutMs_ += double(timer.nsecsElapsed()) / 1e6;
    }
}

void ResultTableView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void ResultTableView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

// ---------------------------------------------------------------------------------------

void installResultTable(TfrmMainForm& mainWindow) {
    TfrmChildForm::setResultsAreaFactory(
        [](TfrmChildForm& form) -> QWidget* { return new ResultTableView(&form); });
    TfrmChildForm::setDefaultSelectionHook([](TfrmChildForm& form, StructureItem* item) {
        if (ResultTableView* t = tableOf(form)) t->assign(item, form.viewMode(), form.showSub());
    });
    TfrmMainForm* main = &mainWindow;
    mainWindow.setCommandHandler("EditCopy", [main](int) {
        if (ResultTableView* t = activeTable(*main)) t->copySelection();
    });
    mainWindow.setCommandHandler("EditSelectAll", [main](int) {
        if (ResultTableView* t = activeTable(*main)) {
            t->setFocus();
            t->selectAllCells();
        }
    });
}

}  // namespace pelvoro
