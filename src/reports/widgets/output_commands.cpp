#include "reports/widgets/output_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <memory>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
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
    return item && item->data.Graph.hasSamples() ? item : nullptr;
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
        const QString userData =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        host.initialFolder = exportFolder(pathFromQt(QCoreApplication::applicationDirPath()),
                                          pathFromQt(QDir::cleanPath(userData)));
        host.writeFile = writeFileSafely;
        runExportCommand(shown, host);
    });

    w.setCommandHandler("ShowTable", [window](int) {
        StructureItem* item = selectedSeriesItem(*window);
        if (!item || !measurementTableOffered(item->data.Graph)) return;
        TfrmMeasTable table(window);
        table.fill(item->data.Graph);
        table.setItemInfo(graphItemInfo(*item));
        runModal(table);
    });

    w.setCommandHandler("DrawGraph", [window](int) {
        StructureItem* item = selectedSeriesItem(*window);
        if (!item) return;
        TfrmGraph graph(window);
        graph.fill(item->data.Graph, false);
        graph.setItemInfo(graphItemInfo(*item));
        runModal(graph);
    });
}

}  // namespace pelvoro
