#pragma once
// The settings panel above the structure tree: the item's name box, and the controls that
// exist, are filled and read but are never shown (the nine parameter boxes, number,
// comment, the type button and the measures list). The document window says which item
// it shows; the panel fills its controls from the item and writes the user's edits back.

#include <QGroupBox>
#include <QStringList>
#include <vector>

#include "document/item_names.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSpinBox;
class QToolButton;

namespace pelvoro {

class StructureItem;
struct SettingsPanelValues;
struct TStructItemData;

// Tags of the settings panel's controls.
struct SettingsPanelTags {
    enum PanelTag {
        kTagName = 101,
        kTagPhase = 102,
        kTagNumber = 103,
        kTagCrossSect = 104,
        kTagWiring = 105,
        kTagInsulation = 106,
        kTagCircBreak = 107,
        kTagTime = 108,
        kTagType = 109,
        kTagNomCurr = 110,
        kTagDiffCurr = 111,
        kTagComment = 112,
    };
};

class ItemSettingsPanel : public QGroupBox, public SettingsPanelTags {
    Q_OBJECT
  public:
    explicit ItemSettingsPanel(QWidget* parent = nullptr);

    // What the user may type into the name box; longer stored names show whole.
    static constexpr int kNameTypingLimit = 16;
    static constexpr int kMeasureEntries = 17;

    void translateCaptions();
    // Enables the controls that the item's type has and empties the others (null: none).
    void prepareFor(const StructureItem* item);
    // Fills the controls from the item (null: an empty name box).
    void showItem(const StructureItem* item);
    void setNameReadOnly(bool readOnly);
    void setNameCompletions(const QStringList& names);
    void setTypeIcon(int type);
    // Which type changes the rules allow for the item (its entries stay hidden).
    void offerTypeChanges(const StructureItem* item);
    // The panel as the add command reads it.
    SettingsPanelValues values() const;
    // Choice lists (from the structure names file) into the nine parameter boxes; what
    // each box shows stays.
    void loadParameterLists(const ParameterLists& lists);

    // Writes what the user typed into the control `tag` into `data`. False (nothing
    // written) when the edit did not come from the user (the control has no focus).
    bool storeField(int tag, TStructItemData& data) const;
    // Writes the measure entry's check into `data`.
    bool storeMeasure(int index, TStructItemData& data) const;

    QLineEdit* nameBox() const { return edName_; }
    QComboBox* parameterBox(int tag) const;
    QSpinBox* numberBox() const { return seNumber_; }
    QLineEdit* commentBox() const { return edComment_; }
    QListWidget* measuresList() const { return clbMeasure_; }
    QMenu* typePopup() const { return typePopup_; }
    QToolButton* typeButton() const { return tbnType_; }

  signals:
    // The user changed a control (by its tag) or a measure entry, or chose a type.
    void fieldEdited(int tag);
    void measureClicked(int index);
    void typeChosen(int type);

  private:
    bool hasFocus(QWidget* control) const;

    QLabel* lbObjectName_ = nullptr;
    QLineEdit* edName_ = nullptr;
    std::vector<QComboBox*> paramBoxes_;  // tags 102, 104 .. 111 in tag order
    std::vector<QLabel*> paramLabels_;
    QLabel* lbNumber_ = nullptr;
    QSpinBox* seNumber_ = nullptr;
    QLabel* lbComment_ = nullptr;
    QLineEdit* edComment_ = nullptr;
    QLabel* lbItemType_ = nullptr;
    QToolButton* tbnType_ = nullptr;
    QMenu* typePopup_ = nullptr;
    QGroupBox* gbMeasure_ = nullptr;
    QListWidget* clbMeasure_ = nullptr;
    bool filling_ = false;  // the panel fills its controls: no edits are reported
};

}  // namespace pelvoro
