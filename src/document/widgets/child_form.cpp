#include "document/widgets/child_form.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDrag>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStringListModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/identity.h"
#include "app/widgets/icon_library.h"
#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "common/text.h"
#include "common/widgets/qt_prompts.h"
#include "document/item_names.h"
#include "document/item_types.h"
#include "document/structure_editing.h"
#include "instrument/widgets/instrument_commands.h"
#include "results/results_loading.h"

namespace pelvoro {

namespace {

const char* const kItemMime = "application/x-pelvoro-structure-item";

std::function<bool(TfrmChildForm&)>& defaultCloseQuestion() {
    static std::function<bool(TfrmChildForm&)> q;
    return q;
}
std::function<void(TfrmChildForm&, StructureItem*)>& defaultSelectionHook() {
    static std::function<void(TfrmChildForm&, StructureItem*)> h;
    return h;
}
std::function<QWidget*(TfrmChildForm&)>& resultsAreaFactory() {
    static std::function<QWidget*(TfrmChildForm&)> f;
    return f;
}
std::function<void(TfrmChildForm&)>& activationHook() {
    static std::function<void(TfrmChildForm&)> h;
    return h;
}

// Label keys of the nine parameter boxes, in panel order (tags 102, 104 .. 111).
struct ParamControl {
    int tag;
    const char* labelKey;
    const char* objectName;
};
const ParamControl kParamControls[kParameterCount] = {
    {TfrmChildForm::kTagPhase, "lbPhase_15", "cbPhase"},
    {TfrmChildForm::kTagCrossSect, "lbCrossSect_15", "cbCrossSect"},
    {TfrmChildForm::kTagWiring, "lbWiring_15", "cbWiring"},
    {TfrmChildForm::kTagInsulation, "lbInsulation_15", "cbInsulation"},
    {TfrmChildForm::kTagCircBreak, "lbCircBreak_15", "cbCircBreak"},
    {TfrmChildForm::kTagTime, "lbTime_15", "cbTime"},
    {TfrmChildForm::kTagType, "lbType_15", "cbType"},
    {TfrmChildForm::kTagNomCurr, "lbNomCurr_15", "cbNomCurr"},
    {TfrmChildForm::kTagDiffCurr, "lbDiffCurr_15", "cbDiffCurr"},
};

constexpr int kMeasureEntries = 17;

bool parametersApply(int type) {
    return type == ItemType::Object || type == ItemType::Block || type == ItemType::Fuse ||
           type == ItemType::RCD;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The tree model: a thin view of the document, addressed by StructureItem pointers, so
// that documents of any size open at once.

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

    QVariant data(const QModelIndex& index, int role) const override {
        StructureItem* item = itemOf(index);
        if (!item) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole) return toQt(item->caption());
        if (role == Qt::DecorationRole) {
            // An item with a measured curve shows the graph icon, whatever its type.
            int type =
                item->data.Graph.hasSamples() ? int(ItemType::GraphMeasurement) : item->type();
            auto it = icons_.find(type);
            if (it == icons_.end()) it = icons_.insert(type, itemTypeQIcon(type));
            return it->isNull() ? QVariant() : QVariant(*it);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (section == 0 && o == Qt::Horizontal && role == Qt::DisplayRole) return header_;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
               Qt::ItemIsDropEnabled;
    }
    QStringList mimeTypes() const override { return {kItemMime}; }
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

class TfrmChildForm::Listener : public TreeChangeListener {
  public:
    explicit Listener(TfrmChildForm& form) : form_(form) {}
    void beforeInsert(StructureItem& parent, int row) override {
        form_.treeChanging_ = true;
        form_.model_->beginInsert(parent, row);
    }
    void afterInsert() override {
        form_.model_->endInsert();
        finished();
    }
    void beforeRemove(StructureItem& item) override {
        if (form_.shownItem_ && (form_.shownItem_ == &item || item.isAncestorOf(form_.shownItem_)))
            form_.shownItem_ = nullptr;
        form_.treeChanging_ = true;
        form_.model_->beginRemove(item);
    }
    void afterRemove() override {
        form_.model_->endRemove();
        finished();
    }
    void itemChanged(StructureItem& item) override { form_.model_->changed(item); }
    void itemCopied(const StructureItem& from, StructureItem& to) override {
        if (form_.expandedSources_.count(&from)) form_.expandAfterDrop_.push_back(&to);
    }

  private:
    // A selection change that the view made during the change is handled once the tree is
    // consistent again.
    void finished() {
        form_.treeChanging_ = false;
        if (form_.selectPending_) {
            form_.selectPending_ = false;
            form_.SelectItem(form_.selectedItem());
        }
    }
    TfrmChildForm& form_;
};

// ---------------------------------------------------------------------------------------
// The tree view: drag and drop between items, inside one window and between windows.

class StructureTreeView : public QTreeView {
  public:
    // The width the names of the shown items need, indentation included.
    int namesWidth() const { return sizeHintForColumn(0); }
    explicit StructureTreeView(TfrmChildForm& form) : QTreeView(&form), form_(form) {
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

    StructureItem* dragged() const { return dragged_; }
    bool shiftDown = false;

  protected:
    void startDrag(Qt::DropActions) override {
        if (!form_.dragAllowed_) return;
        StructureItem* item = form_.itemOf(currentIndex());
        if (!item) return;
        dragged_ = item;
        auto* drag = new QDrag(this);
        auto* mime = new QMimeData;
        mime->setData(kItemMime, QByteArray::number(form_.tag()));
        drag->setMimeData(mime);
        QIcon icon = itemTypeQIcon(item->type());
        if (!icon.isNull()) drag->setPixmap(icon.pixmap(16, 16));
        // The drop does the work itself; the view must not remove anything afterwards.
        drag->exec(Qt::MoveAction);
        dragged_ = nullptr;
    }

    void dragEnterEvent(QDragEnterEvent* e) override {
        if (sourceOf(e))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
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
    void dragLeaveEvent(QDragLeaveEvent* e) override {
        setDropTarget(nullptr);
        QTreeView::dragLeaveEvent(e);
    }
    void dropEvent(QDropEvent* e) override {
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

    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Shift) setShift(true);
        QTreeView::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Shift) setShift(false);
        QTreeView::keyReleaseEvent(e);
    }

    void paintEvent(QPaintEvent* e) override {
        QTreeView::paintEvent(e);
        if (!dropTarget_) return;
        QRect r = visualRect(form_.indexOf(dropTarget_));
        if (!r.isValid()) return;
        QPainter p(viewport());
        // Blue in move mode (or while Shift is held), green otherwise.
        p.setPen(QPen(form_.moveMode() || shiftDown ? QColor(0, 0, 255) : QColor(0, 160, 0), 2));
        p.drawRect(r.adjusted(1, 1, -1, -1));
    }

  private:
    StructureTreeView* sourceOf(QDropEvent* e) const {
        if (!e->mimeData() || !e->mimeData()->hasFormat(kItemMime)) return nullptr;
        auto* src = dynamic_cast<StructureTreeView*>(e->source());
        return src && src->dragged_ ? src : nullptr;
    }
    void setDropTarget(StructureItem* item) {
        if (item == dropTarget_) return;
        dropTarget_ = item;
        viewport()->update();
    }
    void setShift(bool down) {
        if (shiftDown == down) return;
        shiftDown = down;
        viewport()->update();
    }

    TfrmChildForm& form_;
    StructureItem* dragged_ = nullptr;
    StructureItem* dropTarget_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Creation

TfrmChildForm::TfrmChildForm(TfrmMainForm* mainWindow, std::unique_ptr<StructureDocument> document,
                             QWidget* parent)
    : QWidget(parent), main_(mainWindow), document_(std::move(document)) {
    setObjectName("TfrmChildForm");
    if (!document_) document_ = std::make_unique<StructureDocument>();
    listener_ = std::make_unique<Listener>(*this);
    selectionHook_ = defaultSelectionHook();
    closeQuestion_ = defaultCloseQuestion();
    buildControls();
    translateCaptions();
    loadViewState();
    if (main_) {
        connect(main_->mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
            if (w && w == parentWidget()) onActivated();
        });
    }
}

TfrmChildForm::~TfrmChildForm() {
    // The view goes before the document it shows.
    delete tree_;
    tree_ = nullptr;
}

void TfrmChildForm::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("splitter");
    splitter_->setChildrenCollapsible(false);
    outer->addWidget(splitter_);

    // Left pane: settings panel above the tree.
    leftPane_ = new QWidget(splitter_);
    leftPane_->setObjectName("pnlLeft");
    auto* left = new QVBoxLayout(leftPane_);
    left->setContentsMargins(0, 0, 0, 0);

    settingsPane_ = new QWidget(leftPane_);
    settingsPane_->setObjectName("pnlSettings");
    auto* settingsLayout = new QVBoxLayout(settingsPane_);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    gbSettings_ = new QGroupBox(settingsPane_);
    gbSettings_->setObjectName("gbSettings");
    settingsLayout->addWidget(gbSettings_);
    auto* gb = new QVBoxLayout(gbSettings_);
    lbObjectName_ = new QLabel(gbSettings_);
    lbObjectName_->setObjectName("lbObjectName");
    edName_ = new QLineEdit(gbSettings_);
    edName_->setObjectName("cbItemName");
    edName_->setProperty("tag", kTagName);
    edName_->setMaxLength(kNameTypingLimit);
    lbObjectName_->setBuddy(edName_);
    auto* completer = new QCompleter(new QStringListModel(edName_), edName_);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    edName_->setCompleter(completer);
    // A plain edit field 1.6 times the width of the original drop-down box.
    edName_->setMinimumWidth(int(std::lround(1.6 * 121)));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(lbObjectName_);
    nameRow->addWidget(edName_, 1);
    gb->addLayout(nameRow);

    // Controls that exist, are filled and read, but are never shown.
    auto* hidden = new QWidget(gbSettings_);
    hidden->setObjectName("pnlHiddenSettings");
    auto* hl = new QGridLayout(hidden);
    int row = 0;
    for (const ParamControl& pc : kParamControls) {
        auto* label = new QLabel(hidden);
        auto* box = new QComboBox(hidden);
        box->setObjectName(pc.objectName);
        box->setEditable(true);
        box->setProperty("tag", pc.tag);
        label->setProperty("key", pc.labelKey);
        hl->addWidget(label, row, 0);
        hl->addWidget(box, row, 1);
        ++row;
        paramBoxes_.push_back(box);
        paramLabels_.push_back(label);
        int tag = pc.tag;
        connect(box, &QComboBox::editTextChanged, this, [this, tag] { onPanelEdited(tag); });
    }
    lbNumber_ = new QLabel(hidden);
    seNumber_ = new QSpinBox(hidden);
    seNumber_->setObjectName("seNumber");
    seNumber_->setRange(1, 1000);
    seNumber_->setProperty("tag", kTagNumber);
    hl->addWidget(lbNumber_, row, 0);
    hl->addWidget(seNumber_, row++, 1);
    connect(seNumber_, &QSpinBox::valueChanged, this, [this] { onPanelEdited(kTagNumber); });
    lbComment_ = new QLabel(hidden);
    edComment_ = new QLineEdit(hidden);
    edComment_->setObjectName("edComment");
    edComment_->setProperty("tag", kTagComment);
    hl->addWidget(lbComment_, row, 0);
    hl->addWidget(edComment_, row++, 1);
    connect(edComment_, &QLineEdit::textEdited, this, [this] { onPanelEdited(kTagComment); });
    lbItemType_ = new QLabel(hidden);
    tbnType_ = new QToolButton(hidden);
    tbnType_->setObjectName("tbnType");
    typePopup_ = new QMenu(tbnType_);
    typePopup_->setObjectName("pmItemType");
    for (int type : addableTypes()) {
        QAction* a = typePopup_->addAction(QString::number(type));
        a->setData(type);
        a->setIcon(itemTypeQIcon(type));
        connect(a, &QAction::triggered, this, [this, type] { ChangeType(type); });
    }
    tbnType_->setMenu(typePopup_);
    tbnType_->setPopupMode(QToolButton::InstantPopup);
    hl->addWidget(lbItemType_, row, 0);
    hl->addWidget(tbnType_, row++, 1);
    gbMeasure_ = new QGroupBox(hidden);
    gbMeasure_->setObjectName("gbMeasure");
    auto* ml = new QVBoxLayout(gbMeasure_);
    clbMeasure_ = new QListWidget(gbMeasure_);
    clbMeasure_->setObjectName("clbMeasure");
    for (int i = 0; i < kMeasureEntries; ++i) {
        auto* entry = new QListWidgetItem(clbMeasure_);
        entry->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        entry->setCheckState(Qt::Unchecked);
    }
    ml->addWidget(clbMeasure_);
    hl->addWidget(gbMeasure_, row++, 0, 1, 2);
    connect(clbMeasure_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* entry) { onMeasureClicked(clbMeasure_->row(entry)); });
    hidden->hide();
    gb->addWidget(hidden);
    // Twice as high as the name box with its label.
    gbSettings_->setFixedHeight(2 * (edName_->sizeHint().height() + 4) +
                                gbSettings_->fontMetrics().height());
    settingsPane_->setFixedHeight(gbSettings_->height() + 2);
    left->addWidget(settingsPane_);

