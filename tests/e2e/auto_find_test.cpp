// The port dialog's search, through the real serial port, finding the simulated tester
// at the one baud rate it understands.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "common/adapters/qt_link_clock.h"
#include "common/settings_store.h"
#include "instrument/adapters/qt_serial_port.h"
#include "instrument/identification.h"
#include "sim_harness.h"
#include "support/test_doubles.h"

namespace pelvoro::e2e {
namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

struct Bench {
    explicit Bench(const std::string& device, const std::string& key, int family)
        : models(key, family) {
        settings.writeString("PortDevice1", device);
        port = makeSystemSerialPort(&settings);
        link = std::make_unique<Link>(*port, clock, progress, prompts);
        ctx = std::make_unique<InstrumentContext>(*link, models, "Tamvisto");
    }
    MemorySettingsStore settings;
    std::unique_ptr<SerialPort> port;
    QtLinkClock clock;
    pelvoro::testing::ProgressRecorder progress;
    pelvoro::testing::ScriptedPrompts prompts;
    SimpleModelSelection models;
    std::unique_ptr<Link> link;
    std::unique_ptr<InstrumentContext> ctx;
};

TEST(AutoFindOnALine, FindsATesterThatUnderstandsOnlyItsOwnBaudRate) {
    ensureApplication();
    Simulator sim({"--scenario", scenarioPath("autofind.sim")});
    ASSERT_FALSE(sim.device().empty());
    Bench bench(sim.device(), "TQ61", 1);
    PortSelection selection{0, 4};  // COM1 at 4800 baud: the tester is at 1200
    applyPortSettings(*bench.link, selection);

    AutoFindResult result = autoFind(*bench.ctx, selection, [] { return false; });

    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.family, "Instr_B");
    EXPECT_EQ(result.modelKey, "TQ61");
    EXPECT_EQ(selection.portIndex, 0);
    EXPECT_EQ(selection.baudIndex, 2) << "1200 baud";
    EXPECT_FALSE(bench.port->isOpen()) << "the port stays closed after the search";
    ASSERT_FALSE(bench.prompts.shown.empty());
    EXPECT_NE(bench.prompts.shown.back().text.find("1200"), std::string::npos)
        << bench.prompts.shown.back().text;
    // The rates above were tried first and not understood.
    EXPECT_NE(sim.log().find("wrong baud rate"), std::string::npos);
    EXPECT_NE(sim.log().find("rx MWH"), std::string::npos);
}

TEST(AutoFindOnALine, IdentificationReadsTheTesterAtTheConfiguredPort) {
    ensureApplication();
    Simulator sim({"--scenario", scenarioPath("tq72.sim")});
    Bench bench(sim.device(), "AutoFind", 0);
    applyPortSettings(*bench.link, PortSelection{0, 4});
    EXPECT_EQ(selectedModelKey(*bench.ctx), "TQ72");
    EXPECT_EQ(bench.models.modelFamily(), 2);
    EXPECT_EQ(bench.ctx->data.line(7), "72000017");
    EXPECT_FALSE(bench.port->isOpen());
    EXPECT_TRUE(bench.prompts.shown.empty());
}

}  // namespace
}  // namespace pelvoro::e2e
