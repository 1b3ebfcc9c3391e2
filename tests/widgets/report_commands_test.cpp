// The report commands in the main window: the header dialog, the light report preview
// (printed into a PDF from the preview's Print button) and the structure print preview.

#include "reports/widgets/report_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/widgets/main_window.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/widgets/child_form.h"
#include "files/widgets/file_commands_qt.h"
#include "main_window_fixture.h"
#include "reports/structure_print.h"
#include "reports/widgets/header_dialog.h"
#include "results/widgets/result_table.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;

std::string pdfText(const std::string& pdf) {
    const std::string txt = pdf + ".txt";
    const std::string cmd = "pdftotext -layout '" + pdf + "' '" + txt + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::ifstream in(txt, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    std::remove(txt.c_str());
    return s.str();
}

// Prints from the preview into a PDF file instead of waiting for a user.
class PdfDialogs : public ReportDialogs {
  public:
    void showPreview(QPrintPreviewDialog& preview) override {
        preview.show();
        QApplication::processEvents();
        size = preview.size();
        suggestedPdf = static_cast<ReportPreview&>(preview).suggestedPdf().toStdString();
        if (auto* w = preview.findChild<QPrintPreviewWidget*>()) {
            w->updatePreview();
            pages = w->pageCount();
            zoomMode = w->zoomMode();
        }
        if (!screenshot.empty()) {
            // The whole screen: the main window with the preview over it.
            preview.resize(900, 700);
            for (int i = 0; i < 20; ++i) QApplication::processEvents();
            QGuiApplication::primaryScreen()->grabWindow(0).save(
                QString::fromStdString(screenshot));
        }
        if (print) static_cast<ReportPreview&>(preview).printAction()->trigger();
        preview.close();
    }
    bool choosePrinter(QPrinter& printer, QWidget*) override {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    }
    std::string pdf, screenshot, suggestedPdf;
    QSize size;
    QPrintPreviewWidget::ZoomMode zoomMode = QPrintPreviewWidget::CustomZoom;
    bool print = true;
    int pages = 0, asked = 0;
};

class ReportCommandsTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startWindow());
        useTemporaryDataFolder();
        installFileCommands(*window);
        installResultTable(*window);
        installReportCommands(*window);
        auto d = std::make_unique<PdfDialogs>();
        dialogs = d.get();
        setReportDialogs(*window, std::move(d));
        window->show();
        demo = copyDemo();
        prompts.fileChoices.push_back(demo);
        window->runCommand("FileOpen");
        settle();
    }
    StructureDocument& document() { return window->activeDocumentView()->document(); }

    PdfDialogs* dialogs = nullptr;
    std::string demo;
};

TEST_F(ReportCommandsTest, PreviewPrintsTheSamePagesAsTheCommandLine) {
    ASSERT_NE(window->activeDocumentView(), nullptr);
    for (const char* c : {"HeadSetUp", "LightReportPreview", "PrintStrucrure"})
        EXPECT_TRUE(window->hasCommandHandler(c)) << c;
    headerDialog(*window)->setReportDate(QDate(2026, 1, 2));
    dialogs->pdf = dir.file("preview.pdf");
    if (const char* shot = std::getenv("PELVORO_REPORT_SCREENSHOT")) dialogs->screenshot = shot;
    // From the menu, as the user starts it.
    ASSERT_TRUE(window->action("mmFilePreview")->isEnabled());
    window->action("mmFilePreview")->trigger();
    EXPECT_EQ(dialogs->asked, 1);
    ASSERT_TRUE(fs::exists(dialogs->pdf));
    EXPECT_GE(dialogs->pages, 1);
    // Large enough to read: most of the screen, the page at the window's width; a PDF
    // goes beside the document under its name.
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_GE(dialogs->size.width(), screen.width() * 3 / 4);
    EXPECT_GE(dialogs->size.height(), screen.height() * 3 / 4);
    EXPECT_EQ(dialogs->zoomMode, QPrintPreviewWidget::FitToWidth);
    EXPECT_EQ(dialogs->suggestedPdf, dir.file("Demo.pdf"));

    const std::string cliPdf = dir.file("cli.pdf");
    const std::string cmd = std::string(PELVORO_BIN_DIR) +
                            "/pelvoro-cli --language English report '" + demo + "' '" + cliPdf +
                            "' --date 2026-01-02 > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::string fromPreview = pdfText(dialogs->pdf);
    EXPECT_EQ(fromPreview, pdfText(cliPdf));
    EXPECT_NE(fromPreview.find("A. Tester"), std::string::npos) << fromPreview;
}

