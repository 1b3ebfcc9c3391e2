#include "app/widgets/options_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"

namespace pelvoro {

namespace {
QWidget* choicePage(QWidget* parent, const QString& group, const QStringList& items) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* box = new QGroupBox(group, page);
    auto* boxLayout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        b->setChecked(i == 0);
        boxLayout->addWidget(b);
    }
    layout->addWidget(box);
    layout->addStretch();
    return page;
}
}  // namespace

TfrmOptions::TfrmOptions(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOptions");
    setWindowTitle(toQt(LangText("frmOptions_25")));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    QString page = toQt(LangText("tsGenREBT_25"));
    QString group = toQt(LangText("rgCertType_REBT_25"));
    tabs->addTab(
        choicePage(tabs, group,
                   {toQt(LangText("CertType_REBT_25")), toQt(LangText("CertType_GENERAL_25"))}),
        page);
    tabs->addTab(
        choicePage(tabs, group, {"gem. ZVEH    (Deutschland)", "gem. SiNa      (Schweiz)"}), page);
    auto* third = new QWidget(tabs);
    auto* thirdLayout = new QVBoxLayout(third);
    auto* cert = choicePage(third, group, {toQt(LangText("CertType_GENERAL_25"))});
    thirdLayout->addWidget(cert);
    auto* colour = choicePage(third, toQt(LangText("rgPrintColour_25")),
                              {toQt(LangText("PrintColour_25")), toQt(LangText("PrintBW_25"))});
    thirdLayout->addWidget(colour);
    tabs->addTab(third, page);
    layout->addWidget(tabs);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

}  // namespace pelvoro
