#pragma once
// What the main window needs to know of a document window, whatever widget shows it.

namespace pelvoro {

class StructureDocument;
class StructureItem;

class DocumentView {
  public:
    virtual ~DocumentView() = default;
    virtual StructureDocument& document() = 0;
    // The item selected in the tree, or null.
    virtual StructureItem* selectedItem() = 0;
    virtual bool resultTableShown() const = 0;
    // The keyboard focus is in the result table, the "SUB Items" box or the detail choice.
    virtual bool focusInResultArea() const = 0;
};

}  // namespace pelvoro
