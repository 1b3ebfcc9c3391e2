// Feeds arbitrary replies to whole downloads of each tester family through an in-memory
// port on a virtual clock: each command the download writes is answered by the next reply
// of the input. The download must end (in virtual time), must leave the port closed and
// must leave a temporary file only beside a loaded document, which the document reader
// must have read.
//
// Input: byte 0 chooses the model; then replies, each a length byte, a delay byte (tens
// of milliseconds; bit 7 adds 256 to the length) and that many bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "instrument/instrument_context.h"
#include "instrument/models.h"
#include "protocols/download_command.h"
#include "support/memory_download_host.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace {

using namespace pelvoro;

struct HangError {};

// Every write is answered with the next reply of the input: a length byte, a delay byte
// (tens of milliseconds; bit 7 adds 256 to the length) and that many bytes.
class Replies {
  public:
    Replies(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    void answer(testing::ScriptedPort& port, double now) {
        if (pos_ + 2 > size_) return;
        std::size_t n = data_[pos_] + ((data_[pos_ + 1] & 0x80u) << 1);
        const double at = now + (data_[pos_ + 1] & 0x7Fu) * 0.01;
        pos_ += 2;
        n = std::min(n, size_ - pos_);
        port.arrive(std::string(reinterpret_cast<const char*>(data_ + pos_), n), at, 0.002);
        pos_ += n;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const char* const kModels[] = {"CV61", "TQ42", "TQ60", "TQ22", "TQ41", "TQ71", "TQ75"};
    const std::string key = kModels[data[0] % 7];
    testing::VirtualClock clock;
    // No download runs for more than an hour of line time on such small input.
    clock.onEvents = [&clock] {
        if (clock.now > 3600) throw HangError{};
    };
    testing::ScriptedPort port(clock);
    port.clearOnClose = false;
    port.setBaudRate(4800);
    Replies replies(data + 1, size - 1);
    port.onWrite = [&](std::string_view) { replies.answer(port, clock.now); };
    testing::GaugeCheckingProgress progress;
    NullPrompts prompts;
    Link link(port, clock, progress, prompts);
    const InstrumentModel* model = modelByKey(key);
    SimpleModelSelection models(key, model ? model->modelFamily : 0);
    InstrumentContext ctx(link, models, "Tamvisto");
    testing::MemoryDownloadHost host;
    DownloadResult r;
    try {
        r = DownLoadNewINSTR(ctx, host);
    } catch (const HangError&) {
        std::abort();
    }
    if (port.isOpen()) std::abort();
    // A temporary file stays only beside a loaded document.
    if (host.files().size() != (r.document ? 1u : 0u)) std::abort();
    return 0;
}
