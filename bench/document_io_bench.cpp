// Loading and saving generated documents of 10 000 and 100 000 items. Linear growth shows
// as a ratio of about 10 between the two sizes.
//
//   build/bin/document_io_bench --benchmark_filter=Document

#include <benchmark/benchmark.h>

#include <string>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "files/document_file.h"

namespace {

using namespace pelvoro;

// An installation: objects of 10 blocks of 10 fuses, each fuse with 3 results.
void fillInstallation(StructureDocument& doc, int items) {
    int made = 0;
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
                for (int r = 0; r < 3 && made < items; ++r, ++made) {
                    StructureItem* result = doc.addItem(*fuse, ItemType::Measurement, "Result");
                    result->data.ProtVer = 2;
                    result->data.FpStrings = {
                        "F;52;0;0;gG;16;0.4;200;0.45;510;4.0;2.1;0.3m;",
                        "F;54;3;0;30m;302;50;20;21;22;23;24;25;26;27;28;29;5;"};
                }
            }
        }
    }
}

// Every item directly under the root: the widest sibling list there can be.
void fillFlat(StructureDocument& doc, int items) {
    for (int i = 0; i < items; ++i)
        doc.addItem(doc.root(), ItemType::Fuse, "F" + std::to_string(i));
}

std::string generated(int items, bool flat) {
    StructureDocument doc;
    flat ? fillFlat(doc, items) : fillInstallation(doc, items);
    return writeDocumentToString(doc);
}

void loadDocument(benchmark::State& state, bool flat) {
    const std::string bytes = generated(int(state.range(0)), flat);
    DocumentReadOptions options;
    for (auto _ : state) {
        StructureDocument doc;
        DocumentReadResult r = readDocumentFromBytes(doc, bytes, options);
        if (!r.ok || doc.itemCount() != state.range(0) + 1) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.itemCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["items"] = double(state.range(0));
}

void saveDocument(benchmark::State& state, bool flat) {
    StructureDocument doc;
    flat ? fillFlat(doc, int(state.range(0))) : fillInstallation(doc, int(state.range(0)));
    for (auto _ : state) {
        std::string bytes = writeDocumentToString(doc);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["items"] = double(state.range(0));
}

void BM_DocumentLoad(benchmark::State& s) {
    loadDocument(s, false);
}
void BM_DocumentSave(benchmark::State& s) {
    saveDocument(s, false);
}
void BM_DocumentLoadFlat(benchmark::State& s) {
    loadDocument(s, true);
}
void BM_DocumentSaveFlat(benchmark::State& s) {
    saveDocument(s, true);
}

BENCHMARK(BM_DocumentLoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentSave)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentLoadFlat)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentSaveFlat)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
