#pragma once
// Everything the program asks or tells the user goes through this interface, so that
// commands run the same under the desktop program, the command-line program and tests.
// Texts are bytes in the documents' single-byte code page.

#include <optional>
#include <string>

namespace pelvoro {

enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    std::string title;
    std::string directory;
    std::string filter;            // "Caption (*.EXT)|*.EXT"
    std::string fileName;          // preset name
    std::string defaultExtension;  // without the dot
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // Information box with an OK button.
    virtual void information(const std::string& text) = 0;
    // The same box for something that went wrong: a warning (the work went on, in part)
    // or an error (it failed). They differ from a notice only in their icon.
    virtual void warning(const std::string& text) { information(text); }
    virtual void error(const std::string& text) { information(text); }
    // Plain box with an OK button and a caption of its own.
    virtual void plainBox(const std::string& title, const std::string& text) = 0;
    virtual Answer askYesNo(const std::string& title, const std::string& text) = 0;
    virtual Answer askYesNoCancel(const std::string& title, const std::string& text) = 0;
    // The same question where Yes gives something up for good (the structure stored in the
    // instrument): Enter answers No, so that only a deliberate Yes does it.
    virtual Answer askYesNoCancelNoFirst(const std::string& title, const std::string& text) {
        return askYesNoCancel(title, text);
    }
    virtual void beep() = 0;
    virtual void setBusy(bool busy) = 0;
    virtual std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) = 0;
};

// Prompts without a user: nothing is shown, a question is answered No (Cancel where
// Cancel is offered), so that nothing happens unasked, and no file is chosen.
class NullPrompts : public Prompts {
  public:
    void information(const std::string&) override {}
    void plainBox(const std::string&, const std::string&) override {}
    Answer askYesNo(const std::string&, const std::string&) override { return Answer::No; }
    Answer askYesNoCancel(const std::string&, const std::string&) override {
        return Answer::Cancel;
    }
    void beep() override {}
    void setBusy(bool) override {}
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
};

// Shows the busy cursor for as long as it lives, so that every exit path removes it.
class BusyCursor {
  public:
    explicit BusyCursor(Prompts& p) : prompts_(p) { prompts_.setBusy(true); }
    ~BusyCursor() { prompts_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    Prompts& prompts_;
};

}  // namespace pelvoro