    model_ = new StructureTreeModel(*document_, this);
    auto* view = new StructureTreeView(*this);
    tree_ = view;
    tree_->setModel(model_);
    tree_->header()->setStretchLastSection(true);
    left->addWidget(tree_, 1);
    treeColumnMinWidth_ =
        int(std::lround(1.25 * (edName_->minimumWidth() + tbnType_->sizeHint().width())));
    tree_->header()->setMinimumSectionSize(treeColumnMinWidth_);
    // The left pane stays wider than the tree column's minimum.
    leftPane_->setMinimumWidth(treeColumnMinWidth_ + 15);

    // Right pane: detail level and "SUB Items" above the result area.
    rightPane_ = new QWidget(splitter_);
    rightPane_->setObjectName("pnlRight");
    rightLayout_ = new QVBoxLayout(rightPane_);
    rightLayout_->setContentsMargins(0, 0, 0, 0);
    viewPanel_ = new QWidget(rightPane_);
    viewPanel_->setObjectName("pnlShowFML");
    auto* vp = new QHBoxLayout(viewPanel_);
    vp->setContentsMargins(0, 0, 0, 0);
    rgShowFML_ = new QButtonGroup(this);
    rgShowFML_->setObjectName("rgShowFML");
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(viewPanel_);
        b->setObjectName(QString("rbShowFML%1").arg(i));
        rgShowFML_->addButton(b, i);
        vp->addWidget(b);
        fmlButtons_.push_back(b);
    }
    fmlButtons_[0]->setChecked(true);
    connect(rgShowFML_, &QButtonGroup::idClicked, this, [this](int id) { onViewModeClicked(id); });
    gbShowSUB_ = new QGroupBox(viewPanel_);
    gbShowSUB_->setObjectName("gbShowSUB");
    auto* sl = new QHBoxLayout(gbShowSUB_);
    cbShowSUB_ = new QCheckBox(gbShowSUB_);
    cbShowSUB_->setObjectName("cbShowSUB");
    cbShowSUB_->setChecked(true);
    sl->addWidget(cbShowSUB_);
    vp->addWidget(gbShowSUB_);
    vp->addStretch(1);
    connect(cbShowSUB_, &QCheckBox::clicked, this, [this](bool on) { onSubItemsToggled(on); });
    rightLayout_->addWidget(viewPanel_);
    resultsArea_ = resultsAreaFactory() ? resultsAreaFactory()(*this) : nullptr;
    if (!resultsArea_) resultsArea_ = new QWidget;
    resultsArea_->setParent(rightPane_);
    if (resultsArea_->objectName().isEmpty()) resultsArea_->setObjectName("sgResults");
    resultsArea_->setContextMenuPolicy(Qt::CustomContextMenu);
    rightLayout_->addWidget(resultsArea_, 1);

