#include "document/widgets/item_settings_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/widgets/icon_library.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/text.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/structure_editing.h"

namespace pelvoro {

namespace {

// Label keys of the nine parameter boxes, in panel order (tags 102, 104 .. 111).
struct ParamControl {
    int tag;
    const char* labelKey;
    const char* objectName;
};
const ParamControl kParamControls[kParameterCount] = {
    {SettingsPanelTags::kTagPhase, "lbPhase_15", "cbPhase"},
    {SettingsPanelTags::kTagCrossSect, "lbCrossSect_15", "cbCrossSect"},
    {SettingsPanelTags::kTagWiring, "lbWiring_15", "cbWiring"},
    {SettingsPanelTags::kTagInsulation, "lbInsulation_15", "cbInsulation"},
    {SettingsPanelTags::kTagCircBreak, "lbCircBreak_15", "cbCircBreak"},
    {SettingsPanelTags::kTagTime, "lbTime_15", "cbTime"},
    {SettingsPanelTags::kTagType, "lbType_15", "cbType"},
    {SettingsPanelTags::kTagNomCurr, "lbNomCurr_15", "cbNomCurr"},
    {SettingsPanelTags::kTagDiffCurr, "lbDiffCurr_15", "cbDiffCurr"},
};

bool parametersApply(int type) {
    return type == ItemType::Object || type == ItemType::Block || type == ItemType::Fuse ||
           type == ItemType::RCD;
}

}  // namespace

ItemSettingsPanel::ItemSettingsPanel(QWidget* parent) : QGroupBox(parent) {
    setObjectName("gbSettings");
    auto* gb = new QVBoxLayout(this);
    lbObjectName_ = new QLabel(this);
    lbObjectName_->setObjectName("lbObjectName");
    edName_ = new QLineEdit(this);
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
    auto* hidden = new QWidget(this);
    hidden->setObjectName("pnlHiddenSettings");
    auto* hl = new QGridLayout(hidden);
    int row = 0;
    // A row of the grid: a label and the control `name` that holds the field `tag`.
    auto addRow = [&](QLabel* label, QWidget* control, const char* name, int tag) {
        control->setObjectName(name);
        control->setProperty("tag", tag);
        hl->addWidget(label, row, 0);
        hl->addWidget(control, row++, 1);
    };
    // What a control tells when the user edits it (and not while the panel fills it).
    auto edited = [this](int tag) {
        return [this, tag] {
            if (!filling_) emit fieldEdited(tag);
        };
    };
    for (const ParamControl& pc : kParamControls) {
        auto* label = new QLabel(hidden);
        auto* box = new QComboBox(hidden);
        box->setEditable(true);
        label->setProperty("key", pc.labelKey);
        addRow(label, box, pc.objectName, pc.tag);
        paramBoxes_.push_back(box);
        paramLabels_.push_back(label);
        connect(box, &QComboBox::editTextChanged, this, edited(pc.tag));
    }
    lbNumber_ = new QLabel(hidden);
    seNumber_ = new QSpinBox(hidden);
    seNumber_->setRange(1, 1000);
    addRow(lbNumber_, seNumber_, "seNumber", kTagNumber);
    connect(seNumber_, &QSpinBox::valueChanged, this, edited(kTagNumber));
    lbComment_ = new QLabel(hidden);
    edComment_ = new QLineEdit(hidden);
    addRow(lbComment_, edComment_, "edComment", kTagComment);
    connect(edComment_, &QLineEdit::textEdited, this, edited(kTagComment));
    lbItemType_ = new QLabel(hidden);
    tbnType_ = new QToolButton(hidden);
    tbnType_->setObjectName("tbnType");
    typePopup_ = new QMenu(tbnType_);
    typePopup_->setObjectName("pmItemType");
    for (int type : addableTypes()) {
        QAction* a = typePopup_->addAction(QString::number(type));
        a->setData(type);
        a->setIcon(itemTypeQIcon(type));
        connect(a, &QAction::triggered, this, [this, type] { emit typeChosen(type); });
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
    connect(clbMeasure_, &QListWidget::itemChanged, this, [this](QListWidgetItem* entry) {
        if (!filling_) emit measureClicked(clbMeasure_->row(entry));
    });
    hidden->hide();
    gb->addWidget(hidden);
    // Twice as high as the name box with its label.
    setFixedHeight(2 * (edName_->sizeHint().height() + 4) + fontMetrics().height());
}

void ItemSettingsPanel::translateCaptions() {
    setTitle(" " + toQt(LangText("gbSettings_15")) + " ");
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
    // Hidden from the start: the type button and its label.
    tbnType_->hide();
    lbItemType_->hide();
}

QComboBox* ItemSettingsPanel::parameterBox(int tag) const {
    for (int i = 0; i < kParameterCount; ++i)
        if (kParamControls[i].tag == tag) return paramBoxes_[i];
    return nullptr;
}

void ItemSettingsPanel::prepareFor(const StructureItem* item) {
    filling_ = true;
    const int type = item ? item->type() : -1;
    const bool params = item && parametersApply(type);
    for (int i = 0; i < kParameterCount; ++i) {
        paramBoxes_[i]->setEnabled(params);
        paramLabels_[i]->setEnabled(params);
        if (!params) paramBoxes_[i]->setEditText(QString());
    }
    for (int i = 0; i < kMeasureEntries; ++i) {
        QListWidgetItem* e = clbMeasure_->item(i);
        e->setCheckState(Qt::Unchecked);
        e->setFlags(Qt::ItemIsUserCheckable);
    }
    for (int bit : measureBitsOfType(type))
        clbMeasure_->item(bit)->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    filling_ = false;
}

void ItemSettingsPanel::showItem(const StructureItem* item) {
    filling_ = true;
    if (!item) {
        edName_->clear();
        filling_ = false;
        return;
    }
    const TStructItemData& d = item->data;
    // The length limit is for typing: a longer name from a file or a tester shows whole
    // and stays whole unless the user shortens it.
    const QString name = toQt(d.Name);
    edName_->setMaxLength(32767);
    edName_->setText(name);
    edName_->setMaxLength(std::max(kNameTypingLimit, int(name.size())));
    tbnType_->setIcon(itemTypeQIcon(d.Type));
    if (!d.texts().Number.empty()) seNumber_->setValue(parseInt(d.texts().Number).value_or(1));
    for (int i = 0; i < kParameterCount; ++i)
        if (paramBoxes_[i]->isEnabled()) paramBoxes_[i]->setEditText(toQt(parameterField(d, i)));
    edComment_->setText(toQt(d.texts().Comment));
    for (int bit : measureBitsOfType(d.Type))
        clbMeasure_->item(bit)->setCheckState(d.measureBit(bit) ? Qt::Checked : Qt::Unchecked);
    filling_ = false;
}

void ItemSettingsPanel::setNameReadOnly(bool readOnly) {
    // A name that cannot be changed reads like a label in a frame: its text in the normal
    // colour on the window's background, not greyed out like an empty hint.
    edName_->setReadOnly(readOnly);
    QPalette p = palette();
    if (readOnly) p.setColor(QPalette::Base, p.color(QPalette::Window));
    edName_->setPalette(p);
    edName_->setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
}

void ItemSettingsPanel::setNameCompletions(const QStringList& names) {
    static_cast<QStringListModel*>(edName_->completer()->model())->setStringList(names);
}

void ItemSettingsPanel::setTypeIcon(int type) {
    tbnType_->setIcon(itemTypeQIcon(type));
}

void ItemSettingsPanel::offerTypeChanges(const StructureItem* item) {
    // The entries are hidden (which also disables them in Qt); "offered" keeps what the
    // rules allow, for when the popup is shown.
    for (QAction* a : typePopup_->actions()) {
        const bool offered = item && typeChangeAllowed(*item, a->data().toInt());
        a->setProperty("offered", offered);
        a->setEnabled(offered);
    }
}

SettingsPanelValues ItemSettingsPanel::values() const {
    SettingsPanelValues v;
    if (seNumber_->isEnabled()) v.number = std::to_string(seNumber_->value());
    for (int i = 0; i < kParameterCount; ++i)
        if (paramBoxes_[i]->isEnabled()) v.parameters[i] = fromQt(paramBoxes_[i]->currentText());
    if (edComment_->isEnabled()) v.comment = fromQt(edComment_->text());
    return v;
}

void ItemSettingsPanel::loadParameterLists(const ParameterLists& lists) {
    filling_ = true;
    for (int i = 0; i < kParameterCount; ++i) {
        const QString text = paramBoxes_[i]->currentText();
        paramBoxes_[i]->clear();
        for (const auto& s : lists[i]) paramBoxes_[i]->addItem(toQt(s));
        paramBoxes_[i]->setEditText(text);
    }
    filling_ = false;
}

bool ItemSettingsPanel::hasFocus(QWidget* control) const {
    QWidget* f = QApplication::focusWidget();
    return f && (f == control || control->isAncestorOf(f));
}

bool ItemSettingsPanel::storeField(int tag, TStructItemData& d) const {
    if (tag == kTagNumber) {
        if (!hasFocus(seNumber_)) return false;
        d.editTexts().Number = std::to_string(seNumber_->value());
        return true;
    }
    if (tag == kTagComment) {
        if (!hasFocus(edComment_)) return false;
        d.editTexts().Comment = fromQt(edComment_->text());
        return true;
    }
    for (int i = 0; i < kParameterCount; ++i) {
        if (kParamControls[i].tag != tag) continue;
        if (!hasFocus(paramBoxes_[i])) return false;
        parameterField(d, i) = fromQt(paramBoxes_[i]->currentText());
        return true;
    }
    return false;
}

bool ItemSettingsPanel::storeMeasure(int index, TStructItemData& d) const {
    if (index < 0 || index >= kMeasureEntries) return false;
    d.setMeasureBit(index, clbMeasure_->item(index)->checkState() == Qt::Checked);
    return true;
}

}  // namespace pelvoro
