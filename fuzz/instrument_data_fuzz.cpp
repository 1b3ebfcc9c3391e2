// Feeds arbitrary tester replies to the instrument data requests of the three protocol
// families, to identification and to the status reads of the writes, and arbitrary
// blocks and lines to the parsers. Everything must end within its time limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "protocols/family_a/family_a_identification.h"
#include "protocols/family_b/family_b_identification.h"
#include "protocols/family_c/family_c_identification.h"
#include "protocols/identification.h"
#include "protocols/instrument_requests.h"

namespace {

using namespace pelvoro;

class VirtualClock : public LinkClock {
  public:
    double elapsedSeconds() override { return now; }
    void pause(double seconds) override {
        if (seconds > 0) now += seconds;
    }
    void processEvents() override {}
    double now = 0;
};

// Bytes arrive at scripted times, whatever is written.
class TimedPort : public SerialPort {
  public:
    explicit TimedPort(LinkClock& clock) : clock_(clock) {}
    void add(double at, char b) { incoming_.emplace(at, b); }
    void setPortNumber(int n) override { port_ = n; }
    int portNumber() const override { return port_; }
    void setBaudRate(int baud) override { baud_ = baud; }
    int baudRate() const override { return baud_; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    std::string openFailure() const override { return {}; }
    void write(std::string_view) override {}
    std::size_t bytesWaiting() override {
        collect();
        return open_ ? arrived_.size() - taken_ : 0;
    }
    std::string read(std::size_t n) override {
        collect();
        if (!open_) return {};
        n = std::min(n, arrived_.size() - taken_);
        std::string out = arrived_.substr(taken_, n);
        taken_ += n;
        return out;
    }
    std::string readAll() override { return read(bytesWaiting()); }
    void purgeInput() override {
        collect();
        arrived_.clear();
        taken_ = 0;
    }
    void purgeAll() override { purgeInput(); }

  private:
    void collect() {
        while (!incoming_.empty() && incoming_.begin()->first <= clock_.elapsedSeconds()) {
            arrived_ += incoming_.begin()->second;
            incoming_.erase(incoming_.begin());
        }
    }
    LinkClock& clock_;
    std::multimap<double, char> incoming_;
    std::string arrived_;
    std::size_t taken_ = 0;
    int port_ = 1, baud_ = 4800;
    bool open_ = false;
};

class NoProgress : public ProgressWindow {
  public:
    void show(const std::string&) override {}
    void hide() override {}
    void setStep(const std::string&) override {}
    void setGauge(int, int) override {}
    void setSecondGauge(int, int) override {}
    bool cancelPressed() override { return false; }
};

class NoPrompts : public Prompts {
  public:
    void information(const std::string&) override {}
    void plainBox(const std::string&, const std::string&) override {}
    Answer askYesNo(const std::string&, const std::string&) override { return Answer::No; }
    Answer askYesNoCancel(const std::string&, const std::string&) override {
        return Answer::Cancel;
    }
    void beep() override {}
    void setBusy(bool) override {}
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }
};

void parsers(const std::string& bytes) {
    TInstrumentData d;
    applyFamilyALine(d, bytes);
    applyFamilyBBlock(d, bytes, FirmwareFieldRule::Whole);
    applyFamilyBBlock(d, bytes, FirmwareFieldRule::SplitAtHW);
    applyFamilyBBlock(d, bytes, FirmwareFieldRule::Ignore);
    applyFamilyCBlock(d, bytes);
    firmwareVersionNumber(bytes);
    hardwareVersionFromBlock(bytes);
    std::string serial = bytes.substr(0, 8);
    std::string next = incrementSerialNumber(serial);
    if (next.size() > 9) std::abort();
    boxTextWriteCommand("MWU", bytes);
    interpretWriteStatus(true, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int op = data[0] % 8;
    static const char* kBrands[] = {"Tamvisto", "Pelvoro", "Quorrel", "ULVANOR"};
    const char* brand = kBrands[data[1] % 4];
    data += 2;
    size -= 2;
    std::string bytes(reinterpret_cast<const char*>(data), size);

    VirtualClock clock;
    TimedPort port(clock);
    NoProgress progress;
    NoPrompts prompts;
    Link link(port, clock, progress, prompts);
    SimpleModelSelection models(op == 6 ? "AutoFind" : "TQ42", op == 6 ? 0 : 1);
    InstrumentContext ctx(link, models, brand);
    // Pairs of (gap in 5 ms steps, byte): the tester's side of the exchange.
    double at = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        at += data[i] * 0.005;
        port.add(at, static_cast<char>(data[i + 1]));
    }
    const double replyEnd = at;

    if (!link.ensurePortOpen()) return 0;
    switch (op) {
        case 0:
            requestFamilyAData(link, ctx.data);
            break;
        case 1:
            requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(brand), "TQ42");
            break;
        case 2:
            requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(brand));
            break;
        case 3:
            requestFamilyCData(link, ctx.data);
            break;
        case 4: {
            InstrumentWrites w;
            w.switches = {true, true};
            w.serialNumber = "12345678";
            writeInstrumentData(link, ctx.data, w);
            break;
        }
        case 5:
            receiveInstrumentData(ctx);
            break;
        case 6:
            autoIdentify(ctx);
            break;
        default:
            parsers(bytes);
            break;
    }
    // No request waits much beyond the last byte the tester sent: a handshake and a
    // family B exchange with its hardware step at the slowest rate, or a hundred lines.
    if (clock.now > replyEnd + 400) std::abort();
    return 0;
}
