#include "document/structure_editing.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "common/lang_text.h"
#include "common/link_clock.h"
#include "common/prompts.h"
#include "common/text.h"
#include "document/item_names.h"
#include "document/item_types.h"

namespace pelvoro {

namespace {

using Types = std::vector<int>;

Types range(int from, int to) {
    Types t;
    for (int c = from; c <= to; ++c) t.push_back(c);
    return t;
}

Types join(std::initializer_list<Types> parts) {
    Types out;
    for (const Types& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

bool contains(const Types& t, int code) {
    return std::find(t.begin(), t.end(), code) != t.end();
}

// Accepted parent types of a moved item, by the moved item's type.
const Types& acceptedParents(int type) {
    static const Types none;
    static const Types root{0};
    static const Types block{1, 2, 5, 6};
    static const Types object{1};
    static const Types fuse{2, 5, 6};
    static const Types lightRod{3};
    static const Types mpe{4};
    static const Types floor{11};
    static const Types room{12};
    static const Types fuseOnly{5};
    static const Types undefined = join({range(1, 6), {11, 12, 22}, range(30, 42)});
    static const Types result = join({range(1, 14), {22}, range(30, 42)});
    static const Types objectAN{30};
    static const Types boards{31, 32, 33};
    static const Types distBoard{31};
    switch (type) {
        case 1:
        case 30:
            return root;
        case 2:
            return block;
        case 3:
        case 4:
        case 11:
            return object;
        case 5:
        case 6:
            return fuse;
        case 7:
        case 8:
            return lightRod;
        case 9:
        case 10:
            return mpe;
        case 12:
            return floor;
        case 13:
            return room;
        case 14:
            return fuseOnly;
        case 22:
            return undefined;
        case 23:
        case 24:
            return result;
        case 31:
            return objectAN;
        case 32:
        case 33:
            return boards;
        default:
            return type >= 34 && type <= 42 ? distBoard : none;
    }
}

struct TypeChangeRule {
    Types parents;
    Types children;
};

// What a new type asks of the item's parent and children. Graph measurements are
// results like measurements and are accepted wherever measurements are.
const TypeChangeRule* typeChangeRule(int newType) {
    static const TypeChangeRule object{{0}, {2, 3, 4, 11, 22, 23, 24}};
    static const TypeChangeRule block{{1, 2, 5, 6}, {2, 5, 6, 12, 13, 22, 23, 24}};
    static const TypeChangeRule lightRod{{1}, {7, 8, 22, 23, 24}};
    static const TypeChangeRule mpe{{1}, {9, 10, 22, 23, 24}};
    static const TypeChangeRule fuse{{2, 5, 6}, {2, 5, 6, 14, 22, 23, 24}};
    static const TypeChangeRule rcd{{2, 5, 6}, {2, 5, 6, 22, 23, 24}};
    static const TypeChangeRule electrode{{3}, {23, 24}};
    static const TypeChangeRule connectionMpe{{4}, {23, 24}};
    static const TypeChangeRule floor{{1}, {12, 13, 22, 23, 24}};
    static const TypeChangeRule room{{11}, {13, 22, 23, 24}};
    static const TypeChangeRule table{{12}, {23, 24}};
    static const TypeChangeRule connection{{5}, {23, 24}};
    static const TypeChangeRule objectAN{{0}, {22, 23, 24, 31}};
    static const TypeChangeRule distBoard{{30}, join({{22, 23, 24}, range(31, 42)})};
    static const TypeChangeRule board{{31, 32, 33}, {22, 23, 24, 32, 33}};
    static const TypeChangeRule conductor{{31}, {22, 23, 24}};
    switch (newType) {
        case 1:
            return &object;
        case 2:
            return &block;
        case 3:
            return &lightRod;
        case 4:
            return &mpe;
        case 5:
            return &fuse;
        case 6:
            return &rcd;
        case 7:
        case 8:
            return &electrode;
        case 9:
        case 10:
            return &connectionMpe;
        case 11:
            return &floor;
        case 12:
            return &room;
        case 13:
            return &table;
        case 14:
            return &connection;
        case 30:
            return &objectAN;
        case 31:
            return &distBoard;
        case 32:
        case 33:
            return &board;
        default:
            return newType >= 34 && newType <= 42 ? &conductor : nullptr;
    }
}

void notifyInsert(EditContext& ctx, StructureItem& parent, int row) {
    if (ctx.listener) ctx.listener->beforeInsert(parent, row);
}
void notifyInserted(EditContext& ctx) {
    if (ctx.listener) ctx.listener->afterInsert();
}
void notifyChanged(EditContext& ctx, StructureItem& item) {
    if (ctx.listener) ctx.listener->itemChanged(item);
}

// Removes an item with its subtree, telling the listener.
void removeItem(EditContext& ctx, StructureItem& item) {
    if (ctx.listener) ctx.listener->beforeRemove(item);
    ctx.document.deleteItem(item);
    if (ctx.listener) ctx.listener->afterRemove();
}

std::unique_ptr<StructureItem> takeItem(EditContext& ctx, StructureItem& item) {
    if (ctx.listener) ctx.listener->beforeRemove(item);
    auto owned = ctx.document.detach(item);
    if (ctx.listener) ctx.listener->afterRemove();
    return owned;
}

StructureItem* insertItem(EditContext& ctx, StructureItem& parent,
                          std::unique_ptr<StructureItem> item, int index = -1) {
    int row = index < 0 || index > parent.childCount() ? parent.childCount() : index;
    notifyInsert(ctx, parent, row);
    StructureItem* raw = ctx.document.attach(parent, std::move(item), row);
    notifyInserted(ctx);
    return raw;
}

// Levels below `item` of its deepest descendant (0 for a leaf).
int subtreeDepth(const StructureItem& item) {
    int deepest = 0;
    std::vector<std::pair<const StructureItem*, int>> stack{{&item, 0}};
    while (!stack.empty()) {
        auto [it, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        for (const auto& c : it->children()) stack.push_back({c.get(), depth + 1});
    }
    return deepest;
}

void showLevelLimit(Prompts& prompts) {
    prompts.warning(LangText("msgMaxLevel_35"));
}

}  // namespace

bool isAcceptedParent(int movedType, int parentType) {
    return contains(acceptedParents(movedType), parentType);
}

bool typeChangeFits(int newType, int parentType, const std::vector<int>& childTypes) {
    const TypeChangeRule* rule = typeChangeRule(newType);
    if (!rule || !contains(rule->parents, parentType)) return false;
    return std::all_of(childTypes.begin(), childTypes.end(),
                       [&](int t) { return contains(rule->children, t); });
}

bool typeChangeAllowed(const StructureItem& item, int newType) {
    const StructureItem* parent = item.parent();
    if (!parent || item.isResult() || parent->type() == ItemType::Undefined) return false;
    if (newType == item.type() || newType == ItemType::Root || newType == ItemType::Undefined ||
        isResultType(newType))
        return false;
    std::vector<int> childTypes;
    childTypes.reserve(item.children().size());
    for (const auto& c : item.children()) childTypes.push_back(c->type());
    return typeChangeFits(newType, parent->type(), childTypes);
}

const std::vector<int>& addableTypes() {
    static const std::vector<int> types = join({range(1, 14), range(30, 42)});
    return types;
}

bool addCommandAllowed(int type, const StructureItem* selected) {
    if (!contains(addableTypes(), type)) return false;
    if (isObjectType(type)) return true;
    if (!selected) return false;
    return isAcceptedParent(type, selected->type()) &&
           selected->level() < StructureDocument::kMaxLevel;
}

std::vector<int> measureBitsOfType(int type) {
    switch (type) {
        case ItemType::Fuse:
            return range(0, 7);
        case ItemType::RCD:
            return {8, 9};
        case ItemType::Electrode:
            return {10, 11, 12};
        case ItemType::ConnectionEl:
            return {13};
        case ItemType::ConnectionMPE:
            return {14, 15};
        case ItemType::Earthing:
            return {16};
        default:
            return {};
    }
}

TStructItemData fillScratchRecord(int type, const SettingsPanelValues& panel) {
    TStructItemData d;
    d.Type = type;
    d.Name = DefaultName(type);
    if (panel.number) d.editTexts().Number = *panel.number;
    if (type != ItemType::Object)
        for (int i = 0; i < kParameterCount; ++i)
            if (panel.parameters[i]) parameterField(d, i) = *panel.parameters[i];
    if (panel.comment) d.editTexts().Comment = *panel.comment;
    for (int bit : measureBitsOfType(type)) d.setMeasureBit(bit, true);
    d.FirstRow = 0;
    return d;
}

AddResult AddItem(EditContext& ctx, StructureItem* selected, int type,
                  const SettingsPanelValues& panel) {
    AddResult result;
    if (selected && !ctx.document.contains(*selected)) selected = nullptr;
    StructureItem& root = ctx.document.root();
    StructureItem* parent = isObjectType(type) ? &root : (selected ? selected : &root);
    if (!contains(addableTypes(), type) ||
        (!isObjectType(type) && !isAcceptedParent(type, parent->type()))) {
        result.status = AddResult::NotAllowed;
        return result;
    }
    if (!ctx.document.canAddChild(*parent)) {
        showLevelLimit(ctx.prompts);
        result.status = AddResult::LevelLimit;
        return result;
    }
    auto item = std::make_unique<StructureItem>();
    item->data = fillScratchRecord(type, panel);
    item->data.Name = NewItemName(type, *parent);
    result.item = insertItem(ctx, *parent, std::move(item));
    result.status = AddResult::Added;
    result.selectRoot = isObjectType(type) && !selected;
    ctx.document.setModified();
    return result;
}

const std::vector<int>& mainProtCondTypes() {
    static const std::vector<int> types{34, 36, 37, 38, 39, 40, 41, 42};
    return types;
}

std::vector<AddResult> AddAllMainProtCond(EditContext& ctx, StructureItem* selected,
                                          const SettingsPanelValues& panel) {
    std::vector<AddResult> results;
    for (int type : mainProtCondTypes()) {
        results.push_back(AddItem(ctx, selected, type, panel));
        // One refusal (the level limit, a wrong parent) refuses them all alike.
        if (results.back().status != AddResult::Added) break;
    }
    return results;
}

std::string deleteQuestion(const std::string& itemName, const std::string& language) {
    if (equalsIgnoreCase(language, "DEUTSCH"))
        return itemName + "  " + LangText("msgDelItemConfirm_3") + " ?";
    return LangText("msgDelItemConfirm_3") + "  " + itemName + " ?";
}

std::string deleteQuestion(const StructureItem& item, const std::string& language) {
    int items = 0, results = 0;
    std::vector<const StructureItem*> todo;
    for (const auto& c : item.children()) todo.push_back(c.get());
    while (!todo.empty()) {
        const StructureItem* it = todo.back();
        todo.pop_back();
        ++(it->isResult() ? results : items);
        for (const auto& c : it->children()) todo.push_back(c.get());
    }
    std::string text = deleteQuestion(item.caption(), language);
    const bool root = item.parent() == nullptr;
    if (!root && items + results == 0) return text;
    std::string detail = LangText(root ? "msgDelEverything_70" : "msgDelAlsoGo_70");
    for (auto [mark, n] : {std::pair{"%1", items}, std::pair{"%2", results}})
        if (size_t at = detail.find(mark); at != std::string::npos)
            detail.replace(at, 2, std::to_string(n));
    return text + "\n" + detail;
}

bool DeleteItem(EditContext& ctx, StructureItem& item, const std::string& language) {
    if (!ctx.document.contains(item)) return false;
    Answer a = ctx.prompts.askYesNo(LangText("mbcConfirmation_20"), deleteQuestion(item, language));
    if (a != Answer::Yes) return false;
    StructureItem& root = ctx.document.root();
    if (&item == &root) {
        // The root goes with everything under it; a fresh root takes its place.
        while (root.childCount() > 0) removeItem(ctx, *root.child(root.childCount() - 1));
        root.data = TStructItemData{};
        root.data.Type = ItemType::Root;
        root.data.Name = LangText("AllItems_15");
        notifyChanged(ctx, root);
    } else {
        removeItem(ctx, item);
    }
    ctx.document.setModified();
    return true;
}

bool ChangeType(EditContext& ctx, StructureItem& item, int newType) {
    if (!typeChangeAllowed(item, newType)) return false;
    item.data.Type = newType;
    notifyChanged(ctx, item);
    ctx.document.setModified();
    return true;
}

int RedefineAll(EditContext& ctx) {
    int changed = 0;
    for (StructureItem* item : ctx.document.preorder()) {
        if (item->type() != ItemType::Undefined) continue;
        int level = item->level();
        int newType = level == 1   ? ItemType::Object
                      : level == 2 ? ItemType::Block
                      : level == 3 ? ItemType::Fuse
                                   : -1;
        if (newType < 0) continue;
        item->data.Type = newType;
        notifyChanged(ctx, *item);
        ++changed;
    }
    ctx.document.setModified();
    return changed;
}

bool CanDrop(const StructureDocument& source, const StructureItem* dragged,
             const StructureDocument& targetDocument, const StructureItem* target, bool moveMode) {
    if (!dragged || !target) return false;
    if (!source.contains(*dragged) || !targetDocument.contains(*target)) return false;
    bool sameTree = &source == &targetDocument;
    if (sameTree) {
        if (target == dragged->parent()) return false;
        if (target == dragged || dragged->isAncestorOf(target)) return false;
    }
    if (moveMode) return sameTree && target->parent() == dragged->parent();
    return isAcceptedParent(dragged->type(), target->type());
}

int fpFunctionCode(const std::string& fp) {
    if (fp.size() < 3 || fp[0] != 'F' || fp[1] != ';') return -1;
    const size_t end = fp.find(';', 2);
    if (end == std::string::npos) return -1;
    const std::string_view digits = std::string_view(fp).substr(2, end - 2);
    // Only plain numbers are codes (no sign, no leading zero), as the results reader takes them.
    if (digits.empty() || digits.size() > 9 || digits[0] == '0' ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return -1;
    return parseInt(digits).value_or(-1);
}

std::string withFunctionCode(const std::string& fp, int code) {
    const size_t end = fp.find(';', 2);
    return "F;" + std::to_string(code) + fp.substr(end);
}

namespace {

// A low code that the source raised and the target would not is written raised.
std::string dispatchedForTarget(const std::string& fp, int fromOffset, int toOffset) {
    if (fromOffset == 0 || toOffset != 0) return fp;
    const int code = fpFunctionCode(fp);
    return code >= 0 && code < 50 ? withFunctionCode(fp, code + fromOffset) : fp;
}

void writeDispatchedCodes(TStructItemData& d, int fromOffset, int toOffset) {
    for (std::string& fp : d.FpStrings) fp = dispatchedForTarget(fp, fromOffset, toOffset);
}

// Whether the coded results of a subtree, written for the target, read there as they did
// in the source: a low code that the target would raise and the source did not never
// does; the target's check (when it has one) compares the rest, such as the variant.
bool codesCanMove(const StructureItem& subtree, const EditContext& source,
                  const EditContext& target, int fromOffset, int toOffset) {
    std::vector<const StructureItem*> todo{&subtree};
    while (!todo.empty()) {
        const StructureItem* item = todo.back();
        todo.pop_back();
        for (const auto& c : item->children()) todo.push_back(c.get());
        for (const std::string& fp : item->data.FpStrings) {
            const int code = fpFunctionCode(fp);
            if (code < 0) continue;
            if (code < 50 && toOffset != 0 && fromOffset == 0) return false;
            if (target.sameMeaning &&
                !target.sameMeaning(fp, source.document,
                                    dispatchedForTarget(fp, fromOffset, toOffset), target.document,
                                    item->data.ProtVer))
                return false;
        }
    }
    return true;
}

}  // namespace

DropResult DropItem(EditContext& source, StructureItem& dragged, EditContext& target,
                    StructureItem& targetItem, bool moveMode, LinkClock* clock) {
    DropResult result;
    if (!CanDrop(source.document, &dragged, target.document, &targetItem, moveMode)) return result;

    if (moveMode) {
        StructureItem& parent = *dragged.parent();
        int index = targetItem.indexInParent();
        auto owned = takeItem(source, dragged);
        result.item = insertItem(source, parent, std::move(owned), index);
        source.document.setModified();
        result.status = DropResult::Dropped;
        return result;
    }

    BusyCursor busy(target.prompts);
    if (clock) clock->pause(0.3);
    int targetLevel = targetItem.level();
    if (targetLevel >= StructureDocument::kMaxLevel ||
        subtreeDepth(dragged) >= StructureDocument::kMaxLevel - targetLevel) {
        showLevelLimit(target.prompts);
        result.status = DropResult::LevelLimit;
        return result;
    }

    const int fromOffset = functionCodeOffset(source.document.InstrumentData.typeCode());
    const int toOffset = functionCodeOffset(target.document.InstrumentData.typeCode());
    if (&source.document != &target.document &&
        !codesCanMove(dragged, source, target, fromOffset, toOffset)) {
        target.prompts.information(LangText("msgDropMeaning_70"));
        result.status = DropResult::MeaningDiffers;
        return result;
    }

    if (&source.document == &target.document) {
        auto owned = takeItem(source, dragged);
        result.item = insertItem(target, targetItem, std::move(owned));
        target.document.setModified();
    } else {
        // Copy the subtree (records with both lists, children in order) under the
        // target, then take the original out of the source.
        auto copy = std::make_unique<StructureItem>();
        copy->data = dragged.data;
        writeDispatchedCodes(copy->data, fromOffset, toOffset);
        std::vector<std::pair<const StructureItem*, StructureItem*>> pairs{{&dragged, copy.get()}};
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            auto [from, to] = pairs[i];
            for (const auto& c : from->children()) {
                auto child = std::make_unique<StructureItem>();
                child->data = c->data;
                writeDispatchedCodes(child->data, fromOffset, toOffset);
                StructureItem* raw = target.document.attach(*to, std::move(child));
                pairs.push_back({c.get(), raw});
            }
        }
        result.item = insertItem(target, targetItem, std::move(copy));
        if (target.listener)
            for (auto& [from, to] : pairs) target.listener->itemCopied(*from, *to);
        target.document.setModified();
        removeItem(source, dragged);
        source.document.setModified();
    }
    result.status = DropResult::Dropped;
    return result;
}

}  // namespace pelvoro
