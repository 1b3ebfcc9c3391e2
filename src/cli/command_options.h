#pragma once
// Options several commands share: the tester link (--model, --port, --device, --baud)
// and the detail level (--level), each parsed here once with the same messages.

#include <memory>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "common/adapters/qt_link_clock.h"
#include "common/codepage.h"
#include "instrument/instrument_context.h"
#include "protocols/identification.h"

namespace pelvoro::cli {

// --level full|medium|low (full when not given): the view mode, or -1 for another word.
int takeLevel(Context& ctx);

// The options of a result string (parse, lines): --raw, --type-code C, --variant V,
// --protver N (0 when not given; nullopt when not a number).
struct ResultStringOptions {
    bool raw = false;
    std::string typeCode, variant;  // as the documents hold them (see bytes)
    std::optional<int> protVer;
    CodePage codePage = CodePage::Windows1252;
    // A text of the terminal (UTF-8) as the documents' bytes; as it is with --raw.
    std::string bytes(const std::string& text) const;
    // Document bytes for the terminal; as they are with --raw.
    std::string shown(const std::string& bytes) const;
};
ResultStringOptions takeResultStringOptions(Context& ctx);

// The link options as given (empty when not).
struct LinkOptions {
    std::string model, port, device, baud;
};

// Takes --model, --port, --device (unless `withDevice` is false: a command that reads
// --device its own way) and --baud from the arguments.
LinkOptions takeLinkOptions(Context& ctx, bool withDevice = true);

// The model named by `key`; null after the usage error "unknown model".
const InstrumentModel* modelForCommand(Context& ctx, const std::string& key);

// Applies --port and --baud to the stored choice `selection`; a device named without a
// port is port 1's, for this run only (the settings view never writes through). False
// after the usage error when the port or the rate is not one the program offers.
bool selectPort(Context& ctx, const LinkOptions& options, PortSelection& selection);

// What a command that only asks the tester talks to: the model of `key` and the port and
// rate the options choose (modelForCommand and selectPort). Nullopt after the usage error.
struct CommandTarget {
    const InstrumentModel* model;
    PortSelection selection;
};
std::optional<CommandTarget> commandTarget(Context& ctx, const std::string& key,
                                           const LinkOptions& options);

// "/dev/ttyUSB0 at 300 baud": the device and rate of a port, to say where a connection
// was tried.
std::string describeLine(SerialPort& port);

// A command's link to the tester: the system's serial port (devices as the settings view
// names them), the real clock and the instrument context of the chosen model, set to the
// chosen port and rate.
class CommandLink {
  public:
    CommandLink(Context& ctx, const std::string& key, const InstrumentModel& model,
                const PortSelection& selection, ProgressWindow& progress, Prompts& prompts);
    ~CommandLink();
    CommandLink(const CommandLink&) = delete;
    CommandLink& operator=(const CommandLink&) = delete;

    SerialPort& port() { return *port_; }
    Link& link() { return link_; }
    SimpleModelSelection& models() { return models_; }
    InstrumentContext& context() { return context_; }
    void close();

  private:
    std::unique_ptr<SerialPort> port_;
    QtLinkClock clock_;
    Link link_;
    SimpleModelSelection models_;
    InstrumentContext context_;
};

}  // namespace pelvoro::cli
