#include "app/widgets/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "common/identity.h"
#include "app/widgets/icon_library.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"

namespace pelvoro {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle(toQt(LangText("mmHelpAbout_15")).remove('&'));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(imageListIcon(63).pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto* title = new QLabel(QString("<h2>%1</h2>").arg(identity::kBrandTitle), this);
    title->setObjectName("labProduct");
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* version = new QLabel(QString("Version %1").arg(identity::kVersion), this);
    version->setObjectName("labVersion");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    auto* text = new QLabel(toQt(LangText("AboutText_70")), this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(box);
}

}  // namespace pelvoro
