// Speed of result line generation: 100 000 generated results of every code family, each
// parsed and turned into mark-up lines as a document load does, inspection texts wrapped;
// the lines go into one buffer that keeps its capacity.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "common/lang_text.h"
#include "results/fp_parser.h"
#include "results/render_result.h"

namespace {

using namespace pelvoro;

constexpr int kResults = 100000;

// Templates of the strings the testers and decoders produce; "#" is replaced by a number.
const char* const kTemplates[] = {
    "F;101;;3;1;0;1;#;#;#;#;",
    "F;102;11;0;500;#M;#M;#;;;;;1;",
    "F;102;3;1;500;#M;#M;#M;#M;#;#;#;1;",
    "F;103;1;0;#;#;#;#;",
    "F;104;0;0;gG;#;#;#;#;#k;#;#;;;;;;1;",
    "F;105;1;0;1;gG;#;#;#;#;#;#;#;#;#;#;#;3;",
    "F;106;11;0;3;30m;#S330#S316;50;#;#;#;#;",
    "F;106;2;0;1;30m;#S332#S316;;#m;#m;#m;#m;#m;#m;#m;#m;#m;#m;#;",
    "F;108;0;0;#;#;#k;#k;;1;",
    "F;109;0;1;#m;#m;1;",
    "F;114;0;0;1;#k;#m;#m;#k;#k;1;",
    "F;116;0;0;#M;500;#M;#;#;500;1;",
    "F;125;4;0;#;;;#;#;1;#;",
    "F;2;0;0;500;#M;#M;#;1;;;;;",
    "F;3;2;0;0;#k;230;#;x;#;;1;",
    "F;4;98;1;gG;16;0.4;#;#;#;#;#;#;#;#;",
    "F;16;7;0;01210;",
    "F;17;1;1;4;2.5;16;#;#;#;#;1;",
    "F;21;1;0;3;1;4;16;0.4;#;#;#;",
    "F;22;0;1;0120120120;3;",
    "F;55;2;1;500;-5;#M;500;;;;",
    "F;54;3;0;30m;302;50;#m;#;#;#;#;#;#;#;#;#;#;",
    "F;201;0;1;#;#;12:00:01;01.02.2026;",
    "F;204;0;2;#G;#;#n;#n;#G;#G;#G;#;#;#;#;#;30s;1min;10min;12:00;01.02.2026;",
    "F;206;0;3;#;#;#;#;#;#;#;#;#;#;#;#;#;#;#;#;60s;60s;60s;60s;60s;T;D;",
    "F;301;#mA;;#kV;5mA;1kV;;",
    "F;305;#s;;;;DC;;",
    "F;7;0;1;",  // unknown code
};

std::vector<std::string> generate() {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> number(0, 99999);
    std::vector<std::string> out;
    out.reserve(kResults);
    const size_t templates = std::size(kTemplates);
    for (int i = 0; i < kResults; ++i) {
        std::string s;
        for (const char* p = kTemplates[i % templates]; *p; ++p) {
            if (*p != '#' || p[1] == 'S') {
                s.push_back(*p);
                continue;
            }
            std::string n = std::to_string(number(rng));
            if (n.size() > 2) n = n.substr(0, n.size() - 2) + "." + n.substr(n.size() - 2);
            s += n;
        }
        out.push_back(std::move(s));
    }
    return out;
}

std::string language() {
    std::string ini = "[Language]\ntext559=Limit\nSystem_7=System:\nUnit_SYS-TN/TT=TN/TT\n";
    for (int i = 1; i <= 65; ++i)
        ini += "VisualFS_" + std::to_string(i) +
               "=<0>Question text long enough to be wrapped once or twice in the column\n";
    for (const char* g : {"E", "EE", "WS", "SB", "CM", "G"})
        for (int i = 1; i <= 15; ++i)
            ini += std::string("Visual_") + g + std::to_string(i) + "=An inspection question\n";
    return ini;
}

void BM_RenderHundredThousandResults(benchmark::State& state) {
    static const std::vector<std::string> strings = generate();
    setCurrentLanguageFile(LanguageFile::fromText(language()));
    const FpParseContext context{"", "", 2};
    CharacterCellMeasure measure;
    RenderOptions options;
    options.measure = &measure;
    options.columnWidth = kDefaultResultsColumnWidth;
    TResultsData results;
    bool seen = false;
    LineBuffer buffer;
    size_t lines = 0;
    for (auto _ : state) {
        for (const std::string& fp : strings) {
            ParseFpString(fp, context, results, seen);
            generateResultLines(results, options, buffer);
            lines += buffer.size();
        }
    }
    benchmark::DoNotOptimize(lines);
    state.counters["results/s"] = benchmark::Counter(
        double(strings.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["lines/result"] =
        double(lines) / double(strings.size()) / double(state.iterations());
}
BENCHMARK(BM_RenderHundredThousandResults)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
