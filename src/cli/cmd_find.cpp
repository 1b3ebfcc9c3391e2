// find: the port dialog's Auto Find without the dialog: which port and baud rate the
// tester answers on.
//
//   pelvoro-cli find [--model KEY] [--port N] [--baud B] [--device N=PATH ...]
//
// The model decides which probes are sent (Auto Find: all three families). The search
// starts with the given (or stored) port and rate, then walks every port from COM1 and
// every rate from 4800 down to 300. --device assigns a device to a port number for this
// run (repeatable). Nothing is stored.
//
// Output: "port: N", "baud: B", "family: Instr_A|Instr_B|Instr_C", "model: KEY" (empty
// when the tester's data did not name a known model). Exit status 0 when a tester
// answered, 1 when none did, 2 for a usage error.

#include <ostream>

#include "common/identity.h"
#include "cli/cli.h"
#include "common/adapters/qt_link_clock.h"
#include "common/text.h"
#include "instrument/adapters/qt_serial_port.h"
#include "protocols/identification.h"

namespace pelvoro::cli {
namespace {

class SilentProgress : public ProgressWindow {
  public:
    void show(const std::string&) override {}
    void hide() override {}
    void setStep(const std::string&) override {}
    void setGauge(int, int) override {}
    void setSecondGauge(int, int) override {}
    bool cancelPressed() override { return false; }
};

int usageError(Context& ctx, const std::string& why) {
    ctx.err
        << "pelvoro-cli find: " << why << "\n"
        << "usage: pelvoro-cli find [--model KEY] [--port N] [--baud B] [--device N=PATH ...]\n";
    return 2;
}

int runFind(Context& ctx) {
    std::string key = ctx.takeOption("--model", kAutoFindKey);
    std::string portArg = ctx.takeOption("--port");
    std::string baudArg = ctx.takeOption("--baud");
    for (std::string d = ctx.takeOption("--device"); !d.empty(); d = ctx.takeOption("--device")) {
        size_t eq = d.find('=');
        std::optional<int> n = eq == std::string::npos ? std::nullopt : parseInt(d.substr(0, eq));
        if (!n || *n < 1 || *n > kPortCount)
            return usageError(ctx, "--device takes N=PATH with N from 1 to 16");
        ctx.settings.writeString("PortDevice" + std::to_string(*n), d.substr(eq + 1));
    }
    if (!ctx.args.empty()) return usageError(ctx, "unexpected argument '" + ctx.args[0] + "'");
    const InstrumentModel* model = modelByKey(key);
    if (!model) return usageError(ctx, "unknown model '" + key + "'");

    PortSelection sel = loadPortSelection(ctx.settings);
    if (!portArg.empty()) {
        std::optional<int> n = parseInt(portArg);
        if (!n || *n < 1 || *n > kPortCount)
            return usageError(ctx, "the port is a number from 1 to 16");
        sel.portIndex = *n - 1;
    }
    if (!baudArg.empty()) {
        std::optional<int> baud = parseInt(baudArg);
        std::optional<int> index = baud ? baudIndexOf(*baud) : std::nullopt;
        if (!index) return usageError(ctx, "the baud rate is one of 300, 600, 1200, 2400, 4800");
        sel.baudIndex = *index;
    }

    std::unique_ptr<SerialPort> port = makeSystemSerialPort(&ctx.settings);
    QtLinkClock clock;
    SilentProgress progress;
    Link link(*port, clock, progress, ctx.prompts);
    SimpleModelSelection models(key, model->modelFamily);
    InstrumentContext ictx(link, models, identity::kBrandTitle);
    applyPortSettings(link, sel);

    AutoFindResult r = autoFind(ictx, sel, [] { return false; });
    link.closePort();
    if (!r.found) return 1;
    ctx.out << "port: " << sel.portIndex + 1 << "\n"
            << "baud: " << baudText(sel.baudIndex) << "\n"
            << "family: " << r.family << "\n"
            << "model: " << r.modelKey << "\n";
    return 0;
}

Registration reg(
    {"find", "find [--model KEY] [--port N] [--baud B] [--device N=PATH ...]",
     "searches every port and baud rate for a tester, as the port dialog's Auto Find does",
     runFind});

}  // namespace
}  // namespace pelvoro::cli
