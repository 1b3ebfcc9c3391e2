#pragma once
// Changing a document's tree: adding, deleting, changing an item's type, moving items
// by drag and drop (inside one document or between two), and "Redefine All". The rules
// are tables; views follow the changes through a TreeChangeListener.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/structure_document.h"

namespace pelvoro {

class LinkClock;
class Prompts;

// --- Rule tables -----------------------------------------------------------------------

// Whether an item of `movedType` may stand under an item of `parentType` (the drop
// rules; also what the add commands offer).
bool isAcceptedParent(int movedType, int parentType);
// Type change: the parent's type and every child's type must fit the new type.
bool typeChangeFits(int newType, int parentType, const std::vector<int>& childTypes);
// Whether the type popup offers `newType` for `item`.
bool typeChangeAllowed(const StructureItem& item, int newType);
// The types the add commands create (their buttons' tags).
const std::vector<int>& addableTypes();
// Whether the add command of `type` makes sense with `selected` (null: nothing
// selected). Objects always go under the root.
bool addCommandAllowed(int type, const StructureItem* selected);
// Bits of the measures list that belong to a type.
std::vector<int> measureBitsOfType(int type);

// --- Listener --------------------------------------------------------------------------

// Told before and after every structural change, so that a tree view can follow.
class TreeChangeListener {
  public:
    virtual ~TreeChangeListener() = default;
    virtual void beforeInsert(StructureItem& parent, int row) = 0;
    virtual void afterInsert() = 0;
    virtual void beforeRemove(StructureItem& item) = 0;
    virtual void afterRemove() = 0;
    // Name, type or icon of an item changed.
    virtual void itemChanged(StructureItem& item) = 0;
    // A drop copied `from` (of another document) into `to`.
    virtual void itemCopied(const StructureItem& from, StructureItem& to) { (void)from, (void)to; }
};

// Everything an edit needs: the document, how to ask, and who is watching.
// Whether a coded result (`fromFp` of a `from` item, as it would be written into `to`:
// `toFp`) reads the same in both documents. The results subsystem knows; without a check
// only the function code offsets of the two documents are compared.
using SameMeaningCheck =
    std::function<bool(const std::string& fromFp, const StructureDocument& from,
                       const std::string& toFp, const StructureDocument& to, int protVer)>;

struct EditContext {
    StructureDocument& document;
    Prompts& prompts;
    TreeChangeListener* listener = nullptr;
    // Drops into this document from another one refuse results that would read
    // differently here.
    SameMeaningCheck sameMeaning = {};
};

// --- Adding ----------------------------------------------------------------------------

// The settings panel as the add command sees it: a value for each control that is
// enabled (an absent value is a disabled control).
struct SettingsPanelValues {
    std::optional<std::string> number;
    std::array<std::optional<std::string>, 9> parameters;  // Phase .. DiffCurrent
    std::optional<std::string> comment;
};

// The scratch record of a new item of `type`.
TStructItemData fillScratchRecord(int type, const SettingsPanelValues& panel);

struct AddResult {
    enum Status { Added, LevelLimit, NotAllowed };
    Status status = NotAllowed;
    StructureItem* item = nullptr;
    // Nothing was selected and an object was added: the root is to be expanded and
    // selected.
    bool selectRoot = false;
};

// Adds an item of `type` under the selected item (objects under the root). Refuses a
// type that may not stand under the selected item, and an item that would be deeper
// than the level limit ("msgMaxLevel_35"). Sets Modified when an item was added.
AddResult AddItem(EditContext& ctx, StructureItem* selected, int type,
                  const SettingsPanelValues& panel);
// Adds the main protective conductors (all but the main equipotential bonding).
std::vector<AddResult> AddAllMainProtCond(EditContext& ctx, StructureItem* selected,
                                          const SettingsPanelValues& panel);
const std::vector<int>& mainProtCondTypes();

// --- Deleting --------------------------------------------------------------------------

// The confirmation text (the name goes first in German).
std::string deleteQuestion(const std::string& itemName, const std::string& language);
// The same for `item`, with a second line that says what goes with it: how many items
// and results below it, and for the root that the whole document is emptied.
std::string deleteQuestion(const StructureItem& item, const std::string& language);
// Asks, then deletes `item` with its subtree; deleting the root leaves a fresh root.
// True when something was deleted.
bool DeleteItem(EditContext& ctx, StructureItem& item, const std::string& language);

// --- Type change, Redefine All ---------------------------------------------------------

bool ChangeType(EditContext& ctx, StructureItem& item, int newType);
// Undefined items become Object, Block or Fuse by level (1, 2, 3). Returns the number of
// items changed; Modified is set in any case.
int RedefineAll(EditContext& ctx);

// --- Drag and drop ---------------------------------------------------------------------

// Whether `dragged` of `source` may be dropped onto `target` of `targetDocument`.
bool CanDrop(const StructureDocument& source, const StructureItem* dragged,
             const StructureDocument& targetDocument, const StructureItem* target, bool moveMode);

// The function code of a coded result (the field after "F;"), or -1 when it has none.
int fpFunctionCode(const std::string& fp);
// `fp` with its function code replaced by `code`.
std::string withFunctionCode(const std::string& fp, int code);

struct DropResult {
    // MeaningDiffers: the target document would read the moved coded results as other
    // functions ("msgDropMeaning_70" was shown).
    enum Status { Refused, LevelLimit, Dropped, MeaningDiffers };
    Status status = Refused;
    // The dropped item in the target tree (the same item when it moved inside one tree).
    StructureItem* item = nullptr;
};

// Move mode: the item takes the target's place among their common parent's children.
// Otherwise the item with its subtree becomes the target's last child (copied when the
// target is another document, whose Modified is set too). Coded results keep what they
// mean in another document: a function code that the source reads with an offset is
// written with it; a code below 50 that the target would read with an offset it did not
// have in the source refuses the drop. `clock`, when given, makes
// the short pause before a drop.
DropResult DropItem(EditContext& source, StructureItem& dragged, EditContext& target,
                    StructureItem& targetItem, bool moveMode, LinkClock* clock = nullptr);

}  // namespace pelvoro
