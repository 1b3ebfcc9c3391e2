#pragma once
// The report header of a document: operators, test sites, the page footer and the comment
// lines, as the header dialog edits them and the light report prints them. The dialog's
// rules live here so that they run the same with or without a screen:
//
// - the footer and the comment lines must fit the report's page width, measured in the
//   report's own fonts: 80 % of the page-footer band while the footer is typed, 85 % of the
//   summary band while comments are typed (a warning only), 90 % when OK is pressed and when
//   a report is produced;
// - at most 14 comment lines;
// - the last confirmed texts and a set of defaults are kept in the settings store.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/text_measure.h"

namespace pelvoro {

class Prompts;
class SettingsStore;
class StructureDocument;

// Indexes of the seven header texts, in the order of TOperatorData.
enum HeaderField : int {
    kOperator1 = 0,
    kOperator2 = 1,
    kOperator3 = 2,
    kTestSite1 = 3,
    kTestSite2 = 4,
    kTestSite3 = 5,
    kFooter = 6,
};
inline constexpr int kHeaderFields = 7;
inline constexpr int kMaxCommentLines = 14;

// Input limits of the operator and test-site boxes (the footer has its width rule).
int headerFieldMaxLength(int field);
// Names of the settings values: "Operator1" .. "Footer"; with `defaults` "Operator1Def" ...
std::string headerSettingName(int field, bool defaults = false);

// The fonts and band widths of the printed report that the width rules measure with.
struct ReportTextMetrics {
    FontSpec footerFont{"Arial", 9, false, false, false};
    FontSpec commentFont{"Arial", 10, false, false, false};
    int pageFooterWidth = 0;  // width of the page-footer band, in measure units
    int summaryWidth = 0;     // width of the summary band
};

// Width checks of footer and comment lines.
class ReportTextRules {
  public:
    ReportTextRules(TextMeasure& measure, ReportTextMetrics metrics)
        : measure_(measure), metrics_(std::move(metrics)) {}

    const ReportTextMetrics& metrics() const { return metrics_; }
    TextMeasure& measure() const { return measure_; }

    // The footer while it is typed: at most 80 % of the page-footer band.
    bool footerFitsWhileTyping(const std::string& footer) const;
    // The footer at OK and when a report is produced: at most 90 %.
    bool footerFits(const std::string& footer) const;
    // Index of the first comment line wider than 85 % of the summary band; -1 if none.
    int firstCommentTooWideWhileTyping(const std::vector<std::string>& lines) const;
    // Index of the first comment line wider than 90 %; -1 if none.
    int firstCommentTooLong(const std::vector<std::string>& lines) const;

    // The footer cut at its end until it fits while typing.
    std::string trimFooter(std::string footer) const;

  private:
    static int fraction(int width, int percent);
    TextMeasure& measure_;
    ReportTextMetrics metrics_;
};

// The comment box's text as lines (LF or CR LF between them) and back (LF).
std::vector<std::string> commentLinesOf(const std::string& text);
std::string commentTextOf(const std::vector<std::string>& lines);
// Lines of a comment text as the box counts them: a text ending in a line feed counts its
// empty last line; an empty text has none.
int countCommentLines(const std::string& text);

// The message key when texts are too long: "msgFotComLong_35", "msgComentLong_35",
// "msgFooterLong_35"; empty when both fit.
std::string headerCheckMessageKey(bool footerTooLong, bool commentsTooLong);
// The whole message (empty when both fit): the key's text, and the comment line too wide
// by its number and its beginning.
std::string headerCheckMessage(bool footerTooLong, int firstLongComment,
                               const std::vector<std::string>& comments);

// The settings value of the header dialog's "Results overview" choice (on by default).
inline constexpr const char* kOverviewSetting = "ReportOverview";

// The state of the header dialog between its showings, without the widgets. The dialog
// sends it every user action and shows what it holds.
class ReportHeaderEditor {
  public:
    ReportHeaderEditor(SettingsStore& settings, Prompts& prompts, const ReportTextRules& rules)
        : settings_(settings), prompts_(prompts), rules_(rules) {}

    // Opening the dialog for `document` (null when no document window is open): fills the
    // instrument fields, the header texts and the comments.
    void open(StructureDocument* document);
    StructureDocument* document() const { return document_; }

    // The texts the dialog shows.
    std::array<std::string, kHeaderFields> fields;
    std::string comments;                         // the comment box's text, LF between lines
    std::array<std::string, 4> instrumentFields;  // Type, Model, Ser.No, Producer
    bool headerChanged = false;
    bool loadingDefaults = false;
    bool overview = true;  // print the results overview

    // An operator or test-site box was changed by the user.
    void fieldEdited(int field, const std::string& text);
    // The footer box was changed by the user: returns the text the box must show (cut to
    // fit, with a beep) and marks the document modified.
    std::string footerEdited(const std::string& text);
    // A key is about to be processed in the comment box: remembers text and caret, and
    // beeps (returning true) when a line is already too wide for the report.
    bool commentKeyPressed(const std::string& text, int caret);
    // The comment box's text changed: false when it now has more than 14 lines; then the
    // box must go back to rememberedComments() and rememberedCaret() (a beep was given).
    bool commentsChanged(const std::string& text);
    const std::string& rememberedComments() const { return keyText_; }
    int rememberedCaret() const { return keyCaret_; }

    void loadDefaults();
    void saveDefaults();
    // OK: copies the texts into the document and checks them; false when a text is too
    // long (the message was shown, nothing stored in the settings).
    bool accept();
    // Cancel: the texts again from the document, or the last confirmed ones.
    void cancel();

  private:
    void loadFromDocument();
    void loadLastConfirmed();
    void setField(int field, const std::string& text);

    SettingsStore& settings_;
    Prompts& prompts_;
    const ReportTextRules& rules_;
    StructureDocument* document_ = nullptr;
    std::string keyText_;
    int keyCaret_ = 0;
};

}  // namespace pelvoro
