#pragma once
// The buttons at the foot of a dialog, made and named the same way in every dialog.

#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace pelvoro {

// A push button known by its object name (tests and the captions find it by it).
QPushButton* namedButton(QWidget* parent, const char* name);

// A dialog's "btnOK" (the default button) and "btnCancel".
struct OkCancelButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;

    void create(QWidget* dialog);
    // The captions in the current language.
    void translate() const;
    // The dialog's row of buttons: `left` at the left edge, OK and Cancel at the right.
    QHBoxLayout* row(std::initializer_list<QWidget*> left) const;
};

// A row of buttons: `left` at the left edge, `right` at the right edge.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);

}  // namespace pelvoro