    splitter_->addWidget(leftPane_);
    splitter_->addWidget(rightPane_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 1);
    // The table panel keeps the width the user gives it.
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        tablePanelWidth_ = splitter_->sizes().value(1);
        userSplit_ = true;
    });

    // Popup menu of the tree and the result area.
    popup_ = new QMenu(this);
    popup_->setObjectName("pmTreeTable");
    popCopy_ = popup_->addAction(QString());
    popSelAll_ = popup_->addAction(QString());
    popDelete_ = popup_->addAction(QString());
    connect(popCopy_, &QAction::triggered, this, [this] {
        if (main_ && main_->hasCommandHandler("EditCopy")) main_->runCommand("EditCopy");
    });
    connect(popSelAll_, &QAction::triggered, this, [this] {
        if (main_ && main_->hasCommandHandler("EditSelectAll")) main_->runCommand("EditSelectAll");
    });
    connect(popDelete_, &QAction::triggered, this, [this] { DeleteItem(); });
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        updatePopupForFocus(true);
        popup_->popup(tree_->viewport()->mapToGlobal(p));
    });
    connect(resultsArea_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        updatePopupForFocus(false);
        popup_->popup(resultsArea_->mapToGlobal(p));
    });

    // Selection, keyboard and renaming.
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { onCurrentChanged(); });
    connect(tree_, &QTreeView::doubleClicked, this, [this] {
        if (!edName_->isReadOnly()) edName_->setFocus();
    });
    connect(edName_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (edName_->hasFocus()) RenameSelected(fromQt(t));
    });
    connect(edName_, &QLineEdit::editingFinished, this,
            [this] { rememberRecentName(fromQt(edName_->text())); });
    connect(edName_, &QLineEdit::returnPressed, this, [this] { tree_->setFocus(); });
    tree_->installEventFilter(this);
}

