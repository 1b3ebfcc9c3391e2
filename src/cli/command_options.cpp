#include "cli/command_options.h"

#include <ostream>

#include "common/identity.h"
#include "common/text.h"
#include "instrument/adapters/qt_serial_port.h"
#include "results/result_rows.h"

namespace pelvoro::cli {

int takeLevel(Context& ctx) {
    const std::string level = ctx.takeOption("--level", "full");
    if (level == "full") return kViewFull;
    if (level == "medium") return kViewMedium;
    if (level == "low") return kViewLow;
    return -1;
}

ResultStringOptions takeResultStringOptions(Context& ctx) {
    ResultStringOptions o;
    o.raw = ctx.takeFlag("--raw");
    o.codePage = appEnvironment().codePage;
    o.typeCode = o.bytes(ctx.takeOption("--type-code"));
    o.variant = o.bytes(ctx.takeOption("--variant"));
    o.protVer = parseInt(ctx.takeOption("--protver", "0"));
    return o;
}

std::string ResultStringOptions::bytes(const std::string& text) const {
    return raw ? text : fromUtf8(text, codePage);
}

std::string ResultStringOptions::shown(const std::string& text) const {
    return raw ? text : toUtf8(text, codePage);
}

LinkOptions takeLinkOptions(Context& ctx, bool withDevice) {
    LinkOptions o;
    o.model = ctx.takeOption("--model");
    o.port = ctx.takeOption("--port");
    if (withDevice) o.device = ctx.takeOption("--device");
    o.baud = ctx.takeOption("--baud");
    return o;
}

const InstrumentModel* modelForCommand(Context& ctx, const std::string& key) {
    const InstrumentModel* model = modelByKey(key);
    if (!model) ctx.usageError("unknown model '" + key + "'");
    return model;
}

bool selectPort(Context& ctx, const LinkOptions& options, PortSelection& selection) {
    if (!options.port.empty()) {
        std::optional<int> n = parseInt(options.port);
        if (!n || *n < 1 || *n > kPortCount) {
            ctx.usageError("the port is a number from 1 to 16");
            return false;
        }
        selection.portIndex = *n - 1;
    } else if (!options.device.empty()) {
        selection.portIndex = 0;
    }
    if (!options.baud.empty()) {
        std::optional<int> baud = parseInt(options.baud);
        std::optional<int> index = baud ? baudIndexOf(*baud) : std::nullopt;
        if (!index) {
            ctx.usageError("the baud rate is one of 300, 600, 1200, 2400, 4800");
            return false;
        }
        selection.baudIndex = *index;
    }
    if (!options.device.empty())
        ctx.settings.writeString("PortDevice" + std::to_string(selection.portIndex + 1),
                                 options.device);
    return true;
}

std::optional<CommandTarget> commandTarget(Context& ctx, const std::string& key,
                                           const LinkOptions& options) {
    const InstrumentModel* model = modelForCommand(ctx, key);
    if (!model) return std::nullopt;
    CommandTarget target{model, loadPortSelection(ctx.settings)};
    if (!selectPort(ctx, options, target.selection)) return std::nullopt;
    return target;
}

std::string describeLine(SerialPort& port) {
    std::string device = port.deviceName(port.portNumber());
    if (device.empty()) device = "port " + std::to_string(port.portNumber());
    return device + " at " + std::to_string(port.baudRate()) + " baud";
}

CommandLink::CommandLink(Context& ctx, const std::string& key, const InstrumentModel& model,
                         const PortSelection& selection, ProgressWindow& progress, Prompts& prompts)
    : port_(makeSystemSerialPort(&ctx.settings)),
      link_(*port_, clock_, progress, prompts),
      models_(key, model.modelFamily),
      context_(link_, models_, identity::kBrandTitle) {
    applyPortSettings(link_, selection);
}

CommandLink::~CommandLink() {
    close();
}

void CommandLink::close() {
    link_.closePort();
}

}  // namespace pelvoro::cli
