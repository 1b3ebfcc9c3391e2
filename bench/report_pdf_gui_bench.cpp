// Speed of the light report: a document of 10 000 results laid out and written as a PDF
// file, as `pelvoro-cli report` and printing from the preview do. Reported in pages per
// second; the layout alone is measured separately.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPdfWriter>
#include <memory>
#include <string>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "reports/adapters/report_painting.h"
#include "reports/light_report.h"
#include "results/render_result.h"
#include "results/result_rows.h"

namespace {

using namespace pelvoro;

constexpr int kResults = 10000;

std::unique_ptr<StructureDocument> makeDocument() {
    auto doc = std::make_unique<StructureDocument>();
    StructureItem* object = doc->addItem(doc->root(), ItemType::Object, "Plant");
    StructureItem* block = doc->addItem(*object, ItemType::Block, "Main block");
    StructureItem* fuse = nullptr;
    for (int i = 0; i < kResults; ++i) {
        if (i % 4 == 0) fuse = doc->addItem(*block, ItemType::Fuse, "F" + std::to_string(i / 4));
        StructureItem* r = doc->addItem(*fuse, ItemType::Measurement, "R" + std::to_string(i));
        r->data.ResTexts = {"X#PN#L1Loop impedance",
                            "X#PR#L1Loop " + std::to_string(i),
                            "X#PR#L2Z: 0." + std::to_string(i % 97) + "#S258",
                            "X#PR#L2Isc: 511A",
                            "X#PL#L3Lim: 1.44#S258",
                            "X#PD05.12.2025  14:30"};
        r->data.L1Count = countL1Lines(r->data.ResTexts);
    }
    doc->HeaderLines.lines = {"Op", "", "", "Site", "", "", "Footer"};
    return doc;
}

void BM_LightReportPdf(benchmark::State& state) {
    auto doc = makeDocument();
    const ResultRows rows = AssignResultRows(*doc, &doc->root(), kViewFull, true);
    const LightReportTexts texts = lightReportTexts(*doc, "09.12.2026");
    const QString path = QDir::temp().filePath("pelvoro-bench-report.pdf");
    size_t pages = 0;
    for (auto _ : state) {
        writeReportPdf(
            path,
            [&](QPagedPaintDevice& device) {
                pages += printLightReport(device, texts, &rows, kViewFull).pages.size();
            },
            nullptr);
    }
    QFile::remove(path);
    state.counters["pages"] = double(pages) / double(state.iterations());
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LightReportPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_LightReportLayout(benchmark::State& state) {
    auto doc = makeDocument();
    const ResultRows rows = AssignResultRows(*doc, &doc->root(), kViewFull, true);
    const LightReportTexts texts = lightReportTexts(*doc, "09.12.2026");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kReportResolution);
    DeviceTextMeasure measure(&writer);
    LightReportPlanner planner(measure, dotsPerMm(writer));
    size_t pages = 0;
    for (auto _ : state) {
        LightReportInput in;
        in.texts = texts;
        in.rows = &rows;
        pages += planner.plan(in).pages.size();
    }
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LightReportLayout)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
