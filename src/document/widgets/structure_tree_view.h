#pragma once
// The tree view of a document window: drag and drop of items inside one window and
// between windows, the drop target's frame (blue in move mode or while Shift is held,
// green for a copy).

#include <QTreeView>

namespace pelvoro {

class StructureItem;
class TfrmChildForm;

class StructureTreeView : public QTreeView {
  public:
    explicit StructureTreeView(TfrmChildForm& form);

    // The width the names of the shown items need, indentation included.
    int namesWidth() const { return sizeHintForColumn(0); }
    StructureItem* dragged() const { return dragged_; }
    bool shiftDown = false;

  protected:
    void startDrag(Qt::DropActions) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    StructureTreeView* sourceOf(QDropEvent* e) const;
    void setDropTarget(StructureItem* item);
    void setShift(bool down);

    TfrmChildForm& form_;
    StructureItem* dragged_ = nullptr;
    StructureItem* dropTarget_ = nullptr;
};

}  // namespace pelvoro