void TfrmChildForm::translateCaptions() {
    gbSettings_->setTitle(" " + toQt(LangText("gbSettings_15")) + " ");
    lbObjectName_->setText(toQt(LangText("lbObjectName_15")));
    for (int i = 0; i < kParameterCount; ++i)
        paramLabels_[i]->setText(toQt(LangText(kParamControls[i].labelKey)));
    lbNumber_->setText(toQt(LangText("lbNumber_15")));
    lbComment_->setText(toQt(LangText("lbComment_15")));
    lbItemType_->setText(toQt(LangText("lbItemType_15")));
    gbMeasure_->setTitle(toQt(LangText("gbMeasure_15")));
    for (int i = 0; i < kMeasureEntries; ++i)
        clbMeasure_->item(i)->setText(toQt(LangText("Measure" + std::to_string(i) + "_70")));
    for (QAction* a : typePopup_->actions()) {
        const ItemTypeInfo* info = itemTypeInfo(a->data().toInt());
        if (info && info->addCaptionKey && *info->addCaptionKey)
            a->setText(toQt(LangText(info->addCaptionKey)));
        // Type changes are not offered in this program's menus.
        a->setVisible(false);
    }
    popCopy_->setText(toQt(LangText("mmEditCopy_15")));
    popSelAll_->setText(toQt(LangText("mmEditSelAll_15")));
    popDelete_->setText(toQt(LangText("mmStructDelIitem_15")));
    model_->setHeader(toQt(LangText("Structure_15")));
    const char* fml[] = {"Full_15", "Medium_15", "Low_15"};
    for (int i = 0; i < 3; ++i) fmlButtons_[i]->setText(toQt(LangText(fml[i])));
    cbShowSUB_->setText(toQt(LangText("ShowSUB_15")));
    // Hidden from the start: the type button and its label, the "SUB Items" box.
    tbnType_->hide();
    lbItemType_->hide();
    gbShowSUB_->hide();
}

void TfrmChildForm::loadViewState() {
    if (!main_) return;
    SettingsStore& s = main_->settings();
    if (auto fml = s.readInt("FML_State"); fml && *fml >= 0 && *fml <= 2) setViewMode(*fml);
    if (auto sub = s.readBool("SUB_State")) setShowSub(*sub);
}

void TfrmChildForm::storeViewState() {
    if (!main_) return;
    main_->settings().writeInt("FML_State", viewMode());
    main_->settings().writeBool("SUB_State", showSub());
}

// ---------------------------------------------------------------------------------------
// Static hooks

