#include "reports/widgets/output_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/adapters/user_folders.h"
#include "common/lang_text.h"
#include "document/structure_document.h"
#include "document/widgets/child_form.h"
#include "document/widgets/document_view.h"
#include "reports/adapters/qt_safe_file.h"
#include "reports/export_text.h"
#include "reports/measurement_series.h"
#include "reports/widgets/export_dialog.h"
#include "reports/widgets/measurement_graph_window.h"
#include "reports/widgets/measurement_table_window.h"
#include "reports/widgets/modal_runner.h"
#include "results/widgets/result_table.h"

namespace pelvoro {

namespace {

ModalRunner& modalRunner() {
    static ModalRunner runner;
    return runner;
}

StructureItem* selectedSeriesItem(TfrmMainForm& w) {
    DocumentView* v = w.activeDocumentView();
    StructureItem* item = v ? v->selectedItem() : nullptr;
    return item && item->data.graph().hasSamples() ? item : nullptr;
}

}  // namespace

void setModalRunner(ModalRunner runner) {
    modalRunner() = std::move(runner);
}

int runModal(QDialog& dialog) {
    if (modalRunner()) return modalRunner()(dialog);
    return dialog.exec();
}

void installOutputCommands(TfrmMainForm& w) {
    TfrmMainForm* window = &w;
    // Made once: the dialog keeps its choices for the rest of the run.
    auto* exportDialog = new TfrmExport(&w);

    w.setCommandHandler("Export", [window, exportDialog](int) {
        DocumentView* v = window->activeDocumentView();
        const ResultRows* shown = nullptr;
        if (v && v->resultTableShown())
            if (TfrmChildForm* form = childFormOf(v))
                if (auto* table = qobject_cast<ResultTableView*>(form->resultsArea()))
                    shown = &table->rows();
        ExportCommandHost host;
        host.prompts = &window->prompts();
        host.chooseFormat = [exportDialog] { return exportDialog->choose(); };
        // The dialog is the export's, with the document's name, in the folder of the last
        // export (at first the document's own folder, or the user's documents folder).
        host.title = fromQt(toQt(LangText("mmFileExport_15")).remove('&').remove("...").trimmed());
        if (v) {
            const QFileInfo doc(pathToQt(v->document().FilePath));
            host.fileName = pathFromQt(doc.completeBaseName() + ".txt");
            const std::string documentFolder =
                v->document().HasFile ? pathFromQt(doc.absolutePath()) : userDocumentsFolder();
            host.initialFolder =
                rememberedFolder(window->settings(), kExportFolderSetting, documentFolder);
        }
        host.written = [window](const std::string& path) {
            rememberFolder(window->settings(), kExportFolderSetting,
                           pathFromQt(QFileInfo(pathToQt(path)).absolutePath()));
        };
        host.writeFile = writeFileSafely;
        runExportCommand(shown, host);
    });

    w.setCommandHandler("ShowTable", [window](int) {
        StructureItem* item = selectedSeriesItem(*window);
        if (!item || !measurementTableOffered(item->data.graph())) return;
        TfrmMeasTable table(window);
        table.fill(item->data.graph());
        table.setItemInfo(graphItemInfo(*item));
        runModal(table);
    });

    w.setCommandHandler("DrawGraph", [window](int) {
        StructureItem* item = selectedSeriesItem(*window);
        if (!item) return;
        TfrmGraph graph(window);
        graph.fill(item->data.graph(), false);
        graph.setItemInfo(graphItemInfo(*item));
        runModal(graph);
    });
}

}  // namespace pelvoro
