// Feeds arbitrary replies to whole downloads of each tester family through an in-memory
// port on a virtual clock: each command the download writes is answered by the next reply
// of the input. The download must end (in virtual time), must leave the port closed and
// must leave a temporary file only beside a loaded document, which the document reader
// must have read.
//
// Input: byte 0 chooses the model; then replies, each a length byte, a delay byte (tens
// of milliseconds; bit 7 adds 256 to the length) and that many bytes.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "instrument/instrument_context.h"
#include "protocols/download_command.h"

namespace {

using namespace pelvoro;

struct HangError {};

class VirtualClock : public LinkClock {
  public:
    double elapsedSeconds() override { return now; }
    void pause(double seconds) override {
        if (seconds > 0) now += seconds;
        processEvents();
    }
    void processEvents() override {
        // No download runs for more than an hour of line time on such small input.
        if (now > 3600) throw HangError{};
    }
    double now = 0;
};

// Every write is answered with the next reply of the input.
class ReplyPort : public SerialPort {
  public:
    ReplyPort(LinkClock& clock, const std::uint8_t* data, std::size_t size)
        : clock_(clock), data_(data), size_(size) {}
    void setPortNumber(int n) override { port_ = n; }
    int portNumber() const override { return port_; }
    void setBaudRate(int baud) override { baud_ = baud; }
    int baudRate() const override { return baud_; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    std::string openFailure() const override { return {}; }
    void write(std::string_view) override {
        if (!open_ || pos_ + 2 > size_) return;
        // Bit 7 of the delay byte adds 256 to the length.
        std::size_t n = data_[pos_] + ((data_[pos_ + 1] & 0x80u) << 1);
        double at = clock_.elapsedSeconds() + (data_[pos_ + 1] & 0x7Fu) * 0.01;
        pos_ += 2;
        for (std::size_t i = 0; i < n && pos_ < size_; ++i, ++pos_)
            incoming_.emplace(at + i * 0.002, char(data_[pos_]));
    }
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
    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
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
    void setGauge(int position, int maximum) override {
        if (position < 0 || position > maximum) std::abort();
    }
    void setSecondGauge(int position, int maximum) override {
        if (position < 0 || position > maximum) std::abort();
    }
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

class Host : public DownloadHost {
  public:
    explicit Host(std::string folder) : folder_(std::move(folder)) {}
    int nextDownloadNumber() override { return ++n_; }
    StructureDocument* createDownloadDocument(std::unique_ptr<StructureDocument> d,
                                              const std::string&) override {
        doc = std::move(d);
        return doc.get();
    }
    void downloadLoaded(StructureDocument&) override {}
    void discardDownload(StructureDocument&) override { doc.reset(); }
    std::string transferFolder() override { return folder_; }
    std::unique_ptr<StructureDocument> doc;

  private:
    std::string folder_;
    int n_ = 0;
};

const std::string& folder() {
    static const std::string path = [] {
        std::string p = (std::filesystem::temp_directory_path() /
                         ("pelvoro-download-fuzz-" + std::to_string(long(getpid()))))
                            .string();
        std::filesystem::create_directories(p);
        return p;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const char* const kModels[] = {"CV61", "TQ42", "TQ60", "TQ22", "TQ41", "TQ71", "TQ75"};
    const std::string key = kModels[data[0] % 7];
    VirtualClock clock;
    ReplyPort port(clock, data + 1, size - 1);
    NoProgress progress;
    NoPrompts prompts;
    Link link(port, clock, progress, prompts);
    const InstrumentModel* model = modelByKey(key);
    SimpleModelSelection models(key, model ? model->modelFamily : 0);
    InstrumentContext ctx(link, models, "Tamvisto");
    Host host(folder());
    DownloadResult r;
    try {
        r = DownLoadNewINSTR(ctx, host);
    } catch (const HangError&) {
        std::abort();
    }
    if (port.isOpen()) std::abort();
    // A temporary file stays only beside a loaded document.
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder())) {
        (void)e;
        ++files;
    }
    if (files != (r.document ? 1u : 0u)) std::abort();
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder()))
        std::filesystem::remove(e.path(), ec);
    return 0;
}