void TfrmChildForm::setDefaultCloseQuestion(std::function<bool(TfrmChildForm&)> q) {
    defaultCloseQuestion() = std::move(q);
}
void TfrmChildForm::setDefaultSelectionHook(std::function<void(TfrmChildForm&, StructureItem*)> h) {
    defaultSelectionHook() = std::move(h);
}
void TfrmChildForm::setResultsAreaFactory(std::function<QWidget*(TfrmChildForm&)> f) {
    resultsAreaFactory() = std::move(f);
}
void TfrmChildForm::setActivationHook(std::function<void(TfrmChildForm&)> h) {
    activationHook() = std::move(h);
}

void TfrmChildForm::setSelectionHook(std::function<void(TfrmChildForm&, StructureItem*)> hook) {
    selectionHook_ = std::move(hook);
}
void TfrmChildForm::setCloseQuestion(std::function<bool(TfrmChildForm&)> question) {
    closeQuestion_ = std::move(question);
}

// ---------------------------------------------------------------------------------------
// Small accessors

StructureItem* TfrmChildForm::itemOf(const QModelIndex& index) const {
    return model_->itemOf(index);
}
QModelIndex TfrmChildForm::indexOf(const StructureItem* item) const {
    return model_->indexOf(item);
}
QAbstractItemModel* TfrmChildForm::treeModel() const {
    return model_;
}

StructureItem* TfrmChildForm::selectedItem() {
    if (!tree_) return nullptr;
    return itemOf(tree_->currentIndex());
}

bool TfrmChildForm::resultTableShown() const {
    return !rightPane_->isHidden() && !resultsArea_->isHidden();
}

bool TfrmChildForm::focusInResultArea() const {
    QWidget* f = QApplication::focusWidget();
    if (!f) return false;
    if (f == resultsArea_ || resultsArea_->isAncestorOf(f) || f == cbShowSUB_) return true;
    for (QRadioButton* b : fmlButtons_)
        if (f == b) return true;
    return false;
}

DocumentSubWindow* TfrmChildForm::subWindow() const {
    return qobject_cast<DocumentSubWindow*>(parentWidget());
}
int TfrmChildForm::tag() const {
    return subWindow() ? subWindow()->tag() : 0;
}

bool TfrmChildForm::moveMode() const {
    return main_ && main_->moveMode();
}

Prompts& TfrmChildForm::prompts() const {
    if (main_) return main_->prompts();
    static QtPrompts fallback;
    return fallback;
}

QComboBox* TfrmChildForm::parameterBox(int tag) const {
    for (int i = 0; i < kParameterCount; ++i)
        if (kParamControls[i].tag == tag) return paramBoxes_[i];
    return nullptr;
}

int TfrmChildForm::viewMode() const {
    return std::max(0, rgShowFML_->checkedId());
}
void TfrmChildForm::setViewMode(int mode) {
    if (mode < 0 || mode > 2) return;
    fmlButtons_[mode]->setChecked(true);
    document_->ViewMode = mode;
}
bool TfrmChildForm::showSub() const {
    return cbShowSUB_->isChecked();
}
void TfrmChildForm::setShowSub(bool on) {
    cbShowSUB_->setChecked(on);
}

void TfrmChildForm::setResultsArea(QWidget* table) {
    if (!table || table == resultsArea_) return;
    rightLayout_->replaceWidget(resultsArea_, table);
    resultsArea_->deleteLater();
    resultsArea_ = table;
    resultsArea_->setParent(rightPane_);
    resultsArea_->show();
    resultsArea_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(resultsArea_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        updatePopupForFocus(false);
        popup_->popup(resultsArea_->mapToGlobal(p));
    });
}

void TfrmChildForm::reloadTree() {
    shownItem_ = nullptr;
    model_->reset();
    tree_->expand(indexOf(&document_->root()));
}

void TfrmChildForm::setCurrentItem(StructureItem* item) {
    if (!item) return;
    QModelIndex i = indexOf(item);
    tree_->setCurrentIndex(i);
    tree_->scrollTo(i);
    // Selecting the item that already is current still runs the selection handling.
    if (shownItem_ != item) SelectItem(item);
}

void TfrmChildForm::expandItem(StructureItem* item, bool expanded) {
    if (item) tree_->setExpanded(indexOf(item), expanded);
}
bool TfrmChildForm::isExpanded(StructureItem* item) const {
    return item && tree_->isExpanded(indexOf(item));
}

// ---------------------------------------------------------------------------------------
// Selection

void TfrmChildForm::onCurrentChanged() {
    if (treeChanging_) {
        selectPending_ = true;
        return;
    }
    SelectItem(selectedItem());
}

