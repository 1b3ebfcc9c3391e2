#include "common/widgets/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

#include "common/identity.h"
#include "common/adapters/qt_text.h"

namespace pelvoro {

namespace {

// A box opened while a modal window is up (a dialog) or while a window that stays on top
// is shown (a transfer's progress window) belongs to that window and stays above it: given
// the main window as its parent it would open behind, where the user cannot see it while
// the buttons in front wait for it.
QWidget* owner(QWidget* parent) {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return w;
    return parent;
}

int run(QMessageBox& box) {
    if (QWidget* p = box.parentWidget();
        p && p->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec();
}

void notice(QMessageBox::Icon icon, const std::string& text, QWidget* parent) {
    QMessageBox box(icon, QString::fromLatin1(identity::kBrandTitle), toQt(text), QMessageBox::Ok,
                    parent);
    run(box);
}

}  // namespace

void QtPrompts::information(const std::string& text) {
    notice(QMessageBox::Information, text, owner(parent_));
}

void QtPrompts::warning(const std::string& text) {
    notice(QMessageBox::Warning, text, owner(parent_));
}

void QtPrompts::error(const std::string& text) {
    notice(QMessageBox::Critical, text, owner(parent_));
}

void QtPrompts::plainBox(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, toQt(title), toQt(text), QMessageBox::Ok, owner(parent_));
    run(box);
}

Answer QtPrompts::askYesNo(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Question, toQt(title), toQt(text),
                    QMessageBox::Yes | QMessageBox::No, owner(parent_));
    box.setDefaultButton(QMessageBox::No);
    return run(box) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

namespace {

Answer askThreeWay(QWidget* parent, const std::string& title, const std::string& text,
                   QMessageBox::StandardButton enter) {
    QMessageBox box(QMessageBox::Warning, toQt(title), toQt(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner(parent));
    box.setDefaultButton(enter);
    int r = run(box);
    if (r == QMessageBox::Yes) return Answer::Yes;
    if (r == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

}  // namespace

Answer QtPrompts::askYesNoCancel(const std::string& title, const std::string& text) {
    return askThreeWay(parent_, title, text, QMessageBox::Yes);
}

Answer QtPrompts::askYesNoCancelNoFirst(const std::string& title, const std::string& text) {
    return askThreeWay(parent_, title, text, QMessageBox::No);
}

void QtPrompts::beep() {
    QApplication::beep();
}

void QtPrompts::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        if (--busyDepth_ == 0) QGuiApplication::restoreOverrideCursor();
    }
}

std::optional<std::string> QtPrompts::chooseOpenFile(const FileDialogRequest& r) {
    QString start = pathToQt(r.directory);
    if (!r.fileName.empty()) start = QFileInfo(QDir(start), pathToQt(r.fileName)).filePath();
    QString chosen =
        QFileDialog::getOpenFileName(parent_, toQt(r.title), start, qtFileFilter(r.filter));
    if (chosen.isEmpty()) return std::nullopt;
    return pathFromQt(chosen);
}

std::optional<std::string> QtPrompts::chooseSaveFile(const FileDialogRequest& r) {
    QFileDialog dialog(parent_, toQt(r.title), pathToQt(r.directory), qtFileFilter(r.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!r.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(r.defaultExtension));
    if (!r.fileName.empty()) dialog.selectFile(pathToQt(r.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return pathFromQt(dialog.selectedFiles().first());
}

}  // namespace pelvoro
