// A whole download of a 500-record memory from the simulated tester, throttled to 4800
// baud on a pseudo terminal, through the real serial port and clock. Reports
//   ratio = wall time / (bytes on the wire * 10 / baud + the pauses the protocol mandates)
// where the pauses are the handshakes' settle times and the fixed pauses of the download.
// 1.0 would be a program that never waits for anything but the line. The simulator
// throttles what it sends; what the program writes crosses the pty at once, so the bytes
// counted for the ratio are the tester's (rx); tx is reported beside them.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "common/adapters/qt_link_clock.h"
#include "common/settings_store.h"
#include "instrument/adapters/qt_serial_port.h"
#include "instrument/instrument_context.h"
#include "protocols/download_command.h"
#include "sim_harness.h"
#include "support/memory_download_host.h"

namespace {

using namespace pelvoro;

// Counts the bytes that cross the line in both directions.
class CountingPort : public SerialPort {
  public:
    explicit CountingPort(SerialPort& inner) : p_(inner) {}
    void setPortNumber(int n) override { p_.setPortNumber(n); }
    int portNumber() const override { return p_.portNumber(); }
    void setBaudRate(int b) override { p_.setBaudRate(b); }
    int baudRate() const override { return p_.baudRate(); }
    bool open() override { return p_.open(); }
    void close() override { p_.close(); }
    bool isOpen() const override { return p_.isOpen(); }
    std::string openFailure() const override { return p_.openFailure(); }
    void write(std::string_view b) override {
        tx += b.size();
        p_.write(b);
    }
    std::size_t bytesWaiting() override { return p_.bytesWaiting(); }
    std::string read(std::size_t n) override { return counted(p_.read(n)); }
    std::string readAll() override { return counted(p_.readAll()); }
    void purgeInput() override { p_.purgeInput(); }
    void purgeAll() override { p_.purgeAll(); }
    std::size_t rx = 0, tx = 0;

  private:
    std::string counted(std::string s) {
        rx += s.size();
        return s;
    }
    SerialPort& p_;
};

// Tells what the download says, answers nothing.
class NoPrompts : public NullPrompts {
  public:
    void information(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
    void plainBox(const std::string&, const std::string& t) override { information(t); }
};

// 500 machine tester records over three machines.
std::string memoryScenario(int records) {
    std::string s = "model CV61\ndelay 0\n[instrument]\nname CV 61\nserial 61000042\n";
    char line[160];
    for (int i = 1; i <= records; ++i) {
        std::snprintf(line, sizeof line,
                      "[record]\ndata 01 %02d %04X 04 00 0A 10 %02d 09 12 26  3A %02d %02d  08 05 "
                      "12  00 FF FF\n",
                      1 + i % 3, i, i % 60, (i / 100) % 10 + 10, i % 100);
        s += line;
    }
    return s;
}

// Mandated pauses of a family C download: two handshakes (0.2 s before the probe and a
// 1 s settle each), 0.3 s before and after the records.
constexpr double kMandatedPauses = 2 * (0.2 + 1.0) + 0.3 + 0.3;

void BM_DownloadFamilyC500At4800(benchmark::State& state) {
    const int records = int(state.range(0));
    const std::string scenarioFile = "/tmp/pelvoro-download-bench.sim";
    std::ofstream(scenarioFile) << memoryScenario(records);
    for (auto _ : state) {
        e2e::Simulator sim({"--model", "CV61", "--scenario", scenarioFile, "--baud", "4800"});
        MemorySettingsStore settings;
        settings.writeString("PortDevice1", sim.device());
        std::unique_ptr<SerialPort> real = makeSystemSerialPort(&settings);
        CountingPort port(*real);
        QtLinkClock clock;
        NullProgress progress;
        NoPrompts prompts;
        Link link(port, clock, progress, prompts);
        link.setPortNumber(1);
        link.setBaudRate(4800);
        SimpleModelSelection models("CV61", 1);
        InstrumentContext ctx(link, models, "Tamvisto");
        testing::MemoryDownloadHost host;
        auto start = std::chrono::steady_clock::now();
        DownloadResult r = DownLoadNewINSTR(ctx, host);
        double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int results = 0;
        if (r.document)
            for (StructureItem* item : r.document->preorder()) results += item->isResult();
        const double line = double(port.rx) * 10.0 / 4800.0;
        state.SetIterationTime(wall);
        state.counters["records"] = results;
        state.counters["rx"] = double(port.rx);
        state.counters["tx"] = double(port.tx);
        state.counters["wall_s"] = wall;
        state.counters["line_s"] = line;
        state.counters["ratio"] = wall / (line + kMandatedPauses);
    }
    std::remove(scenarioFile.c_str());
}
BENCHMARK(BM_DownloadFamilyC500At4800)
    ->Arg(500)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