void TfrmChildForm::SelectItem(StructureItem* item) {
    dragAllowed_ = false;
    refreshAddItemCommands(item);
    filling_ = true;
    int type = item ? item->type() : -1;
    bool params = item && parametersApply(type);
    for (int i = 0; i < kParameterCount; ++i) {
        paramBoxes_[i]->setEnabled(params);
        paramLabels_[i]->setEnabled(params);
        if (!params) paramBoxes_[i]->setEditText(QString());
    }
    nameAlternatives_ = item ? structureNames().alternatives(type) : std::vector<std::string>{};
    for (int i = 0; i < kMeasureEntries; ++i) {
        QListWidgetItem* e = clbMeasure_->item(i);
        e->setCheckState(Qt::Unchecked);
        e->setFlags(Qt::ItemIsUserCheckable);
    }
    for (int bit : measureBitsOfType(type))
        clbMeasure_->item(bit)->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    filling_ = false;

    ShowItem(item);
    if (selectionHook_) selectionHook_(*this, item);

    bool nameEditable = item && item->parent() && !item->isResult();
    setNameReadOnly(!nameEditable);
    if (recentNames_.size() > std::size_t(kRecentNames)) recentNames_.resize(kRecentNames);
    QStringList list;
    for (const auto& n : nameAlternatives_) list << toQt(n);
    for (const auto& n : recentNames_)
        if (!list.contains(toQt(n))) list << toQt(n);
    static_cast<QStringListModel*>(edName_->completer()->model())->setStringList(list);
    fillTypePopup(item);
    dragAllowed_ = true;
    emit selectionChangedTo(item);
    if (main_) main_->RefreshCommandState();
}

void TfrmChildForm::setNameReadOnly(bool readOnly) {
    // A name that cannot be changed reads like a label in a frame: its text in the normal
    // colour on the window's background, not greyed out like an empty hint.
    edName_->setReadOnly(readOnly);
    QPalette p = palette();
    if (readOnly) p.setColor(QPalette::Base, p.color(QPalette::Window));
    edName_->setPalette(p);
    edName_->setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
}

void TfrmChildForm::ShowItem(StructureItem* item) {
    shownItem_ = item;
    filling_ = true;
    if (!item) {
        edName_->clear();
        filling_ = false;
        return;
    }
    const TStructItemData& d = item->data;
    model_->changed(*item);  // the icon follows the type
    // The length limit is for typing: a longer name from a file or a tester shows whole
    // and stays whole unless the user shortens it.
    const QString name = toQt(d.Name);
    edName_->setMaxLength(32767);
    edName_->setText(name);
    edName_->setMaxLength(std::max(kNameTypingLimit, int(name.size())));
    tbnType_->setIcon(itemTypeQIcon(d.Type));
    if (!d.Number.empty()) seNumber_->setValue(parseInt(d.Number).value_or(1));
    for (int i = 0; i < kParameterCount; ++i)
        if (paramBoxes_[i]->isEnabled()) paramBoxes_[i]->setEditText(toQt(parameterField(d, i)));
    edComment_->setText(toQt(d.Comment));
    for (int bit : measureBitsOfType(d.Type))
        clbMeasure_->item(bit)->setCheckState(d.measureBit(bit) ? Qt::Checked : Qt::Unchecked);
    filling_ = false;
}

void TfrmChildForm::refreshAddItemCommands(StructureItem* item) {
    if (!main_) return;
    main_->DisableAddItemCommands();
    // Offer what may stand under the selected item: objects always, others by the rules
    // that moves follow.
    for (int type : addableTypes())
        if (addCommandAllowed(type, item)) main_->enableAddItemCommand(type);
    if (QAction* all = main_->action("mmStructAddAllMainPrCond")) {
        bool ok = item && addCommandAllowed(ItemType::EarthCond, item);
        all->setEnabled(ok && main_->hasCommandHandler("AddAllMainProtCond"));
    }
}

void TfrmChildForm::fillTypePopup(StructureItem* item) {
    // The entries are hidden (which also disables them in Qt); "offered" keeps what the
    // rules allow, for when the popup is shown.
    for (QAction* a : typePopup_->actions()) {
        bool offered = item && typeChangeAllowed(*item, a->data().toInt());
        a->setProperty("offered", offered);
        a->setEnabled(offered);
    }
}

void TfrmChildForm::refreshCommandState() {
    if (main_) main_->RefreshCommandState();
}

// ---------------------------------------------------------------------------------------
// Settings panel changes

bool TfrmChildForm::panelHasFocus(QWidget* control) const {
    QWidget* f = QApplication::focusWidget();
    return f && (f == control || control->isAncestorOf(f));
}

void TfrmChildForm::onPanelEdited(int tag) {
    if (filling_ || !shownItem_) return;
    TStructItemData& d = shownItem_->data;
    if (tag == kTagNumber) {
        if (!panelHasFocus(seNumber_)) return;
        d.Number = std::to_string(seNumber_->value());
    } else if (tag == kTagComment) {
        if (!panelHasFocus(edComment_)) return;
        d.Comment = fromQt(edComment_->text());
    } else {
        for (int i = 0; i < kParameterCount; ++i) {
            if (kParamControls[i].tag != tag) continue;
            if (!panelHasFocus(paramBoxes_[i])) return;
            parameterField(d, i) = fromQt(paramBoxes_[i]->currentText());
        }
    }
    document_->setModified();
}

void TfrmChildForm::onMeasureClicked(int index) {
    if (filling_ || !shownItem_ || index < 0 || index >= kMeasureEntries) return;
    shownItem_->data.setMeasureBit(index, clbMeasure_->item(index)->checkState() == Qt::Checked);
    document_->setModified();
}

