#pragma once
// The document window: the structure tree with its settings panel on the left, the
// detail-level choice and the result area on the right. Each window owns one document
// for its whole life.

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/structure_document.h"
#include "document/widgets/document_view.h"
#include "document/widgets/item_settings_panel.h"

class QAbstractItemModel;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QToolButton;
class QTreeView;
class QVBoxLayout;

namespace pelvoro {

class DocumentSubWindow;
class StructureTreeModel;
struct SettingsPanelValues;
class Prompts;
class SettingsStore;

// What a document window uses of the program around it; any of it may be missing (tests
// of the window alone). The window tells the program what changed through its signals and
// never calls into the main window.
struct DocumentWindowContext {
    SettingsStore* settings = nullptr;  // the view state and the user's structure names
    Prompts* prompts = nullptr;         // questions and messages (Qt's boxes when null)
    std::function<bool()> moveMode;     // the Move button of the structure commands
};

class TfrmChildForm : public QWidget, public DocumentView, public SettingsPanelTags {
    Q_OBJECT
  public:
    static constexpr int kRecentNames = 10;

    TfrmChildForm(DocumentWindowContext context, std::unique_ptr<StructureDocument> document,
                  QWidget* parent = nullptr);
    ~TfrmChildForm() override;

    // DocumentView
    StructureDocument& document() override { return *document_; }
    StructureItem* selectedItem() override;
    bool resultTableShown() const override;
    bool focusInResultArea() const override;

    DocumentSubWindow* subWindow() const;
    // What becoming the active document window does: the commands follow this window's
    // selection, the activation hook runs, `activated` is emitted.
    void activate();

    // Rebuilds the whole tree after the document was changed behind the window's back
    // (a reader filled it, a download replaced it).
    void reloadTree();
    // The tree model over the document (items are addressed by their StructureItem*).
    QAbstractItemModel* treeModel() const;
    QTreeView* tree() const { return tree_; }

    // Selection handling: panel, measures, name box, add-item commands, result rows.
    void SelectItem(StructureItem* item);
    // Fills the settings panel from the item.
    void ShowItem(StructureItem* item);
    void setNameReadOnly(bool readOnly);
    // Makes `item` the current item of the tree (and runs SelectItem).
    void setCurrentItem(StructureItem* item);
    void expandItem(StructureItem* item, bool expanded = true);
    bool isExpanded(StructureItem* item) const;
    // The name box's change handling for the selected item.
    void RenameSelected(const std::string& text);
    // What leaving the name box does: the name goes to the front of the recent names.
    void rememberRecentName(const std::string& name);
    const std::vector<std::string>& recentNames() const { return recentNames_; }

    // Structure commands on this window.
    void AddItem(int type);
    void DeleteItem();
    void ChangeType(int newType);
    void RedefineAll();
    void AddAllMainProtCond();
    // Show properties: the settings panel above the tree, the detail-level choice and the
    // result table docked right at their remembered width.
    void showProperties();
    // Drag and drop, also used by tests: whether `dragged` (of `source`) may be dropped
    // onto `target` of this window, and the drop itself.
    bool CanDrop(TfrmChildForm& source, StructureItem* dragged, StructureItem* target) const;
    bool DropItem(TfrmChildForm& source, StructureItem* dragged, StructureItem* target);

    // The settings panel as the add command reads it.
    SettingsPanelValues panelValues() const;
    // Parameter choice lists (from the structure names file) into the nine boxes.
    void LoadParameterLists(const std::string& structureNamesPath);

    // View state: detail level 0..2 (Full/Medium/Low) and "SUB Items".
    int viewMode() const;
    void setViewMode(int mode);
    bool showSub() const;
    void setShowSub(bool on);

    // The result area: an empty placeholder until the results table is put in.
    QWidget* resultsArea() const { return resultsArea_; }
    // Puts `table` in place of the current result area (the window takes ownership).
    void setResultsArea(QWidget* table);

    // Called after every selection change and view change, with the selected item; the
    // results table hooks in here to assign its rows.
    void setSelectionHook(std::function<void(TfrmChildForm&, StructureItem*)> hook);
    // Asked when the window is about to close: true lets it close. The file commands
    // put the save question here.
    void setCloseQuestion(std::function<bool(TfrmChildForm&)> question);

