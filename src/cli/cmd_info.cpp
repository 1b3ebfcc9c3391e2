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

#include "cli/command_options.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/text.h"
#include "protocols/instrument_requests.h"

namespace pelvoro::cli {
namespace {

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

int runInfo(Context& ctx) {
    bool autoIdentify = ctx.takeFlag("--auto");
    const LinkOptions link = takeLinkOptions(ctx);
    if (!ctx.args.empty()) return ctx.usageError("unexpected argument '" + ctx.args[0] + "'");
    const std::string key = autoIdentify ? std::string(kAutoFindKey) : link.model;
    if (key.empty()) return ctx.usageError("give the model with --model KEY, or --auto");
    const std::optional<CommandTarget> target = commandTarget(ctx, key, link);
    if (!target) return kUsageExit;

    NullProgress progress;
    CommandLink line(ctx, key, *target->model, target->selection, progress, ctx.prompts);
    ReceiveOutcome outcome = receiveInstrumentData(line.context());
    line.close();
    if (!outcome.received) {
        ctx.err << "pelvoro-cli info: no instrument data were read\n";
        return 1;
    }
    printData(ctx.out, line.models().checkedModelKey(), line.context().data);
    return 0;
}

Registration reg({"info", "info --model KEY [--port N | --device PATH] [--baud B] [--auto]",
                  "reads the instrument data of the connected tester (--auto: identify it first)",
                  runInfo});

}  // namespace
}  // namespace pelvoro::cli