void TfrmChildForm::RenameSelected(const std::string& text) {
    StructureItem* item = selectedItem();
    if (!item || !item->parent() || item->isResult()) return;
    item->data.Name = text;
    model_->changed(*item);
    if (NameChosen(*item, text) && main_) structureNames().storeTo(main_->settings());
    document_->setModified();
}

void TfrmChildForm::rememberRecentName(const std::string& name) {
    if (name.empty()) return;
    if (std::find(recentNames_.begin(), recentNames_.end(), name) != recentNames_.end()) return;
    recentNames_.insert(recentNames_.begin(), name);
    if (recentNames_.size() > std::size_t(kRecentNames)) recentNames_.resize(kRecentNames);
}

// ---------------------------------------------------------------------------------------
// Structure commands

SettingsPanelValues TfrmChildForm::panelValues() const {
    SettingsPanelValues v;
    if (seNumber_->isEnabled()) v.number = std::to_string(seNumber_->value());
    for (int i = 0; i < kParameterCount; ++i)
        if (paramBoxes_[i]->isEnabled()) v.parameters[i] = fromQt(paramBoxes_[i]->currentText());
    if (edComment_->isEnabled()) v.comment = fromQt(edComment_->text());
    return v;
}

void TfrmChildForm::refreshAfterEdit(StructureItem* select) {
    if (select)
        setCurrentItem(select);
    else
        SelectItem(selectedItem());
    refreshCommandState();
}

void TfrmChildForm::AddItem(int type) {
    EditContext ctx{*document_, prompts(), listener_.get()};
    StructureItem* selected = selectedItem();
    AddResult r = pelvoro::AddItem(ctx, selected, type, panelValues());
    if (r.status != AddResult::Added) return;
    if (r.item->parent() != &document_->root()) expandItem(r.item->parent());
    if (r.selectRoot) {
        expandItem(&document_->root());
        refreshAfterEdit(&document_->root());
    } else {
        expandItem(&document_->root());
        refreshAfterEdit(nullptr);
    }
}

void TfrmChildForm::AddAllMainProtCond() {
    for (int type : mainProtCondTypes()) {
        int before = document_->itemCount();
        AddItem(type);
        if (document_->itemCount() == before) break;
    }
}

void TfrmChildForm::DeleteItem() {
    StructureItem* item = selectedItem();
    if (!item) item = &document_->root();
    EditContext ctx{*document_, prompts(), listener_.get()};
    if (!pelvoro::DeleteItem(ctx, *item, appEnvironment().language)) return;
    if (!selectedItem()) setCurrentItem(&document_->root());
    refreshAfterEdit(nullptr);
}

void TfrmChildForm::ChangeType(int newType) {
    StructureItem* item = selectedItem();
    if (!item) return;
    EditContext ctx{*document_, prompts(), listener_.get()};
    if (!pelvoro::ChangeType(ctx, *item, newType)) return;
    tbnType_->setIcon(itemTypeQIcon(newType));
    SelectItem(item);
}

void TfrmChildForm::RedefineAll() {
    EditContext ctx{*document_, prompts(), listener_.get()};
    pelvoro::RedefineAll(ctx);
    StructureItem* item = selectedItem();
    if (item) tbnType_->setIcon(itemTypeQIcon(item->type()));
    refreshAddItemCommands(item);
    refreshCommandState();
}

void TfrmChildForm::showProperties() {
    // The settings panel above the tree, the detail-level choice and the result table on
    // the right at the width the user left them: every panel is shown, whatever the
    // (invisible) toggle button says, so that no document ever hides its results.
    settingsPane_->setVisible(true);
    rightPane_->setVisible(true);
    viewPanel_->setVisible(true);
    resultsArea_->setVisible(true);
    const QList<int> sizes = splitter_->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total > 0) {
        int right = tablePanelWidth_ > 0 ? tablePanelWidth_ : total / 2;
        right = std::min(right, total);
        splitter_->setSizes({total - right, right});
    }
    refreshCommandState();
}

bool TfrmChildForm::CanDrop(TfrmChildForm& source, StructureItem* dragged,
                            StructureItem* target) const {
    return pelvoro::CanDrop(source.document(), dragged, *document_, target, moveMode());
}

bool TfrmChildForm::DropItem(TfrmChildForm& source, StructureItem* dragged, StructureItem* target) {
    if (!CanDrop(source, dragged, target)) return false;
    // Remember which items of the dragged subtree are expanded, for their copies.
    expandedSources_.clear();
    expandAfterDrop_.clear();
    std::vector<StructureItem*> sameTreeExpanded;
    for (StructureItem* it : source.document().subtree(*dragged))
        if (source.isExpanded(it)) {
            expandedSources_.insert(it);
            sameTreeExpanded.push_back(it);
        }
    EditContext src{source.document(), prompts(), source.listener_.get()};
    EditContext tgt{*document_, prompts(), listener_.get(), readsTheSame};
    DropResult r = pelvoro::DropItem(src, *dragged, tgt, *target, moveMode());
    expandedSources_.clear();
    if (r.status != DropResult::Dropped) return false;
    if (&source == this) {
        for (StructureItem* it : sameTreeExpanded) expandItem(it);
    } else {
        for (StructureItem* it : expandAfterDrop_) expandItem(it);
    }
    expandAfterDrop_.clear();
    if (!moveMode()) expandItem(target);
    source.SelectItem(source.selectedItem());
    if (&source != this) SelectItem(selectedItem());
    refreshCommandState();
    return true;
}

