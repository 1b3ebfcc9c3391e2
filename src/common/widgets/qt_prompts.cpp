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

void notice(QMessageBox::Icon icon, const std::string& text, QWidget* parent) {
    QMessageBox box(icon, QString::fromLatin1(identity::kBrandTitle), toQt(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace

void QtPrompts::information(const std::string& text) {
    notice(QMessageBox::Information, text, parent_);
}

void QtPrompts::warning(const std::string& text) {
    notice(QMessageBox::Warning, text, parent_);
}

void QtPrompts::error(const std::string& text) {
    notice(QMessageBox::Critical, text, parent_);
}

void QtPrompts::plainBox(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, toQt(title), toQt(text), QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtPrompts::askYesNo(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Question, toQt(title), toQt(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtPrompts::askYesNoCancel(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, toQt(title), toQt(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    int r = box.exec();
    if (r == QMessageBox::Yes) return Answer::Yes;
    if (r == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
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
