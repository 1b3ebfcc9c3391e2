#include "reports/report_header.h"

#include <cmath>

#include "common/lang_text.h"
#include "common/prompts.h"
#include "common/settings_store.h"
#include "document/structure_document.h"

namespace pelvoro {

int headerFieldMaxLength(int field) {
    switch (field) {
        case kOperator1:
        case kTestSite1:
            return 36;
        case kFooter:
            return 0;  // its width rule decides
        default:
            return 45;
    }
}

std::string headerSettingName(int field, bool defaults) {
    static const char* const kNames[kHeaderFields] = {
        "Operator1", "Operator2", "Operator3", "TestSite1", "TestSite2", "TestSite3", "Footer"};
    std::string name = kNames[field];
    if (defaults) name += "Def";
    return name;
}

// ---------------------------------------------------------------------------------------

int ReportTextRules::fraction(int width, int percent) {
    return int(std::lround(double(width) * percent / 100.0));
}

bool ReportTextRules::footerFitsWhileTyping(const std::string& footer) const {
    return measure_.width(footer, metrics_.footerFont) <= fraction(metrics_.pageFooterWidth, 80);
}

bool ReportTextRules::footerFits(const std::string& footer) const {
    return measure_.width(footer, metrics_.footerFont) <= fraction(metrics_.pageFooterWidth, 90);
}

int ReportTextRules::firstCommentTooWideWhileTyping(const std::vector<std::string>& lines) const {
    const int limit = fraction(metrics_.summaryWidth, 85);
    for (size_t i = 0; i < lines.size(); ++i)
        if (measure_.width(lines[i], metrics_.commentFont) > limit) return int(i);
    return -1;
}

int ReportTextRules::firstCommentTooLong(const std::vector<std::string>& lines) const {
    const int limit = fraction(metrics_.summaryWidth, 90);
    for (size_t i = 0; i < lines.size(); ++i)
        if (measure_.width(lines[i], metrics_.commentFont) > limit) return int(i);
    return -1;
}

std::string ReportTextRules::trimFooter(std::string footer) const {
    // Typing adds one character at a time; a paste may add many, and every one of them
    // that does not fit goes.
    while (!footer.empty() && !footerFitsWhileTyping(footer)) footer.pop_back();
    return footer;
}

// ---------------------------------------------------------------------------------------

std::vector<std::string> commentLinesOf(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string commentTextOf(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += lines[i];
    }
    return text;
}

int countCommentLines(const std::string& text) {
    if (text.empty()) return 0;
    int n = 1;
    for (char c : text)
        if (c == '\n') ++n;
    return n;
}

std::string headerCheckMessageKey(bool footerTooLong, bool commentsTooLong) {
    if (footerTooLong && commentsTooLong) return "msgFotComLong_35";
    if (commentsTooLong) return "msgComentLong_35";
    if (footerTooLong) return "msgFooterLong_35";
    return {};
}

std::string headerCheckMessage(bool footerTooLong, int firstLongComment,
                               const std::vector<std::string>& comments) {
    const bool commentsTooLong =
        firstLongComment >= 0 && size_t(firstLongComment) < comments.size();
    const std::string key = headerCheckMessageKey(footerTooLong, commentsTooLong);
    if (key.empty()) return {};
    std::string message = LangText(key);
    if (commentsTooLong) {
        std::string line = comments[size_t(firstLongComment)];
        if (line.size() > 40) line = line.substr(0, 40) + "...";
        message += "\n" + LangText("msgCommentLine_15") + " " +
                   std::to_string(firstLongComment + 1) + ": \"" + line + "\"";
    }
    return message;
}

// ---------------------------------------------------------------------------------------

void ReportHeaderEditor::open(StructureDocument* document) {
    document_ = document;
    headerChanged = false;
    loadingDefaults = false;
    overview = settings_.readBool(kOverviewSetting).value_or(true);
    instrumentFields = {};
    if (document_) {
        const TInstrumentData& d = document_->InstrumentData;
        instrumentFields = {d.line(2), d.line(3), d.line(7), d.line(8)};
        loadFromDocument();
        comments = commentTextOf(document_->ReportComments);
    } else {
        // Without a document the comments stay as they were.
        loadLastConfirmed();
    }
    keyText_ = comments;
    keyCaret_ = 0;
}

void ReportHeaderEditor::loadFromDocument() {
    for (int i = 0; i < kHeaderFields; ++i)
        fields[size_t(i)] = document_->HeaderLines.lines[size_t(i)];
}

void ReportHeaderEditor::loadLastConfirmed() {
    for (int i = 0; i < kHeaderFields; ++i)
        if (auto v = settings_.readString(headerSettingName(i))) fields[size_t(i)] = *v;
}

void ReportHeaderEditor::setField(int field, const std::string& text) {
    std::string& f = fields[size_t(field)];
    if (f == text) return;
    f = text;
    if (!document_) return;
    if (field == kFooter)
        document_->setModified();  // at once, whatever button closes the dialog
    else
        headerChanged = true;
}

void ReportHeaderEditor::fieldEdited(int field, const std::string& text) {
    const int max = headerFieldMaxLength(field);
    setField(field, max > 0 && int(text.size()) > max ? text.substr(0, size_t(max)) : text);
}

std::string ReportHeaderEditor::footerEdited(const std::string& text) {
    std::string fitted = rules_.trimFooter(text);
    if (fitted != text) prompts_.beep();
    setField(kFooter, fitted);
    return fitted;
}

bool ReportHeaderEditor::commentKeyPressed(const std::string& text, int caret) {
    keyText_ = text;
    keyCaret_ = caret;
    if (rules_.firstCommentTooWideWhileTyping(commentLinesOf(text)) < 0) return false;
    prompts_.beep();
    return true;
}

bool ReportHeaderEditor::commentsChanged(const std::string& text) {
    if (countCommentLines(text) > kMaxCommentLines) {
        prompts_.beep();
        comments = keyText_;
        return false;
    }
    comments = text;
    keyText_ = text;  // a later undo goes back to the last text that was allowed
    return true;
}

void ReportHeaderEditor::loadDefaults() {
    loadingDefaults = true;
    for (int i = 0; i < kHeaderFields; ++i)
        if (auto v = settings_.readString(headerSettingName(i, true))) setField(i, *v);
    comments.clear();
    loadingDefaults = false;
}

void ReportHeaderEditor::saveDefaults() {
    for (int i = 0; i < kHeaderFields; ++i)
        settings_.writeString(headerSettingName(i, true), fields[size_t(i)]);
    settings_.flush();
}

bool ReportHeaderEditor::accept() {
    const std::vector<std::string> lines = commentLinesOf(comments);
    if (document_) {
        for (int i = 0; i < kHeaderFields; ++i)
            document_->HeaderLines.lines[size_t(i)] = fields[size_t(i)];
        // Changed comments are changed document content: without the mark a close would
        // lose them without asking.
        if (document_->ReportComments != lines) {
            document_->ReportComments = lines;
            document_->setModified();
        }
    }
    // Operator and test-site texts copied into the document are changed content even when
    // a text is too long: without the mark a close would lose them without asking.
    if (headerChanged && document_) document_->setModified();
    settings_.writeBool(kOverviewSetting, overview);
    const std::string message = headerCheckMessage(!rules_.footerFits(fields[kFooter]),
                                                   rules_.firstCommentTooLong(lines), lines);
    if (!message.empty()) {
        settings_.flush();
        prompts_.warning(message);
        return false;
    }
    for (int i = 0; i < kHeaderFields; ++i)
        settings_.writeString(headerSettingName(i), fields[size_t(i)]);
    settings_.flush();
    return true;
}

void ReportHeaderEditor::cancel() {
    if (document_) {
        loadFromDocument();
        comments = commentTextOf(document_->ReportComments);
    } else {
        loadLastConfirmed();
    }
    overview = settings_.readBool(kOverviewSetting).value_or(true);
    headerChanged = false;
}

}  // namespace pelvoro
