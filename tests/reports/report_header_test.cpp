#include "reports/report_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/settings_store.h"
#include "document/structure_document.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

using testing::FixedWidthMeasure;
using testing::ScopedLanguage;
using testing::ScriptedPrompts;

// 10 units a character; both bands 1000 wide: the footer may take 80 characters while it
// is typed and 90 at OK; comment lines 85 while typed and 90 at OK.
struct Rules {
    FixedWidthMeasure measure{10, 20};
    ReportTextRules rules{measure, ReportTextMetrics{{}, {}, 1000, 1000}};
};

TEST(ReportHeaderRules, WidthLimitsAreFractionsOfTheBands) {
    Rules r;
    struct Case {
        size_t chars;
        bool typing, ok;
    } footer[] = {{0, true, true},
                  {80, true, true},
                  {81, false, true},
                  {90, false, true},
                  {91, false, false}};
    for (const Case& c : footer) {
        EXPECT_EQ(r.rules.footerFitsWhileTyping(std::string(c.chars, 'x')), c.typing) << c.chars;
        EXPECT_EQ(r.rules.footerFits(std::string(c.chars, 'x')), c.ok) << c.chars;
    }
    // A paste of 100 characters keeps the first 80.
    EXPECT_EQ(r.rules.trimFooter(std::string(100, 'x')).size(), 80u);

    const std::vector<std::string> lines = {"short", std::string(85, 'a'), std::string(86, 'b'),
                                            std::string(91, 'c')};
    EXPECT_EQ(r.rules.firstCommentTooWideWhileTyping(lines), 2);
    EXPECT_EQ(r.rules.firstCommentTooLong(lines), 3);
    EXPECT_EQ(r.rules.firstCommentTooLong({"a", std::string(90, 'a')}), -1);
}

