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

#include "cli/command_options.h"
#include "common/identity.h"
#include "common/text.h"

namespace pelvoro::cli {
namespace {

int runFind(Context& ctx) {
    const std::string key = ctx.takeOption("--model", kAutoFindKey);
    const LinkOptions link = takeLinkOptions(ctx, false);
    for (std::string d = ctx.takeOption("--device"); !d.empty(); d = ctx.takeOption("--device")) {
        size_t eq = d.find('=');
        std::optional<int> n = eq == std::string::npos ? std::nullopt : parseInt(d.substr(0, eq));
        if (!n || *n < 1 || *n > kPortCount)
            return ctx.usageError("--device takes N=PATH with N from 1 to 16");
        ctx.settings.writeString("PortDevice" + std::to_string(*n), d.substr(eq + 1));
    }
    if (!ctx.args.empty()) return ctx.usageError("unexpected argument '" + ctx.args[0] + "'");
    std::optional<CommandTarget> target = commandTarget(ctx, key, link);
    if (!target) return kUsageExit;
    PortSelection& sel = target->selection;

    NullProgress progress;
    CommandLink line(ctx, key, *target->model, sel, progress, ctx.prompts);
    AutoFindResult r = autoFind(line.context(), sel, [] { return false; });
    line.close();
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
