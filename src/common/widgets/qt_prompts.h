#pragma once
#include <QPointer>
#include <QWidget>

#include "common/prompts.h"

namespace pelvoro {

// Prompts as Qt message boxes and file dialogs, owned by a parent window.
class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void information(const std::string& text) override;
    void warning(const std::string& text) override;
    void error(const std::string& text) override;
    void plainBox(const std::string& title, const std::string& text) override;
    Answer askYesNo(const std::string& title, const std::string& text) override;
    Answer askYesNoCancel(const std::string& title, const std::string& text) override;
    Answer askYesNoCancelNoFirst(const std::string& title, const std::string& text) override;
    void beep() override;
    void setBusy(bool busy) override;
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;

  private:
    QPointer<QWidget> parent_;
    int busyDepth_ = 0;
};

}  // namespace pelvoro
