#include "document/structure_document.h"

#include <stdexcept>

#include "common/lang_text.h"
#include "document/item_types.h"

namespace pelvoro {

int functionCodeOffset(std::string_view typeCode) {
    const bool typed = typeCode == "51" || typeCode == "52" || typeCode == "53" || typeCode == "54";
    return typed ? 50 : 0;
}

void TInstrumentData::deriveVariant() {
    const std::string& code = typeCode();
    bool familyB = code == "20" || code == "24" || code == "25" || code == "26";
    deriveInstrVariant(familyB ? line(4) : line(5), InstrVariant);
}

void TStructItemData::setGraphString(std::string text) {
    if (text.empty()) {
        Curve.reset();
        return;
    }
    TItemCurve& curve = Curve.edit();
    curve.Graph = parseGraphString(text);
    curve.GraphString = std::move(text);
}

StructureItem::~StructureItem() {
    std::vector<std::unique_ptr<StructureItem>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<StructureItem> it = std::move(pending.back());
        pending.pop_back();
        for (auto& c : it->children_) pending.push_back(std::move(c));
        it->children_.clear();
    }
}

bool StructureItem::isResult() const {
    return isResultType(data.Type);
}

StructureItem* StructureItem::previousSibling() const {
    if (!parent_ || indexInParent_ == 0) return nullptr;
    return parent_->children_[indexInParent_ - 1].get();
}

StructureItem* StructureItem::nextSibling() const {
    if (!parent_ || indexInParent_ + 1 >= int(parent_->children_.size())) return nullptr;
    return parent_->children_[indexInParent_ + 1].get();
}

int StructureItem::level() const {
    int l = 0;
    for (const StructureItem* p = parent_; p; p = p->parent_) ++l;
    return l;
}

bool StructureItem::isAncestorOf(const StructureItem* other) const {
    for (const StructureItem* p = other ? other->parent_ : nullptr; p; p = p->parent_)
        if (p == this) return true;
    return false;
}

int StructureItem::subtreeSize() const {
    // Iterative, so that very deep trees from files cannot exhaust the stack.
    int n = 0;
    std::vector<const StructureItem*> stack{this};
    while (!stack.empty()) {
        const StructureItem* it = stack.back();
        stack.pop_back();
        ++n;
        for (const auto& c : it->children_) stack.push_back(c.get());
    }
    return n;
}

StructureDocument::StructureDocument() : root_(std::make_unique<StructureItem>()) {
    root_->data.Type = ItemType::Root;
    root_->data.Name = LangText("AllItems_15");
}

void StructureDocument::renumberChildren(StructureItem& parent, int from) {
    for (int i = from; i < int(parent.children_.size()); ++i)
        parent.children_[i]->indexInParent_ = i;
}

StructureItem* StructureDocument::addItem(StructureItem& parent, int type,
                                          const std::string& name) {
    if (!canAddChild(parent)) return nullptr;
    auto item = std::make_unique<StructureItem>();
    item->data.Type = type;
    item->data.Name = name;
    return attach(parent, std::move(item));
}

StructureItem* StructureDocument::attach(StructureItem& parent, std::unique_ptr<StructureItem> item,
                                         int index) {
    if (!item) return nullptr;
    StructureItem* raw = item.get();
    // Only an item with children can hold the new parent in its subtree; the check is
    // skipped for leaves so that building deep trees stays linear.
    if (raw == &parent || (!raw->children_.empty() && raw->isAncestorOf(&parent)))
        throw std::logic_error("an item cannot be placed inside its own subtree");
    raw->parent_ = &parent;
    auto& kids = parent.children_;
    if (index < 0 || index >= int(kids.size())) {
        raw->indexInParent_ = int(kids.size());
        kids.push_back(std::move(item));
    } else {
        kids.insert(kids.begin() + index, std::move(item));
        renumberChildren(parent, index);
    }
    structureChanged();
    Modified = true;
    return raw;
}

std::unique_ptr<StructureItem> StructureDocument::detach(StructureItem& item) {
    StructureItem* parent = item.parent_;
    if (!parent) throw std::logic_error("the root cannot be removed");
    int index = item.indexInParent_;
    std::unique_ptr<StructureItem> owned = std::move(parent->children_[index]);
    parent->children_.erase(parent->children_.begin() + index);
    renumberChildren(*parent, index);
    owned->parent_ = nullptr;
    owned->indexInParent_ = 0;
    structureChanged();
    Modified = true;
    return owned;
}

void StructureDocument::deleteItem(StructureItem& item) {
    detach(item);
}

void StructureDocument::clear() {
    while (root_->childCount() > 0) deleteItem(*root_->children_.back());
}

const std::vector<StructureItem*>& StructureDocument::preorder() const {
    if (!preorderValid_) {
        preorder_.clear();
        std::vector<StructureItem*> stack{root_.get()};
        while (!stack.empty()) {
            StructureItem* it = stack.back();
            stack.pop_back();
            it->preorderIndex_ = int(preorder_.size());
            preorder_.push_back(it);
            for (auto c = it->children_.rbegin(); c != it->children_.rend(); ++c)
                stack.push_back(c->get());
        }
        preorderValid_ = true;
    }
    return preorder_;
}

int StructureDocument::absoluteIndex(const StructureItem& item) const {
    preorder();
    int i = item.preorderIndex_;
    if (i < 0 || i >= int(preorder_.size()) || preorder_[i] != &item) return -1;
    return i;
}

StructureItem* StructureDocument::itemAt(int index) const {
    const auto& all = preorder();
    if (index < 0 || index >= int(all.size())) return nullptr;
    return all[index];
}

bool StructureDocument::contains(const StructureItem& item) const {
    return absoluteIndex(item) >= 0;
}

std::vector<StructureItem*> StructureDocument::subtree(const StructureItem& item) const {
    int start = absoluteIndex(item);
    if (start < 0) return {};
    const auto& all = preorder();
    int n = item.subtreeSize();
    return std::vector<StructureItem*>(all.begin() + start, all.begin() + start + n);
}

}  // namespace pelvoro
