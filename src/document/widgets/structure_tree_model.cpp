#include "document/widgets/structure_tree_model.h"

#include "app/widgets/icon_library.h"
#include "common/adapters/qt_text.h"
#include "document/item_types.h"

namespace pelvoro {

QVariant StructureTreeModel::data(const QModelIndex& index, int role) const {
    StructureItem* item = itemOf(index);
    if (!item) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return toQt(item->caption());
    if (role == Qt::DecorationRole) {
        // An item with a measured curve shows the graph icon, whatever its type.
        int type = item->data.graph().hasSamples() ? int(ItemType::GraphMeasurement) : item->type();
        auto it = icons_.find(type);
        if (it == icons_.end()) it = icons_.insert(type, itemTypeQIcon(type));
        return it->isNull() ? QVariant() : QVariant(*it);
    }
    return {};
}

}  // namespace pelvoro