    // What every new window starts with: the close question (file commands), the
    // selection hook and the result table (results display), and what activation shows
    // (instrument data window).
    static void setDefaultCloseQuestion(std::function<bool(TfrmChildForm&)> question);
    static void setDefaultSelectionHook(std::function<void(TfrmChildForm&, StructureItem*)> hook);
    static void setResultsAreaFactory(std::function<QWidget*(TfrmChildForm&)> factory);
    static void setActivationHook(std::function<void(TfrmChildForm&)> hook);

    // Move mode of the structure commands' Move button (false without one).
    bool moveMode() const;
    Prompts& prompts() const;

    // Controls, for the main window's commands and for tests.
    QLineEdit* nameBox() const;
    // What the user may type into the name box; longer stored names show whole.
    static constexpr int kNameTypingLimit = ItemSettingsPanel::kNameTypingLimit;
    QComboBox* parameterBox(int tag) const;
    QSpinBox* numberBox() const;
    QLineEdit* commentBox() const;
    QListWidget* measuresList() const;
    QMenu* typePopup() const;
    QMenu* popupMenu() const { return popup_; }
    QWidget* settingsPanel() const { return settingsPane_; }

    // The window's tag in the main window's list (0 outside a main window).
    int tag() const;

  signals:
    void selectionChangedTo(pelvoro::StructureItem* item);
    // The program's commands should follow this window's state again.
    void commandStateChanged();
    // The add-item commands this window's selection allows (by the tag of their buttons),
    // and whether "all main protective conductors" may be added.
    void addItemCommandsChanged(const QList<int>& allowedTypes, bool allMainProtCond);
    // The popup menu's Copy and Select All.
    void copyRequested();
    void selectAllRequested();
    // The window became the active document window.
    void activated();
    // The window is closing (its close was accepted).
    void closing();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class StructureTreeView;
    class Listener;

    void buildControls();
    void translateCaptions();
    void loadViewState();
    void storeViewState();
    void refreshAfterEdit(StructureItem* select);
    void refreshAddItemCommands(StructureItem* item);
    void refreshCommandState();
    void onCurrentChanged();
    void onSubItemsToggled(bool on);
    void onViewModeClicked(int mode);
    void showPopup(const QPoint& pos);
    void updatePopupForFocus(bool treeFocus);
    void keepTreeColumnWidth();
    // After the window changes size (Tile, Cascade, the user's frame), the tree pane takes
    // what the settings and the tree need, up to half, and the results the rest; a split
    // the user set with the splitter is kept.
    void shareWidth();
    StructureItem* itemOf(const QModelIndex& index) const;
    QModelIndex indexOf(const StructureItem* item) const;

    DocumentWindowContext context_;
    std::unique_ptr<StructureDocument> document_;
    std::unique_ptr<Listener> listener_;
    StructureTreeModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* leftPane_ = nullptr;
    QWidget* rightPane_ = nullptr;
    QWidget* settingsPane_ = nullptr;
    ItemSettingsPanel* settings_ = nullptr;
    QWidget* viewPanel_ = nullptr;
    QButtonGroup* rgShowFML_ = nullptr;
    std::vector<QRadioButton*> fmlButtons_;
    QGroupBox* gbShowSUB_ = nullptr;
    QCheckBox* cbShowSUB_ = nullptr;
    QVBoxLayout* rightLayout_ = nullptr;
    QWidget* resultsArea_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* popCopy_ = nullptr;
    QAction* popSelAll_ = nullptr;
    QAction* popDelete_ = nullptr;

    std::vector<std::string> recentNames_;
    std::vector<std::string> nameAlternatives_;
    std::function<void(TfrmChildForm&, StructureItem*)> selectionHook_;
    std::function<bool(TfrmChildForm&)> closeQuestion_;
    StructureItem* shownItem_ = nullptr;
    bool dragAllowed_ = true;
    bool closing_ = false;
    bool treeChanging_ = false;
    bool selectPending_ = false;
    bool shiftDown_ = false;
    int treeColumnMinWidth_ = 0;
    int tablePanelWidth_ = 0;  // 0: half of the window
    bool userSplit_ = false;   // the user moved the splitter
    int sharedWidth_ = 0;      // the width shareWidth last worked for
    // Items of a drag source's subtree that were expanded, for the copies of a drop.
    std::set<const StructureItem*> expandedSources_;
    std::vector<StructureItem*> expandAfterDrop_;
};

// The document window shown by a main-window document view (null for another kind).
TfrmChildForm* childFormOf(DocumentView* view);

}  // namespace pelvoro
