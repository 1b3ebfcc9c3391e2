#pragma once
// The structure names dialog: each item type's default name with its list of
// alternative names, edited in one drop-down box per type.

#include <QDialog>
#include <map>

#include "common/widgets/dialog_buttons.h"
#include "document/item_names.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace pelvoro {

class SettingsStore;

class TfrmStructNames : public QDialog {
    Q_OBJECT
  public:
    // `names` is what the dialog shows and changes; `store` keeps them between runs (may
    // be null); `originalsPath` is the structure names file with the shipped names.
    TfrmStructNames(StructureNames& names, SettingsStore* store, std::string originalsPath,
                    QWidget* parent = nullptr);

    // Fills the boxes from the names; OK writes them back (and to the store).
    void loadBoxes();
    void applyBoxes();
    // "Default Names": the shipped names into the boxes.
    void loadOriginalBoxes();

    QComboBox* box(int type) const;
    QPushButton* addNameButton() const { return btnAddName_; }
    // "Add Name": the text of the last entered box goes to the top of its list.
    void addName();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void translate();
    void updateAddName();
    void fillBoxes(const StructureNames& names);

    StructureNames& names_;
    SettingsStore* store_;
    std::string originalsPath_;
    std::map<int, QComboBox*> boxes_;
    std::map<int, QLabel*> labels_;
    QTabWidget* pages_ = nullptr;
    QPushButton* btnAddName_ = nullptr;
    QPushButton* btnDefNames_ = nullptr;
    OkCancelButtons okCancel_;
    QComboBox* lastEntered_ = nullptr;
};

}  // namespace pelvoro
