#include "reports/widgets/export_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "reports/widgets/modal_runner.h"

namespace pelvoro {

namespace {

QButtonGroup* radioGroup(QGroupBox* box, const QString& name, int count) {
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < count; ++i) {
        auto* b = new QRadioButton(box);
        b->setObjectName(QString("%1_%2").arg(name).arg(i));
        group->addButton(b, i);
        layout->addWidget(b);
    }
    group->button(0)->setChecked(true);
    return group;
}

}  // namespace

TfrmExport::TfrmExport(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmExport");
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    rgDelimiter_ = new QGroupBox(this);
    rgDelimiter_->setObjectName("rgDelimiter");
    delimiters_ = radioGroup(rgDelimiter_, "rgDelimiter", 2);
    rgEOLSign_ = new QGroupBox(this);
    rgEOLSign_->setObjectName("rgEOLSign");
    eols_ = radioGroup(rgEOLSign_, "rgEOLSign", 3);
    groups->addWidget(rgDelimiter_);
    groups->addWidget(rgEOLSign_);
    layout->addLayout(groups);

    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton(QString(), QDialogButtonBox::AcceptRole);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    box->addButton(QString(), QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    translate();
}

void TfrmExport::translate() {
    setWindowTitle(toQt(LangText("frmExport_25")));
    rgDelimiter_->setTitle(toQt(" " + LangText("rgDelim_15") + " "));
    rgEOLSign_->setTitle(toQt(" " + LangText("rgEOLSign_15") + " "));
    delimiters_->button(0)->setText(toQt(LangText("DelimTAB_10")));
    delimiters_->button(1)->setText(toQt(LangText("DelimSem_15")));
    eols_->button(0)->setText(toQt(LangText("EOLSignCRLF_10")));
    eols_->button(1)->setText(toQt(LangText("EOLSignCR_5")));
    eols_->button(2)->setText(toQt(LangText("EOLSignLF_5")));
    findChild<QPushButton*>("btnOK")->setText(toQt(LangText("btnOK_8")));
    findChild<QPushButton*>("btnCancel")->setText(toQt(LangText("btnCancel_8")));
}

ExportFormat TfrmExport::format() const {
    ExportFormat f;
    f.delimiter = std::max(0, delimiters_->checkedId());
    f.eol = std::max(0, eols_->checkedId());
    return f;
}

void TfrmExport::setFormat(const ExportFormat& f) {
    if (QAbstractButton* b = delimiters_->button(f.delimiter)) b->setChecked(true);
    if (QAbstractButton* b = eols_->button(f.eol)) b->setChecked(true);
}

std::optional<ExportFormat> TfrmExport::choose() {
    translate();
    const ExportFormat before = format();
    if (runModal(*this) != QDialog::Accepted) {
        setFormat(before);  // Cancel keeps the earlier choices
        return std::nullopt;
    }
    return format();
}

}  // namespace pelvoro
