#include "reports/widgets/output_commands.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLogValueAxis>
#include <QMdiArea>
#include <QPdfWriter>
#include <QScatterSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <filesystem>
#include <fstream>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "document/widgets/child_form.h"
#include "files/file_commands.h"
#include "files/widgets/file_commands_qt.h"
#include "main_window_fixture.h"
#include "reports/widgets/export_dialog.h"
#include "reports/widgets/measurement_graph_window.h"
#include "reports/widgets/measurement_table_window.h"
#include "reports/widgets/modal_runner.h"
#include "results/widgets/result_table.h"
#include "support/language_fixture.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;

const std::string kGolden = std::string(PELVORO_SOURCE_DATA_DIR) + "/../tests/e2e/golden/";

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Pictures of the windows for a person to look at: PELVORO_KEEP_PICTURES=DIR.
void keepPicture(QWidget& w, const std::string& name) {
    if (const char* dir = std::getenv("PELVORO_KEEP_PICTURES"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

class OutputCommandsTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startWindow());
        useTemporaryDataFolder();
        installFileCommands(*window);
        installResultTable(*window);
        installOutputCommands(*window);
        window->show();
    }
    TfrmChildForm* open(const std::string& path) {
        fileCommandsOf(*window)->open(path);
        settle();
        TfrmChildForm* form = childFormOf(window->activeDocumentView());
        // The results side shown (not the item's properties).
        window->action("tbnSettings")->setChecked(false);
        if (form) form->showProperties();
        settle();
        return form;
    }
};

TEST_F(OutputCommandsTest, ExportWritesTheShownTableAndKeepsTheFormatForTheRun) {
    // No document: the message, no dialog.
    window->runCommand("Export");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, LangText("msgNoDatToExp_50"));

    TfrmChildForm* form = open(kGolden + "measurements.TMV");
    ASSERT_NE(form, nullptr);
    int dialogs = 0;
    setModalRunner([&](QDialog& d) {
        auto* format = qobject_cast<TfrmExport*>(&d);
        if (!format) return int(QDialog::Rejected);
        EXPECT_EQ(d.windowTitle(), "Export Format");
        // The first time semicolon and LF are chosen; the second time they are kept.
        if (dialogs++ == 0) {
            d.findChild<QAbstractButton*>("rgDelimiter_1")->setChecked(true);
            d.findChild<QAbstractButton*>("rgEOLSign_2")->setChecked(true);
        }
        return int(QDialog::Accepted);
    });
    prompts.fileChoices.push_back(dir.file("first.txt"));
    window->runCommand("Export");
    ASSERT_EQ(prompts.fileRequests.size(), 1u) << ::testing::PrintToString(prompts.texts());
    // The export's own dialog, the document's name, at first in the document's folder.
    EXPECT_EQ(prompts.fileRequests[0].title, "Export");
    EXPECT_EQ(prompts.fileRequests[0].fileName, "measurements.txt");
    EXPECT_EQ(prompts.fileRequests[0].filter, "Text files (*.TXT)|*.TXT");
    EXPECT_EQ(prompts.fileRequests[0].defaultExtension, "txt");
    EXPECT_TRUE(fs::equivalent(prompts.fileRequests[0].directory, kGolden));
    EXPECT_EQ(readAll(dir.file("first.txt")), readAll(kGolden + "export_full_semicolon_lf.txt"));

    // A second export from another document carries nothing of the first.
    fs::copy_file(std::string(PELVORO_SOURCE_DATA_DIR) + "/Demo.TMV", dir.file("Demo.TMV"));
    ASSERT_NE(open(dir.file("Demo.TMV")), nullptr);
    prompts.fileChoices.push_back(dir.file("second.txt"));
    window->runCommand("Export");
    EXPECT_EQ(dialogs, 2);
    // The next export starts where the last one went.
    EXPECT_EQ(prompts.fileRequests[1].directory, dir.path());
    EXPECT_EQ(prompts.fileRequests[1].fileName, "Demo.txt");
    const std::string second = readAll(dir.file("second.txt"));
    EXPECT_EQ(second.rfind("No.;Results\n1;Workshop", 0), 0u) << second;
    EXPECT_EQ(second.find("Hall A"), std::string::npos);
    EXPECT_EQ(second.find("Press 2"), std::string::npos);
    EXPECT_EQ(second.find('\r'), std::string::npos);
    EXPECT_NE(second.back(), '\n');

    // Cancel in the format dialog: no file dialog.
    setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    window->runCommand("Export");
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
}

