#include "document/widgets/child_form.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
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

#include "app/widgets/icon_library.h"
#include "common/adapters/qt_text.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "common/text.h"
#include "common/widgets/qt_prompts.h"
#include "document/item_names.h"
#include "document/item_types.h"
#include "document/structure_editing.h"
#include "document/widgets/document_sub_window.h"
#include "document/widgets/item_settings_panel.h"
#include "document/widgets/structure_tree_model.h"
#include "document/widgets/structure_tree_view.h"
#include "results/results_loading.h"

namespace pelvoro {

namespace {

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

// A pane of the form, known by its object name, laid out by a `Box` without margins.
template <class Box>
Box* newPane(QWidget*& pane, QWidget* parent, const char* name) {
    pane = new QWidget(parent);
    pane->setObjectName(name);
    auto* box = new Box(pane);
    box->setContentsMargins(0, 0, 0, 0);
    return box;
}

}  // namespace

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
// Creation

TfrmChildForm::TfrmChildForm(DocumentWindowContext context,
                             std::unique_ptr<StructureDocument> document, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), document_(std::move(document)) {
    setObjectName("TfrmChildForm");
    if (!document_) document_ = std::make_unique<StructureDocument>();
    listener_ = std::make_unique<Listener>(*this);
    selectionHook_ = defaultSelectionHook();
    closeQuestion_ = defaultCloseQuestion();
    buildControls();
    translateCaptions();
    loadViewState();
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
    auto* left = newPane<QVBoxLayout>(leftPane_, splitter_, "pnlLeft");

    auto* settingsLayout = newPane<QVBoxLayout>(settingsPane_, leftPane_, "pnlSettings");
    settings_ = new ItemSettingsPanel(settingsPane_);
    settingsLayout->addWidget(settings_);
    settingsPane_->setFixedHeight(settings_->height() + 2);
    connect(settings_, &ItemSettingsPanel::fieldEdited, this, [this](int tag) {
        if (shownItem_ && settings_->storeField(tag, shownItem_->data)) document_->setModified();
    });
    connect(settings_, &ItemSettingsPanel::measureClicked, this, [this](int index) {
        if (shownItem_ && settings_->storeMeasure(index, shownItem_->data))
            document_->setModified();
    });
    connect(settings_, &ItemSettingsPanel::typeChosen, this,
            [this](int type) { ChangeType(type); });
    left->addWidget(settingsPane_);

    model_ = new StructureTreeModel(*document_, this);
    auto* view = new StructureTreeView(*this);
    tree_ = view;
    tree_->setModel(model_);
    tree_->header()->setStretchLastSection(true);
    left->addWidget(tree_, 1);
    treeColumnMinWidth_ = int(std::lround(
        1.25 * (nameBox()->minimumWidth() + settings_->typeButton()->sizeHint().width())));
    tree_->header()->setMinimumSectionSize(treeColumnMinWidth_);
    // The left pane stays wider than the tree column's minimum.
    leftPane_->setMinimumWidth(treeColumnMinWidth_ + 15);

    // Right pane: detail level and "SUB Items" above the result area.
    rightLayout_ = newPane<QVBoxLayout>(rightPane_, splitter_, "pnlRight");
    auto* vp = newPane<QHBoxLayout>(viewPanel_, rightPane_, "pnlShowFML");
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
    connect(popCopy_, &QAction::triggered, this, &TfrmChildForm::copyRequested);
    connect(popSelAll_, &QAction::triggered, this, &TfrmChildForm::selectAllRequested);
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
    QLineEdit* name = nameBox();
    connect(tree_, &QTreeView::doubleClicked, this, [name] {
        if (!name->isReadOnly()) name->setFocus();
    });
    connect(name, &QLineEdit::textEdited, this, [this, name](const QString& t) {
        if (name->hasFocus()) RenameSelected(fromQt(t));
    });
    connect(name, &QLineEdit::editingFinished, this,
            [this, name] { rememberRecentName(fromQt(name->text())); });
    connect(name, &QLineEdit::returnPressed, this, [this] { tree_->setFocus(); });
    tree_->installEventFilter(this);
}

void TfrmChildForm::translateCaptions() {
    settings_->translateCaptions();
    popCopy_->setText(toQt(LangText("mmEditCopy_15")));
    popSelAll_->setText(toQt(LangText("mmEditSelAll_15")));
    popDelete_->setText(toQt(LangText("mmStructDelIitem_15")));
    model_->setHeader(toQt(LangText("Structure_15")));
    const char* fml[] = {"Full_15", "Medium_15", "Low_15"};
    for (int i = 0; i < 3; ++i) fmlButtons_[i]->setText(toQt(LangText(fml[i])));
    cbShowSUB_->setText(toQt(LangText("ShowSUB_15")));
    // Hidden from the start: the "SUB Items" box.
    gbShowSUB_->hide();
}

void TfrmChildForm::loadViewState() {
    if (!context_.settings) return;
    SettingsStore& s = *context_.settings;
    if (auto fml = s.readInt("FML_State"); fml && *fml >= 0 && *fml <= 2) setViewMode(*fml);
    if (auto sub = s.readBool("SUB_State")) setShowSub(*sub);
}

void TfrmChildForm::storeViewState() {
    if (!context_.settings) return;
    context_.settings->writeInt("FML_State", viewMode());
    context_.settings->writeBool("SUB_State", showSub());
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
    return context_.moveMode && context_.moveMode();
}

Prompts& TfrmChildForm::prompts() const {
    if (context_.prompts) return *context_.prompts;
    static QtPrompts fallback;
    return fallback;
}

QLineEdit* TfrmChildForm::nameBox() const {
    return settings_->nameBox();
}
QComboBox* TfrmChildForm::parameterBox(int tag) const {
    return settings_->parameterBox(tag);
}
QSpinBox* TfrmChildForm::numberBox() const {
    return settings_->numberBox();
}
QLineEdit* TfrmChildForm::commentBox() const {
    return settings_->commentBox();
}
QListWidget* TfrmChildForm::measuresList() const {
    return settings_->measuresList();
}
QMenu* TfrmChildForm::typePopup() const {
    return settings_->typePopup();
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
    settings_->prepareFor(item);
    nameAlternatives_ =
        item ? structureNames().alternatives(item->type()) : std::vector<std::string>{};

    ShowItem(item);
    if (selectionHook_) selectionHook_(*this, item);

    bool nameEditable = item && item->parent() && !item->isResult();
    setNameReadOnly(!nameEditable);
    if (recentNames_.size() > std::size_t(kRecentNames)) recentNames_.resize(kRecentNames);
    QStringList list;
    for (const auto& n : nameAlternatives_) list << toQt(n);
    for (const auto& n : recentNames_)
        if (!list.contains(toQt(n))) list << toQt(n);
    settings_->setNameCompletions(list);
    settings_->offerTypeChanges(item);
    dragAllowed_ = true;
    emit selectionChangedTo(item);
    emit commandStateChanged();
}

void TfrmChildForm::setNameReadOnly(bool readOnly) {
    settings_->setNameReadOnly(readOnly);
}

void TfrmChildForm::ShowItem(StructureItem* item) {
    shownItem_ = item;
    if (item) model_->changed(*item);  // the icon follows the type
    settings_->showItem(item);
}

void TfrmChildForm::refreshAddItemCommands(StructureItem* item) {
    // Offer what may stand under the selected item: objects always, others by the rules
    // that moves follow.
    QList<int> allowed;
    for (int type : addableTypes())
        if (addCommandAllowed(type, item)) allowed << type;
    emit addItemCommandsChanged(allowed, item && addCommandAllowed(ItemType::EarthCond, item));
}

void TfrmChildForm::refreshCommandState() {
    emit commandStateChanged();
}

// ---------------------------------------------------------------------------------------
// Names

void TfrmChildForm::RenameSelected(const std::string& text) {
    StructureItem* item = selectedItem();
    if (!item || !item->parent() || item->isResult()) return;
    item->data.Name = text;
    model_->changed(*item);
    if (NameChosen(*item, text) && context_.settings) structureNames().storeTo(*context_.settings);
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
    return settings_->values();
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
    settings_->setTypeIcon(newType);
    SelectItem(item);
}

void TfrmChildForm::RedefineAll() {
    EditContext ctx{*document_, prompts(), listener_.get()};
    pelvoro::RedefineAll(ctx);
    StructureItem* item = selectedItem();
    if (item) settings_->setTypeIcon(item->type());
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
        QLineEdit* name = nameBox();
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !name->isReadOnly() &&
            settingsPane_->isVisible()) {
            name->setFocus();
            name->selectAll();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmChildForm::activate() {
    refreshCommandState();
    if (StructureItem* item = selectedItem()) refreshAddItemCommands(item);
    emit activated();
    if (activationHook()) activationHook()(*this);
    document_->SaveCancelled = false;
}

void TfrmChildForm::onSubItemsToggled(bool) {
    SelectItem(selectedItem());
    storeViewState();
}

void TfrmChildForm::onViewModeClicked(int mode) {
    document_->ViewMode = mode;
    if (context_.settings) context_.settings->writeInt("FML_State", mode);
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
    emit closing();
}

void TfrmChildForm::LoadParameterLists(const std::string& structureNamesPath) {
    settings_->loadParameterLists(pelvoro::LoadParameterLists(structureNamesPath));
}

TfrmChildForm* childFormOf(DocumentView* view) {
    return dynamic_cast<TfrmChildForm*>(view);
}

}  // namespace pelvoro
