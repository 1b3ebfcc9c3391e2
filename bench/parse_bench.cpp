// Parsing speed of result strings: a million generated FP strings of every code family,
// read as a document load reads them.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "results/fp_parser.h"

namespace {

using namespace pelvoro;

constexpr int kRecords = 1000000;

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
    out.reserve(kRecords);
    const size_t templates = std::size(kTemplates);
    for (int i = 0; i < kRecords; ++i) {
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

void BM_ParseMillionFpStrings(benchmark::State& state) {
    static const std::vector<std::string> strings = generate();
    const FpParseContext context{"", "", 2};
    TResultsData results;
    bool seen = false;
    for (auto _ : state) {
        for (const std::string& fp : strings) {
            ParseFpString(fp, context, results, seen);
            benchmark::DoNotOptimize(results.FunctionCode.data());
        }
    }
    state.counters["records/s"] = benchmark::Counter(
        double(strings.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParseMillionFpStrings)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