TEST_F(ReportCommandsTest, ReportCarriesTheCommentsOfItsOwnDocument) {
    // A second document whose header dialog was used last: the first one's report still
    // prints its own comments.
    TfrmHeader* header = headerDialog(*window);
    StructureDocument& first = document();
    StructureDocument other;
    other.ReportComments = {"Comment of another installation"};
    header->prepare(&other);
    header->finish(true);
    EXPECT_EQ(first.ReportComments.size(), 2u);
    dialogs->pdf = dir.file("own.pdf");
    window->runCommand("LightReportPreview");
    const std::string text = pdfText(dialogs->pdf);
    EXPECT_NE(text.find("Periodic inspection of the workshop"), std::string::npos);
    EXPECT_EQ(text.find("another installation"), std::string::npos);
}

TEST_F(ReportCommandsTest, HeaderDialogShowsAndKeepsTheDocumentTexts) {
    TfrmHeader* header = headerDialog(*window);
    StructureDocument& doc = document();
    header->prepare(&doc);
    EXPECT_EQ(header->field(kOperator1)->text(), "A. Tester");
    EXPECT_EQ(header->instrumentField(2)->text(), "24051234");
    EXPECT_TRUE(header->field(kOperator3)->isHidden());
    EXPECT_EQ(header->windowTitle(), QString::fromStdString(LangText("frmHeader_30")) + "  ");
    // The results overview is on until it is switched off, and the choice is kept.
    ASSERT_NE(header->overviewBox(), nullptr);
    EXPECT_TRUE(header->overviewBox()->isChecked());
    // The report date in the language's format ("9 Dec 2026" in English).
    header->setReportDate(QDate(2026, 12, 9));
    EXPECT_EQ(header->findChild<QDateEdit*>("dtpDate")->text(), "9 Dec 2026");
    if (const char* shot = std::getenv("PELVORO_HEADER_SCREENSHOT")) {
        header->show();
        settle();
        header->grab().save(QString::fromStdString(shot));
        header->hide();
    }

    // Typing into the footer marks the document at once; too much is refused with a beep.
    QLineEdit* footer = header->field(kFooter);
    footer->setFocus();
    footer->end(false);
    QTest::keyClicks(footer, QString(200, 'x'));
    EXPECT_TRUE(doc.Modified);
    EXPECT_GT(prompts.beeps, 0);
    EXPECT_LT(footer->text().size(), 200);
    EXPECT_TRUE(footer->text().startsWith("Demonstration document"));

    // A 15th comment line is refused.
    QPlainTextEdit* memo = header->comments();
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    for (int i = 0; i < 15; ++i) QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(countCommentLines(memo->toPlainText().toStdString()), kMaxCommentLines);

    QTest::keyClicks(header->field(kOperator2), " and C. Third");
    header->overviewBox()->click();
    header->finish(true);
    EXPECT_EQ(store.readBool("ReportOverview"), false);
    EXPECT_EQ(doc.HeaderLines.lines[kOperator2], "B. Assistant and C. Third");
    EXPECT_EQ(store.readString("Operator2"), "B. Assistant and C. Third");
    EXPECT_EQ(doc.ReportComments.size(), 13u);  // the empty line after the last break is none
}

TEST_F(ReportCommandsTest, StructurePreviewHasOnePagePerSection) {
    // Hidden in this brand's menus, the command itself works.
    dialogs->print = false;
    window->runCommand("PrintStrucrure");
    int sections = 0;
    for (const StructureItem* item : document().preorder())
        if (isSectionRootType(item->type())) ++sections;
    EXPECT_GE(sections, 1);
    EXPECT_EQ(dialogs->pages, sections);
    EXPECT_EQ(dialogs->asked, 0);
}

}  // namespace
}  // namespace pelvoro