TEST_F(OutputCommandsTest, TableAndGraphFollowTheSelectedSeries) {
    TfrmChildForm* form = open(kGolden + "measurements.TMV");
    ASSERT_NE(form, nullptr);
    StructureDocument& doc = form->document();
    QAction* graph = window->action("mmFileDrawGraph");
    QAction* table = window->action("mmFileShowTable");
    // This brand does not offer them.
    EXPECT_FALSE(graph->isVisible());
    EXPECT_FALSE(table->isVisible());
    // A profile that shows them.
    for (const char* name : {"mmFileDrawGraph", "mmFileShowTable", "tbnGraph", "tbnTableGr"})
        window->action(name)->setVisible(true);

    struct Case {
        int item;
        bool graph, table;
    } cases[] = {
        {4, false, false}, {7, true, true}, {8, true, true}, {9, true, false}, {0, false, false}};
    for (const Case& c : cases) {
        form->setCurrentItem(doc.itemAt(c.item));
        settle();
        EXPECT_EQ(graph->isEnabled(), c.graph) << c.item;
        EXPECT_EQ(window->action("tbnGraph")->isEnabled(), c.graph) << c.item;
        EXPECT_EQ(table->isEnabled(), c.table) << c.item;
        EXPECT_EQ(window->action("tbnTableGr")->isEnabled(), c.table) << c.item;
    }
    // Show Table on the insulation curve.
    form->setCurrentItem(doc.itemAt(7));
    settle();
    int shown = 0;
    setModalRunner([&](QDialog& d) {
        ++shown;
        if (auto* t = qobject_cast<TfrmMeasTable*>(&d)) {
            EXPECT_EQ(d.windowTitle(), "Measurement Table");
            EXPECT_EQ(d.width(), 675);
            QTableWidget* grid = t->grid();
            EXPECT_EQ(grid->rowCount(), 13);
            EXPECT_EQ(grid->item(0, 1)->text(), "    Time  [hh:mm:ss]");
            EXPECT_EQ(grid->item(1, 1)->text(), "    00:00:10");
            EXPECT_EQ(grid->item(12, 1)->text(), "    00:10:00");
            EXPECT_EQ(grid->selectionMode(), QAbstractItemView::NoSelection);
            d.show();
            settle();
            keepPicture(d, "table_window.png");
            // Printed as a table of text: every cell can be read (and searched) on paper.
            const std::string pdf = dir.file("table.pdf");
            {
                QPdfWriter writer(QString::fromStdString(pdf));
                printMeasurementTable(writer, measurementTable(doc.itemAt(7)->data.graph()),
                                      {"Measurement Table"});
            }
            const std::string txt = pdf + ".txt";
            EXPECT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + txt + "'").c_str()), 0);
            const std::string text = readAll(txt);
            for (const char* cell : {"[hh:mm:ss]", "00:00:10", "00:10:00", "Resistance"})
                EXPECT_NE(text.find(cell), std::string::npos) << cell << "\n" << text;
        }
        return int(QDialog::Accepted);
    });
    window->action("mmFileShowTable")->trigger();
    EXPECT_EQ(shown, 1);

    // Draw Graph for each kind.
    for (int item : {7, 8, 9}) {
        form->setCurrentItem(doc.itemAt(item));
        settle();
        setModalRunner([&](QDialog& d) {
            auto* g = qobject_cast<TfrmGraph*>(&d);
            EXPECT_NE(g, nullptr);
            if (!g) return int(QDialog::Rejected);
            d.resize(900, 600);
            d.show();
            settle();
            QChart* chart = g->chart();
            const bool step = item == 9;
            EXPECT_EQ(chart->legend()->isVisible(), step);
            auto left = chart->axes(Qt::Vertical);
            EXPECT_EQ(left.size(), 2);
            if (left.size() != 2) return int(QDialog::Rejected);
            // Insulation and step voltage are stored with a logarithmic resistance scale.
            EXPECT_EQ(qobject_cast<QLogValueAxis*>(left[0]) != nullptr, item != 8) << item;
            EXPECT_EQ(left[1]->isVisible(), step);
            EXPECT_EQ(g->panelText(1), " R: ");
            EXPECT_TRUE(g->panelText(3).startsWith("Measurement start:")) << item;
            int red = 0;
            for (QAbstractSeries* s : chart->series())
                if (auto* sc = qobject_cast<QScatterSeries*>(s))
                    if (sc->color() == QColor(255, 0, 0)) red = int(sc->count());
            EXPECT_EQ(red, step ? 2 : 0) << item;  // the over-range point and the next
            keepPicture(d, "graph_window_" + std::to_string(item) + ".png");
            // View ▸ Auto Range refills; the window keeps working.
            d.findChild<QAction*>("gmAutoRange")->trigger();
            EXPECT_EQ(g->plot().resistance.size(), doc.itemAt(item)->data.graph().samples.size());
            return int(QDialog::Accepted);
        });
        window->runCommand("DrawGraph");
    }
}

}  // namespace
}  // namespace pelvoro
