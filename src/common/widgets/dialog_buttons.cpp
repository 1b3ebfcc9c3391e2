#include "common/widgets/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "common/adapters/qt_text.h"
#include "common/lang_text.h"

namespace pelvoro {

QPushButton* namedButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    return button;
}

void OkCancelButtons::create(QWidget* dialog) {
    ok = namedButton(dialog, "btnOK");
    ok->setDefault(true);
    cancel = namedButton(dialog, "btnCancel");
}

void OkCancelButtons::translate() const {
    ok->setText(toQt(LangText("btnOK_8")));
    cancel->setText(toQt(LangText("btnCancel_8")));
}

QHBoxLayout* OkCancelButtons::row(std::initializer_list<QWidget*> left) const {
    return buttonRow(left, {ok, cancel});
}

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> left,
                       std::initializer_list<QWidget*> right) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : left) row->addWidget(w);
    row->addStretch();
    for (QWidget* w : right) row->addWidget(w);
    return row;
}

}  // namespace pelvoro