// ---------------------------------------------------------------------------------------
// Popup, keyboard, activation, closing

void TfrmChildForm::updatePopupForFocus(bool treeFocus) {
    popCopy_->setEnabled(!treeFocus);
    popSelAll_->setEnabled(!treeFocus);
    StructureItem* item = selectedItem();
    popDelete_->setEnabled(treeFocus && !(item && !item->parent()));
}

void TfrmChildForm::showPopup(const QPoint& pos) {
    updatePopupForFocus(tree_->hasFocus());
    popup_->popup(pos);
}

bool TfrmChildForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !edName_->isReadOnly() &&
            settingsPane_->isVisible()) {
            edName_->setFocus();
            edName_->selectAll();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmChildForm::onActivated() {
    refreshCommandState();
    if (StructureItem* item = selectedItem()) refreshAddItemCommands(item);
    // The instrument data window shows this document's instrument.
    if (main_) showDocumentInstrumentData(*main_, document_->InstrumentData);
    if (activationHook()) activationHook()(*this);
    document_->SaveCancelled = false;
}

void TfrmChildForm::onSubItemsToggled(bool) {
    SelectItem(selectedItem());
    storeViewState();
}

void TfrmChildForm::onViewModeClicked(int mode) {
    document_->ViewMode = mode;
    if (main_) main_->settings().writeInt("FML_State", mode);
    if (selectionHook_) selectionHook_(*this, selectedItem());
}

void TfrmChildForm::keepTreeColumnWidth() {
    if (!tree_) return;
    int sb = tree_->verticalScrollBar()->isVisible() ? tree_->verticalScrollBar()->width() : 0;
    tree_->setColumnWidth(0, std::max(0, tree_->width() - 6 - sb));
}

void TfrmChildForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The first size is the one the window was made with (the panes halve it).
    if (event->oldSize().width() > 0 && isVisible()) shareWidth();
    keepTreeColumnWidth();
}

void TfrmChildForm::shareWidth() {
    const QList<int> sizes = splitter_->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (userSplit_ || total <= 0 || total == sharedWidth_) return;
    sharedWidth_ = total;
    const int frame = 2 * tree_->frameWidth() + tree_->verticalScrollBar()->sizeHint().width() + 8;
    const int wanted = std::max({leftPane_->minimumSizeHint().width(), leftPane_->minimumWidth(),
                                 static_cast<StructureTreeView*>(tree_)->namesWidth() + frame});
    const int left = std::clamp(wanted, leftPane_->minimumWidth(),
                                std::max(leftPane_->minimumWidth(), total / 2));
    splitter_->setSizes({left, total - left});
}

void TfrmChildForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepTreeColumnWidth();
}

void TfrmChildForm::closeEvent(QCloseEvent* event) {
    if (document_->Loading) {
        event->ignore();
        return;
    }
    if (!closing_ && closeQuestion_ && !closeQuestion_(*this)) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    // The add-item commands follow the next active window's selection (none when this was
    // the last window).
    if (main_) {
        main_->DisableAddItemCommands();
        if (main_->openDocumentCount() <= 1) clearInstrumentDataWindow(*main_);
    }
}

// ---------------------------------------------------------------------------------------

TfrmChildForm* openDocumentWindow(TfrmMainForm& mainWindow,
                                  std::unique_ptr<StructureDocument> document,
                                  const std::string& fileName, const std::string& prefix) {
    auto* form = new TfrmChildForm(&mainWindow, std::move(document));
    DocumentSubWindow* win = mainWindow.createDocumentWindow(form, fileName, prefix);
    // The document's file name field: the name without its folder.
    if (form->document().Caption.empty()) form->document().Caption = fromQt(win->windowTitle());
    // The inner panel halves between the tree and the result area.
    int inner = win->width() - 8;
    form->findChild<QSplitter*>("splitter")
        ->setSizes({int(std::lround(inner / 2.0)), inner - int(std::lround(inner / 2.0))});
    form->LoadParameterLists(appEnvironment().dataPath("StructureNames.ini"));
    form->reloadTree();
    form->setCurrentItem(&form->document().root());
    win->show();
    form->tree()->setFocus();
    mainWindow.RefreshCommandState();
    return form;
}

void TfrmChildForm::LoadParameterLists(const std::string& structureNamesPath) {
    ParameterLists lists = pelvoro::LoadParameterLists(structureNamesPath);
    filling_ = true;
    for (int i = 0; i < kParameterCount; ++i) {
        QString text = paramBoxes_[i]->currentText();
        paramBoxes_[i]->clear();
        for (const auto& s : lists[i]) paramBoxes_[i]->addItem(toQt(s));
        paramBoxes_[i]->setEditText(text);
    }
    filling_ = false;
}

TfrmChildForm* childFormOf(DocumentView* view) {
    return dynamic_cast<TfrmChildForm*>(view);
}

}  // namespace pelvoro
