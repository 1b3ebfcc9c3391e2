// ports: which device each port number opens, and where the wire log is, for support.

#include <ostream>

#include "cli/cli.h"
#include "instrument/adapters/qt_serial_port.h"

namespace pelvoro::cli {
namespace {

constexpr int kPorts = 16;

int runPorts(Context& ctx) {
    if (!ctx.args.empty()) return ctx.usage();
    QtSerialPort port(&ctx.settings);
    for (int n = 1; n <= kPorts; ++n) {
        const std::string device = port.deviceName(n);
        ctx.out << "COM" << n << (n < 10 ? "   " : "  ") << (device.empty() ? "-" : device) << "\n";
    }
    ctx.out << "wire log  " << wireLogPath() << "\n";
    return 0;
}

Registration reg({"ports", "ports",
                  "lists the device of each port (PELVORO_PORT_<n> names one) and the wire log",
                  runPorts});

}  // namespace
}  // namespace pelvoro::cli
