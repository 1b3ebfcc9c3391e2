#pragma once
// The results table of a document window: a two-column table (running number, results)
// over the rows that AssignResultRows gives the selection. Rows are laid out from the
// items' lines once per assignment; cells are drawn on demand by a painting delegate.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

#include "results/adapters/result_cell.h"
#include "results/markup.h"
#include "results/result_rows.h"

class QTimer;

namespace pelvoro {

class StructureDocument;
class StructureItem;
class TfrmChildForm;
class TfrmMainForm;

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(ResultRows rows);
    const ResultRows& rows() const { return rows_; }
    // Table row of a model row: model row 0 is table row 1 (the header is row 0).
    static int tableRow(int modelRow) { return modelRow + 1; }

    // The row's lines interpreted for drawing (cached for the last rows asked).
    const std::vector<MarkupLine>& rowLines(int modelRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

  private:
    ResultRows rows_;
    MarkupInterpreter interpreter_;
    struct Cached {
        int row = -1;
        std::vector<MarkupLine> lines;
    };
    mutable std::vector<Cached> cache_ = std::vector<Cached>(64);
};

class ResultCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

class ResultTableView : public QTableView {
    Q_OBJECT
  public:
    explicit ResultTableView(TfrmChildForm* form, QWidget* parent = nullptr);

    // Assigns the rows for the selected item and lays the table out (AssignResultRows,
    // LayoutResultTable). The top row stays where it was when it still exists.
    void assign(StructureItem* selected, int viewMode, bool showSub);
    // Sets the row heights and column widths.
    void LayoutResultTable();
    const ResultRows& rows() const { return model_->rows(); }
    ResultTableModel* tableModel() const { return model_; }

    // The selected cells as Copy puts them on the clipboard (TAB, CR LF), in the
    // document's bytes.
    std::string selectionText() const;
    void copySelection();
    void selectAllCells() { selectAll(); }

    // Typing letters does not search the cells (that would render every row as text).
    void keyboardSearch(const QString&) override {}

    // Milliseconds the last assign() took (rows and layout).
    double lastLayoutMs() const { return lastLayoutMs_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void setColumnWidths();
    void rewrapInspections();

    TfrmChildForm* form_ = nullptr;
    ResultTableModel* model_ = nullptr;
    QTimer* rewrapTimer_ = nullptr;
    int wrappedWidth_ = -1;
    StructureItem* selected_ = nullptr;
    bool showSub_ = true;
    double lastLayoutMs_ = 0;
    bool layoutPending_ = false;
};

// Puts a results table into every new document window, assigns its rows on selection and
// view changes, and attaches Edit ▸ Copy and Edit ▸ Select All.
void installResultTable(TfrmMainForm& mainWindow);

}  // namespace pelvoro
