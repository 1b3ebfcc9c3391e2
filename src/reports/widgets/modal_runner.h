#pragma once
// How the output windows and dialogs are shown modally. Tests replace it, so that they
// never meet a real modal loop.

#include <functional>

class QDialog;

namespace pelvoro {

using ModalRunner = std::function<int(QDialog& dialog)>;
// Null restores the default (QDialog::exec).
void setModalRunner(ModalRunner runner);
int runModal(QDialog& dialog);

}  // namespace pelvoro
