#include "app/widgets/language_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/identity.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"

namespace pelvoro {

TfrmLanguage::TfrmLanguage(SettingsStore& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), prompts_(prompts) {
    setObjectName("TfrmLanguage");
    const AppEnvironment& env = appEnvironment();
    if (!QFileInfo(pathToQt(env.languageFilePath())).isFile()) {
        prompts_.error("Language Error !");
        fileFound_ = false;
        return;
    }
    setWindowTitle(toQt(LangText("frmLanguage_25")));
    auto* layout = new QVBoxLayout(this);
    group_ = new QGroupBox(toQt("  " + LangText("rgLang_15") + "  "), this);
    group_->setObjectName("rgLang");
    auto* groupLayout = new QVBoxLayout(group_);
    buttons_ = new QButtonGroup(this);

    IniFile mainIni = IniFile::load(env.mainIniPath());
    list_ = buildLanguageList(mainIni, env.dataDir, env.language);
    if (list_.currentLanguageMissing) prompts_.warning(LangText("msgLangError_30"));
    for (int i = 0; i < int(list_.entries.size()); ++i) {
        auto* b = new QRadioButton(toQt(list_.entries[i].dispname), group_);
        b->setObjectName(QString("rgLang_%1").arg(i));
        buttons_->addButton(b, i);
        groupLayout->addWidget(b);
    }
    layout->addWidget(group_);
    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton(toQt(LangText("btnOK_8")), QDialogButtonBox::AcceptRole);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    box->addButton(toQt(LangText("btnCancel_8")), QDialogButtonBox::RejectRole)
        ->setObjectName("btnCancel");
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    // The title bar shows the whole title (its icon and buttons take about 150 pixels).
    setMinimumWidth(
        std::max(minimumSizeHint().width(), fontMetrics().horizontalAdvance(windowTitle()) + 150));
}

int TfrmLanguage::selectedIndex() const {
    return buttons_ ? buttons_->checkedId() : -1;
}

void TfrmLanguage::setSelectedIndex(int index) {
    if (!buttons_) return;
    QAbstractButton* b = buttons_->button(index);
    if (!b) b = buttons_->button(0);
    if (b) b->setChecked(true);
}

void TfrmLanguage::choose() {
    setSelectedIndex(preselectedLanguageIndex(settings_));
    if (exec() == QDialog::Accepted) accept(selectedIndex());
}

bool TfrmLanguage::accept(int index) {
    return applyLanguageChoice(settings_, list_, index, prompts_);
}

}  // namespace pelvoro
