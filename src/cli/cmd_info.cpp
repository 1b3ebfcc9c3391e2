// info: reads the instrument data of the connected tester and prints them.
//
//   pelvoro-cli info --model KEY [--port N | --device PATH] [--baud B] [--auto]
//
// The port and baud rate default to the port dialog's stored choice. --device names the
// device of the port (port 1 unless --port is given), for a USB adapter or a pty.
// --auto identifies the tester first, as the Auto Find model entry does.
//
// Output, one item a line, "name: value"; line breaks inside a value are written as
// "\r" and "\n", a backslash as "\\". Messages go to stderr. Exit status 0 when the
// tester's data were read, 1 when not, 2 for a usage error.

#include <ostream>

#include "common/identity.h"
#include "cli/cli.h"
#include "common/adapters/qt_link_clock.h"
#include "common/codepage.h"
#include "common/text.h"
#include "instrument/adapters/qt_serial_port.h"
#include "protocols/identification.h"
#include "protocols/instrument_requests.h"

namespace pelvoro::cli {
namespace {

// No window: Cancel is never pressed.
class QuietProgress : public ProgressWindow {
  public:
    void show(const std::string&) override {}
    void hide() override {}
    void setStep(const std::string&) override {}
    void setGauge(int, int) override {}
    void setSecondGauge(int, int) override {}
    bool cancelPressed() override { return false; }
};

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : toUtf8(text, appEnvironment().codePage)) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

void printData(std::ostream& out, const std::string& key, const TInstrumentData& d) {
    static constexpr const char* kNames[TInstrumentData::kLines] = {
        "type code",       "name",          "model text", "firmware version", "hardware version",
        "identification",  "serial number", "firm data",  "user data",        "document version",
        "calibration date"};
    out << "model: " << key << "\n";
    for (int i = 1; i <= TInstrumentData::kLines; ++i)
        out << kNames[i - 1] << ": " << escaped(d.line(i)) << "\n";
    out << "variant: " << escaped(d.InstrVariant) << "\n";
}

int usageError(Context& ctx, const std::string& why) {
    ctx.err
        << "pelvoro-cli info: " << why << "\n"
        << "usage: pelvoro-cli info --model KEY [--port N | --device PATH] [--baud B] [--auto]\n";
    return 2;
}

int runInfo(Context& ctx) {
    bool autoIdentify = ctx.takeFlag("--auto");
    std::string key = ctx.takeOption("--model");
    std::string portArg = ctx.takeOption("--port");
    std::string device = ctx.takeOption("--device");
    std::string baudArg = ctx.takeOption("--baud");
    if (!ctx.args.empty()) return usageError(ctx, "unexpected argument '" + ctx.args[0] + "'");
    if (autoIdentify) key = kAutoFindKey;
    if (key.empty()) return usageError(ctx, "give the model with --model KEY, or --auto");
    const InstrumentModel* model = modelByKey(key);
    if (!model) return usageError(ctx, "unknown model '" + key + "'");

    PortSelection sel = loadPortSelection(ctx.settings);
    if (!portArg.empty()) {
        std::optional<int> n = parseInt(portArg);
        if (!n || *n < 1 || *n > kPortCount)
            return usageError(ctx, "the port is a number from 1 to 16");
        sel.portIndex = *n - 1;
    } else if (!device.empty()) {
        sel.portIndex = 0;
    }
    if (!baudArg.empty()) {
        std::optional<int> baud = parseInt(baudArg);
        std::optional<int> index = baud ? baudIndexOf(*baud) : std::nullopt;
        if (!index) return usageError(ctx, "the baud rate is one of 300, 600, 1200, 2400, 4800");
        sel.baudIndex = *index;
    }
    // The device is named for this run only; the settings view never writes through.
    if (!device.empty())
        ctx.settings.writeString("PortDevice" + std::to_string(sel.portIndex + 1), device);

    std::unique_ptr<SerialPort> port = makeSystemSerialPort(&ctx.settings);
    QtLinkClock clock;
    QuietProgress progress;
    Link link(*port, clock, progress, ctx.prompts);
    SimpleModelSelection models(key, model->modelFamily);
    InstrumentContext ictx(link, models, identity::kBrandTitle);
    applyPortSettings(link, sel);

    ReceiveOutcome outcome = receiveInstrumentData(ictx);
    link.closePort();
    if (!outcome.received) {
        ctx.err << "pelvoro-cli info: no instrument data were read\n";
        return 1;
    }
    printData(ctx.out, models.checkedModelKey(), ictx.data);
    return 0;
}

Registration reg({"info", "info --model KEY [--port N | --device PATH] [--baud B] [--auto]",
                  "reads the instrument data of the connected tester (--auto: identify it first)",
                  runInfo});

}  // namespace
}  // namespace pelvoro::cli