TEST(ReportHeaderRules, CommentLinesAndMessages) {
    struct {
        std::string text;
        int count;
        std::vector<std::string> lines;
    } cases[] = {
        {"", 0, {}},
        {"a", 1, {"a"}},
        {"a\n", 2, {"a"}},  // the empty last line counts in the box
        {"a\r\nb", 2, {"a", "b"}},
        {"a\n\nb\n", 4, {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCommentLines(c.text), c.count) << c.text;
        EXPECT_EQ(commentLinesOf(c.text), c.lines) << c.text;
    }
    EXPECT_EQ(commentTextOf({"a", "", "b"}), "a\n\nb");
    EXPECT_EQ(headerCheckMessageKey(true, true), "msgFotComLong_35");
    EXPECT_EQ(headerCheckMessageKey(false, true), "msgComentLong_35");
    EXPECT_EQ(headerCheckMessageKey(true, false), "msgFooterLong_35");
    EXPECT_EQ(headerCheckMessageKey(false, false), "");
    EXPECT_EQ(headerSettingName(kTestSite2), "TestSite2");
    EXPECT_EQ(headerSettingName(kFooter, true), "FooterDef");
}

class HeaderEditorTest : public ::testing::Test {
  protected:
    HeaderEditorTest()
        : lang(
              "[Language]\nmsgFooterLong_35=Footer too long\nmsgComentLong_35=Comment too "
              "long\nmsgCommentLine_15=Line\n") {
        doc.HeaderLines.lines = {"Op1", "Op2", "Op3", "Site1", "Site2", "Site3", "Foot"};
        doc.ReportComments = {"first", "second"};
        doc.InstrumentData.line(2) = "Tester";
        doc.InstrumentData.line(3) = "CV61";
        doc.InstrumentData.line(7) = "12345";
        doc.InstrumentData.line(8) = "Maker";
    }
    ScopedLanguage lang;
    Rules r;
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    StructureDocument doc;
    ReportHeaderEditor editor{settings, prompts, r.rules};
};

TEST_F(HeaderEditorTest, OpeningFillsFromTheDocumentOrTheLastConfirmedTexts) {
    settings.writeString("Operator1", "Last op");
    editor.open(&doc);
    EXPECT_EQ(editor.fields[kOperator1], "Op1");
    EXPECT_EQ(editor.fields[kFooter], "Foot");
    EXPECT_EQ(editor.comments, "first\nsecond");
    EXPECT_EQ(editor.instrumentFields,
              (std::array<std::string, 4>{"Tester", "CV61", "12345", "Maker"}));

    // Without a document: the last confirmed texts, empty instrument fields, and the
    // comment lines left from before.
    editor.open(nullptr);
    EXPECT_EQ(editor.fields[kOperator1], "Last op");
    EXPECT_EQ(editor.fields[kOperator2], "Op2");  // no stored value: unchanged
    EXPECT_EQ(editor.instrumentFields[0], "");
    EXPECT_EQ(editor.comments, "first\nsecond");
}

TEST_F(HeaderEditorTest, FooterMarksTheDocumentAtOnceAndIsCutToFit) {
    editor.open(&doc);
    EXPECT_EQ(editor.footerEdited(std::string(81, 'f')), std::string(80, 'f'));
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(doc.Modified);
    editor.cancel();  // Cancel keeps the mark, and the document's texts
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(editor.fields[kFooter], "Foot");
    EXPECT_EQ(doc.HeaderLines.lines[kFooter], "Foot");
}

TEST_F(HeaderEditorTest, OkStoresTheLastConfirmedTextsAndMarksChanges) {
    editor.open(&doc);
    editor.fieldEdited(kOperator1, "New operator");
    EXPECT_TRUE(editor.headerChanged);
    EXPECT_FALSE(doc.Modified);
    EXPECT_TRUE(editor.accept());
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(doc.HeaderLines.lines[kOperator1], "New operator");
    EXPECT_EQ(settings.readString("Operator1"), "New operator");
    EXPECT_FALSE(settings.contains("Operator1Def"));       // OK never touches the defaults
    EXPECT_EQ(settings.readBool("ReportOverview"), true);  // the overview choice is kept
    EXPECT_TRUE(prompts.shown.empty());

    // Comment lines are the document's: a change to them alone marks it too.
    doc.setModified(false);
    editor.open(&doc);
    editor.commentsChanged("first\nsecond\nthird");
    EXPECT_TRUE(editor.accept());
    EXPECT_EQ(doc.ReportComments, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_TRUE(doc.Modified);
}

TEST_F(HeaderEditorTest, TooLongTextsAreReportedAndNotStored) {
    editor.open(&doc);
    editor.fields[kFooter] = std::string(95, 'f');  // e.g. from an older file
    editor.fieldEdited(kTestSite1, "Other site");
    EXPECT_FALSE(editor.accept());
    EXPECT_TRUE(prompts.showed("Footer too long"));
    EXPECT_EQ(doc.HeaderLines.lines[kFooter], std::string(95, 'f'));  // the document keeps it
    EXPECT_EQ(doc.HeaderLines.lines[kTestSite1], "Other site");
    EXPECT_FALSE(settings.contains("TestSite1"));
    // The edits are in the document: it is marked, so that closing asks before losing them.
    EXPECT_TRUE(doc.Modified);

    // The message names the comment line too wide.
    editor.open(&doc);
    editor.fields[kFooter] = "Foot";
    editor.commentsChanged("fine\n" + std::string(95, 'w') + "\nfine too");
    EXPECT_FALSE(editor.accept());
    EXPECT_TRUE(prompts.showed("Comment too long\nLine 2: \"" + std::string(40, 'w') + "...\""));
    EXPECT_EQ(doc.ReportComments.size(), 3u);  // nothing typed is lost
}

TEST_F(HeaderEditorTest, FifteenthCommentLineIsRefused) {
    editor.open(&doc);
    std::string fourteen;
    for (int i = 0; i < 13; ++i) fourteen += "line\n";
    fourteen += "line";
    EXPECT_FALSE(editor.commentKeyPressed(fourteen, int(fourteen.size())));
    EXPECT_TRUE(editor.commentsChanged(fourteen));
    EXPECT_FALSE(editor.commentKeyPressed(fourteen, int(fourteen.size())));
    EXPECT_FALSE(editor.commentsChanged(fourteen + "\n"));  // the 15th (empty) line
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(editor.rememberedComments(), fourteen);
    EXPECT_EQ(editor.rememberedCaret(), int(fourteen.size()));
    EXPECT_EQ(editor.comments, fourteen);
    // A line too wide for the report only warns.
    EXPECT_TRUE(editor.commentKeyPressed(std::string(86, 'w'), 86));
    EXPECT_EQ(prompts.beeps, 2);
}

TEST_F(HeaderEditorTest, DefaultsAreAStoreOfTheirOwn) {
    settings.writeString("Operator1Def", "Default op");
    settings.writeString("FooterDef", "Default foot");
    settings.writeString("TestSite1Def", "Site1");  // the same as the document's
    editor.open(&doc);
    editor.loadDefaults();
    EXPECT_EQ(editor.fields[kOperator1], "Default op");
    EXPECT_EQ(editor.comments, "");
    EXPECT_TRUE(editor.headerChanged);
    EXPECT_TRUE(doc.Modified);  // the footer changed

    editor.fields[kOperator2] = "Saved";
    editor.saveDefaults();
    EXPECT_EQ(settings.readString("Operator2Def"), "Saved");
    EXPECT_FALSE(settings.contains("Operator2"));  // the last confirmed texts stay

    // Without a document nothing is marked.
    editor.open(nullptr);
    editor.fieldEdited(kOperator1, "x");
    EXPECT_FALSE(editor.headerChanged);
}

}  // namespace
}  // namespace pelvoro

