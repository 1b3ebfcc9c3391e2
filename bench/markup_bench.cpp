// Interpreting speed of result mark-up lines, as the results table, the report and the
// export interpret them: typical headings, values, limits and inspection lines.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/lang_text.h"
#include "results/markup.h"

namespace {

using namespace pelvoro;

const std::vector<std::string>& sampleLines() {
    static const std::vector<std::string> lines = {
        "X#PR#L1Loop impedance L1/PE#Cb#AR#K023",
        "X#PR#L1#K538: #K335#CR#AR#K020",
        "X#PR#L2Z: 0.42#S258",
        "X#PR#L3Isc: 547A",
        "X#PL#L3Limit: 1.00M#S258",
        "X#PR#L2R: 12.5M#S258  Um: 500V",
        "X#PR#L2t#S308: 23.4ms",
        "X#PR#L2U: #S272#S272#S272V",
        "X#PR#L3System: TN/TT",
        "X#PR#FB#L1#S348 Main switch accessible and marked",
        "X#PR#L2   continuation of a long inspection question text",
        "X#PD09.12.2026  10:15:32",
    };
    return lines;
}

const TextCodeTable& codes() {
    static const TextCodeTable table = [] {
        TextCodeTable t;
        t.fill(
            *LanguageFile::fromText("[Language]\ntext20=Failed\ntext23=Passed\ntext335=Trip time\n"
                                    "text538=RCD\nimOhm=Ohm\n"));
        return t;
    }();
    return table;
}

void interpretLines(benchmark::State& state, MarkupMode mode) {
    MarkupSources sources;
    sources.textCodes = &codes();
    sources.keyText = [](std::string_view) { return std::string("Ohm"); };
    const MarkupInterpreter interpreter(sources);
    const auto& lines = sampleLines();
    MarkupLine out;
    size_t i = 0;
    for (auto _ : state) {
        interpreter.parse(lines[i++ % lines.size()], mode, out);
        benchmark::DoNotOptimize(out.runs.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_MarkupWrite(benchmark::State& state) {
    interpretLines(state, MarkupMode::Write);
}
void BM_MarkupClipBrd(benchmark::State& state) {
    interpretLines(state, MarkupMode::ClipBrd);
}

}  // namespace

BENCHMARK(BM_MarkupWrite);
BENCHMARK(BM_MarkupClipBrd);
