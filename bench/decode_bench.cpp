// Decoding speed of coded measurement records: a million generated records of
// installation and high-voltage testers.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "common/prompts.h"
#include "protocols/family_b/hv_decoder.h"
#include "protocols/family_b/install_decoder.h"

namespace {

using namespace pelvoro;

constexpr int kRecords = 1000000;

// Counts the decoders' problem reports.
class SilentPrompts : public NullPrompts {
  public:
    void information(const std::string&) override { ++reports; }
    void plainBox(const std::string&, const std::string&) override { ++reports; }
    long reports = 0;
};

void group(std::string& r, char kind, int q, int u, const std::string& value) {
    r.push_back(kind);
    r.push_back(char(q));
    r.push_back(char(u));
    r += value;
    r.push_back('\0');
}

std::string number(std::mt19937& rng) {
    std::uniform_int_distribution<int> d(0, 99999);
    std::string s = std::to_string(d(rng));
    if (s.size() > 2) s.insert(s.size() - 2, ".");
    return s;
}

// Records like those a tester stores: a verdict, the measured values, limits and
// settings; a few hundred distinct ones, repeated.
std::vector<std::string> installRecords(std::mt19937& rng) {
    std::vector<std::string> out;
    const std::string header("\x00\x01\x00\x02\x00\x03", 6);
    for (int i = 0; i < 256; ++i) {
        std::string r = header;
        switch (i % 6) {
            case 0:  // insulation
                r.push_back(char(15));
                group(r, 'R', 0, 0, i % 2 ? "Pass" : "Fail!");
                group(r, 'M', 1, 1, "500");
                group(r, 'R', 1, 7, number(rng));
                group(r, 'P', 90, 7, "1.00");
                group(r, 'P', 0, 62, "");
                break;
            case 1:  // RCD trip time
                r.push_back(char(141));
                group(r, 'R', 0, 0, "Pass");
                group(r, 'P', 87, 4, "30");
                group(r, 'P', 88, 0, "x1");
                group(r, 'P', 89, 33, "");
                group(r, 'P', 91, 61, "");
                group(r, 'R', 30, 10, number(rng));
                group(r, 'R', 32, 1, number(rng));
                group(r, 'P', 0, 62, "");
                break;
            case 2:  // line impedance
                r.push_back(char(30));
                group(r, 'R', 1, 5, "  " + number(rng) + " ");
                group(r, 'R', 21, 24, number(rng));
                group(r, 'P', 240, 0, "gG");
                group(r, 'P', 241, 3, "16");
                group(r, 'P', 242, 10, "400");
                group(r, 'M', 8, 1, "231");
                group(r, 'P', 0, 62, "");
                break;
            case 3:  // voltage
                r.push_back(char(63));
                group(r, 'R', 17, 1, number(rng));
                group(r, 'R', 18, 1, number(rng));
                group(r, 'R', 19, 1, number(rng));
                group(r, 'R', 243, 23, "50.0");
                break;
            case 4:  // phase rotation
                r.push_back(char(33));
                group(r, 'R', 16, 0, i % 3 ? "1.2.3" : "2.1.3");
                break;
            default:  // continuity with an unknown quantity
                r.push_back(char(34));
                group(r, 'R', 0, 0, "Pass");
                group(r, 'R', 1, 5, number(rng));
                group(r, 'R', 77, 5, "?");
                break;
        }
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<std::string> hvRecords(std::mt19937& rng) {
    std::vector<std::string> out;
    for (int i = 0; i < 256; ++i) {
        std::string r("\x00\x00\x00\x01", 4);
        r.push_back(char(2 + (i % 3) * 2));  // 2: insulation, 4: diagnostic, 6: step voltage
        group(r, 'R', 0, 0, "0");
        group(r, 'R', 1, 3, number(rng));
        group(r, 'R', 2, 1, "1000");
        group(r, 'R', 3, 7, number(rng));
        group(r, 'R', 4, 9, number(rng));
        group(r, 'P', 64, 1, "1000");
        r += "T12:30:05";
        r.push_back('\0');
        r += "D09.12.26";
        r.push_back('\0');
        out.push_back(std::move(r));
    }
    return out;
}

void BM_DecodeInstallRecords(benchmark::State& state) {
    std::mt19937 rng(1);
    auto records = installRecords(rng);
    std::string fp, name;
    long understood = 0;
    for (auto _ : state) {
        for (int i = 0; i < kRecords; ++i) {
            understood += DecodeInstallRecord(records[std::size_t(i) & 255], "24", fp, name);
            benchmark::DoNotOptimize(fp.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["understood"] = double(understood) / double(state.iterations());
}
BENCHMARK(BM_DecodeInstallRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DecodeHvRecords(benchmark::State& state) {
    std::mt19937 rng(2);
    auto records = hvRecords(rng);
    std::string fp, name;
    SilentPrompts prompts;
    for (auto _ : state) {
        for (int i = 0; i < kRecords; ++i) {
            DecodeHvRecord(records[std::size_t(i) & 255], prompts, fp, name);
            benchmark::DoNotOptimize(fp.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["reports"] = double(prompts.reports);
}
BENCHMARK(BM_DecodeHvRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
