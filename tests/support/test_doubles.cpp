#include "support/test_doubles.h"

#include <algorithm>

namespace pelvoro::testing {

Answer ScriptedPrompts::next(Answer fallback) {
    if (answers.empty()) return fallback;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

Answer ScriptedPrompts::askYesNo(const std::string& title, const std::string& text) {
    shown.push_back({"yesno", title, text});
    return next(Answer::No);
}

Answer ScriptedPrompts::askYesNoCancel(const std::string& title, const std::string& text) {
    shown.push_back({"yesnocancel", title, text});
    return next(Answer::Cancel);
}

std::optional<std::string> ScriptedPrompts::chooseOpenFile(const FileDialogRequest& r) {
    shown.push_back({"open", r.title, r.fileName});
    fileRequests.push_back(r);
    if (fileChoices.empty()) return std::nullopt;
    auto c = fileChoices.front();
    fileChoices.pop_front();
    return c;
}

std::optional<std::string> ScriptedPrompts::chooseSaveFile(const FileDialogRequest& r) {
    shown.push_back({"save", r.title, r.fileName});
    fileRequests.push_back(r);
    if (fileChoices.empty()) return std::nullopt;
    auto c = fileChoices.front();
    fileChoices.pop_front();
    return c;
}

std::vector<std::string> ScriptedPrompts::texts() const {
    std::vector<std::string> t;
    for (const auto& s : shown) t.push_back(s.text);
    return t;
}

bool ScriptedPrompts::showed(const std::string& text) const {
    return std::any_of(shown.begin(), shown.end(), [&](const Shown& s) { return s.text == text; });
}

}  // namespace pelvoro::testing