namespace pelvoro {
namespace {

TEST(ReportTexts, EveryKeyOfTheReportsIsInBothLanguages) {
    const char* const keys[] = {"frmHeader_30",
                                "gbHeader_30",
                                "HeaderHint_70",
                                "qrlOperator_30",
                                "qrlTestSite_30",
                                "qrlInstrumentsData_30",
                                "qrlType_8",
                                "qrlModel_8",
                                "qrlSerNo_12",
                                "qrlProducer_12",
                                "qrlTestDate_30",
                                "gbFooter_30",
                                "FooterHint_70",
                                "gbComments_30",
                                "CommentsHint_70",
                                "btnLoadDefault_15",
                                "btnSaveDefault_15",
                                "btnInsertLogo_15",
                                "btnClearLogo_15",
                                "btnOK_8",
                                "btnCancel_8",
                                "msgFotComLong_35",
                                "msgComentLong_35",
                                "msgFooterLong_35",
                                "qrlPageHeader_50",
                                "No_3",
                                "Results_10",
                                "Comment_15",
                                "qrlPage_12",
                                "mmFilePreview_15",
                                "mmFilePrintStructure_15",
                                "OpenTitle_15",
                                "qrlPageOf_20",
                                "qrlContinued_20",
                                "qrlOverview_30",
                                "qrlPassed_20",
                                "qrlFailed_20",
                                "qrlNoVerdict_20",
                                "qrlFailedList_30",
                                "qrlLegendObject_20",
                                "qrlLegendBoard_20",
                                "qrlLegendCircuit_20",
                                "qrlLegendResult_20",
                                "qrlSignature_40",
                                "qrlSignatureDate_20",
                                "cbOverview_30",
                                "OverviewHint_70",
                                "msgCommentLine_15",
                                "ReportLocale_10",
                                "ReportDateFormat_20",
                                "qrlGraphLimit_15",
                                "qrlGraphRange_15",
                                "qrlGraphVerdict_15",
                                "msgGraphFormat_70"};
    for (const char* file : {"English.ini", "Deutsch.ini"}) {
        auto lang = LanguageFile::load(std::string(PELVORO_SOURCE_DATA_DIR) + "/" + file);
        ASSERT_TRUE(lang->exists()) << file;
        for (const char* key : keys) EXPECT_TRUE(lang->hasKey(key)) << file << ": " << key;
    }
}

}  // namespace
}  // namespace pelvoro
