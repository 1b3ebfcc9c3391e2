#pragma once
// The tree model of a document window: a thin view of the document, addressed by
// StructureItem pointers, so that documents of any size open at once. The editing
// functions drive its structural notifications.

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QString>

#include "document/structure_document.h"

namespace pelvoro {

// The drag-and-drop format of an item (its data: the source window's tag).
inline constexpr char kStructureItemMime[] = "application/x-pelvoro-structure-item";

class StructureTreeModel : public QAbstractItemModel {
  public:
    explicit StructureTreeModel(StructureDocument& doc, QObject* parent)
        : QAbstractItemModel(parent), doc_(doc) {}

    StructureItem* itemOf(const QModelIndex& index) const {
        return index.isValid() ? static_cast<StructureItem*>(index.internalPointer()) : nullptr;
    }
    QModelIndex indexOf(const StructureItem* item) const {
        if (!item) return {};
        return createIndex(item->parent() ? item->indexInParent() : 0, 0,
                           const_cast<StructureItem*>(item));
    }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        if (column != 0 || row < 0) return {};
        if (!parent.isValid()) return row == 0 ? createIndex(0, 0, &doc_.root()) : QModelIndex();
        StructureItem* p = itemOf(parent);
        if (row >= p->childCount()) return {};
        return createIndex(row, 0, p->child(row));
    }
    QModelIndex parent(const QModelIndex& index) const override {
        StructureItem* item = itemOf(index);
        return item ? indexOf(item->parent()) : QModelIndex();
    }
    int rowCount(const QModelIndex& parent) const override {
        if (!parent.isValid()) return 1;
        if (parent.column() != 0) return 0;
        return itemOf(parent)->childCount();
    }
    int columnCount(const QModelIndex&) const override { return 1; }
    bool hasChildren(const QModelIndex& parent) const override { return rowCount(parent) > 0; }

    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (section == 0 && o == Qt::Horizontal && role == Qt::DisplayRole) return header_;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
               Qt::ItemIsDropEnabled;
    }
    QStringList mimeTypes() const override { return {kStructureItemMime}; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

    void setHeader(const QString& h) {
        header_ = h;
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    }

    // Structural notifications, driven by the editing functions.
    void beginInsert(StructureItem& parent, int row) {
        beginInsertRows(indexOf(&parent), row, row);
    }
    void endInsert() { endInsertRows(); }
    void beginRemove(StructureItem& item) {
        int row = item.indexInParent();
        beginRemoveRows(indexOf(item.parent()), row, row);
    }
    void endRemove() { endRemoveRows(); }
    void changed(StructureItem& item) {
        QModelIndex i = indexOf(&item);
        emit dataChanged(i, i);
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    StructureDocument& doc_;
    QString header_;
    mutable QHash<int, QIcon> icons_;
};

}  // namespace pelvoro
