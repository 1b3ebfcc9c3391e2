// Opening a large document in the window: a file of 100 000 items (about 73 000 results,
// each with its date line, inspections among them) is opened with File > Open and shown
// until the results table of its root has been painted once, on the offscreen platform.
// The counter "rewrap_cpu_ms" is the CPU time, after that paint, until the table has
// wrapped the inspection texts again to its own column width (not in the timed part).
//
//   build/bin/open_document_gui_bench
//
// The documents it opens stay in the temporary folder for the command-line figures:
// pelvoro-bench-10000.TMV and pelvoro-bench-100000.TMV.

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "app/widgets/extensions.h"
#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "common/prompts.h"
#include "common/settings_store.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/widgets/child_form.h"
#include "files/document_file.h"
#include "files/file_commands.h"
#include "files/widgets/file_commands_qt.h"

namespace {

using namespace pelvoro;

constexpr int kItems = 100000;

// Results of a download: loop impedance, RCD, insulation and continuity, and now and then
// an inspection whose questions are wrapped to the results column.
const char* const kResults[] = {
    "F;105;0;0;1;gG;16;0.4;200;0.45;510;0.4;0.2;;;;;",
    "F;106;0;0;1;30m;#S330#S316;50;25.2m;1.2;",
    "F;102;11;0;500;1.5M;>999M;500;;;;;1;",
    "F;103;1;0;2.0;0.12;0.12;0.13;1;",
    "F;105;0;0;1;gG;16;0.4;200;0.52;440;0.5;0.2;;;;;",
    "F;106;2;0;1;30m;#S332#S316;;12m;14m;20m;22m;9m;10m;11m;12m;18m;19m;25;",
    "F;109;0;1;30m;12.5m;1;",
    "F;22;0;1;0120120120;3;",
};

std::string writeDocument(int items) {
    StructureDocument doc;
    int made = 0, results = 0;
    for (int o = 1; made < items; ++o) {
        StructureItem* object =
            doc.addItem(doc.root(), ItemType::Object, "Object " + std::to_string(o));
        ++made;
        for (int b = 1; b <= 10 && made < items; ++b) {
            StructureItem* block =
                doc.addItem(*object, ItemType::Block, "Block " + std::to_string(b));
            ++made;
            for (int f = 1; f <= 10 && made < items; ++f) {
                StructureItem* fuse = doc.addItem(*block, ItemType::Fuse, "F" + std::to_string(f));
                ++made;
                for (int r = 0; r < 3 && made < items; ++r, ++made, ++results) {
                    StructureItem* item = doc.addItem(*fuse, ItemType::Measurement, "Result");
                    item->data.ProtVer = 2;
                    item->data.ResTexts = {"X#PD05.12.2025  14:" + std::to_string(10 + r)};
                    item->data.FileTextCount = 1;  // a line of the file, written with it
                    item->data.FpStrings = {kResults[results % std::size(kResults)]};
                }
            }
        }
    }
    const std::string p =
        pathFromQt(QDir::temp().filePath(QString("pelvoro-bench-%1.TMV").arg(items)));
    std::ofstream(p, std::ios::binary) << writeDocumentToString(doc);
    return p;
}

std::string documentPath() {
    static const std::string path = [] {
        writeDocument(kItems / 10);
        return writeDocument(kItems);
    }();
    return path;
}

// Notes the first paint of the results table.
class PaintWatch : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

void BM_OpenHundredThousandItems(benchmark::State& state) {
    const std::string path = documentPath();
    double rewrapMs = 0;
    for (auto _ : state) {
        MemorySettingsStore store;
        NullPrompts prompts;
        TfrmMainForm::Services services;
        services.settings = &store;
        services.prompts = &prompts;
        services.printerCount = [] { return 1; };
        state.PauseTiming();
        auto window = std::make_unique<TfrmMainForm>(services);
        window->start(PELVORO_SOURCE_DATA_DIR);
        installExtensions(*window);
        window->resize(1280, 900);
        window->show();
        QApplication::processEvents();
        state.ResumeTiming();

        fileCommandsOf(*window)->open(path);
        TfrmChildForm* form = childFormOf(window->activeDocumentView());
        auto* table = form ? qobject_cast<QAbstractItemView*>(form->resultsArea()) : nullptr;
        if (!table) {
            state.SkipWithError("the document did not open");
            break;
        }
        PaintWatch watch;
        table->viewport()->installEventFilter(&watch);
        table->viewport()->update();
        while (!watch.painted) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        table->viewport()->removeEventFilter(&watch);

        state.PauseTiming();
        // The table wraps the inspection texts to its column a moment after it was laid out.
        auto waiting = [table] {
            for (const QTimer* t : table->findChildren<QTimer*>())
                if (t->isActive()) return true;
            return false;
        };
        const std::clock_t rewrapStart = std::clock();
        while (waiting()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        rewrapMs += double(std::clock() - rewrapStart) * 1000.0 / CLOCKS_PER_SEC;
        for (auto* w : window->documentWindows()) w->close();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["rewrap_cpu_ms"] = rewrapMs / double(std::max<int64_t>(1, state.iterations()));
}
BENCHMARK(BM_OpenHundredThousandItems)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
