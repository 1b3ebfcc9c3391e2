#include "document/widgets/structure_tree_view.h"

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

#include "app/widgets/icon_library.h"
#include "document/widgets/child_form.h"
#include "document/widgets/structure_tree_model.h"

namespace pelvoro {

StructureTreeView::StructureTreeView(TfrmChildForm& form) : QTreeView(&form), form_(form) {
    setObjectName("tlTreeList");
    setUniformRowHeights(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setAutoExpandDelay(700);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void StructureTreeView::startDrag(Qt::DropActions) {
    if (!form_.dragAllowed_) return;
    StructureItem* item = form_.itemOf(currentIndex());
    if (!item) return;
    dragged_ = item;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(kStructureItemMime, QByteArray::number(form_.tag()));
    drag->setMimeData(mime);
    QIcon icon = itemTypeQIcon(item->type());
    if (!icon.isNull()) drag->setPixmap(icon.pixmap(16, 16));
    // The drop does the work itself; the view must not remove anything afterwards.
    drag->exec(Qt::MoveAction);
    dragged_ = nullptr;
}

void StructureTreeView::dragEnterEvent(QDragEnterEvent* e) {
    if (sourceOf(e))
        e->acceptProposedAction();
    else
        e->ignore();
}

void StructureTreeView::dragMoveEvent(QDragMoveEvent* e) {
    QTreeView::dragMoveEvent(e);  // auto-scroll and auto-expand
    StructureTreeView* src = sourceOf(e);
    StructureItem* target = form_.itemOf(indexAt(e->position().toPoint()));
    bool ok = src && form_.CanDrop(src->form_, src->dragged_, target);
    setDropTarget(ok ? target : nullptr);
    if (ok) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void StructureTreeView::dragLeaveEvent(QDragLeaveEvent* e) {
    setDropTarget(nullptr);
    QTreeView::dragLeaveEvent(e);
}

void StructureTreeView::dropEvent(QDropEvent* e) {
    setDropTarget(nullptr);
    StructureTreeView* src = sourceOf(e);
    StructureItem* target = form_.itemOf(indexAt(e->position().toPoint()));
    if (!src || !src->dragged_ || !target) {
        e->ignore();
        stopAutoScroll();
        setState(NoState);
        return;
    }
    StructureItem* dragged = src->dragged_;
    src->dragged_ = nullptr;
    // The drop does all the work; the view that started the drag removes nothing.
    e->acceptProposedAction();
    stopAutoScroll();
    setState(NoState);
    form_.DropItem(src->form_, dragged, target);
}

void StructureTreeView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Shift) setShift(true);
    QTreeView::keyPressEvent(e);
}

void StructureTreeView::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Shift) setShift(false);
    QTreeView::keyReleaseEvent(e);
}

void StructureTreeView::paintEvent(QPaintEvent* e) {
    QTreeView::paintEvent(e);
    if (!dropTarget_) return;
    QRect r = visualRect(form_.indexOf(dropTarget_));
    if (!r.isValid()) return;
    QPainter p(viewport());
    // Blue in move mode (or while Shift is held), green otherwise.
    p.setPen(QPen(form_.moveMode() || shiftDown ? QColor(0, 0, 255) : QColor(0, 160, 0), 2));
    p.drawRect(r.adjusted(1, 1, -1, -1));
}

StructureTreeView* StructureTreeView::sourceOf(QDropEvent* e) const {
    if (!e->mimeData() || !e->mimeData()->hasFormat(kStructureItemMime)) return nullptr;
    auto* src = dynamic_cast<StructureTreeView*>(e->source());
    return src && src->dragged_ ? src : nullptr;
}

void StructureTreeView::setDropTarget(StructureItem* item) {
    if (item == dropTarget_) return;
    dropTarget_ = item;
    viewport()->update();
}

void StructureTreeView::setShift(bool down) {
    if (shiftDown == down) return;
    shiftDown = down;
    viewport()->update();
}

}  // namespace pelvoro
