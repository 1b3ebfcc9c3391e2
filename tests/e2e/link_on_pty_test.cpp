// The program's instrument link through the real serial port against the simulated
// tester: the port search, identification, and the instrument data writes.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "common/adapters/qt_link_clock.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "instrument/adapters/qt_serial_port.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_a/family_a_requests.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_c/family_c_link_rules.h"
#include "protocols/identification.h"
#include "protocols/instrument_requests.h"
#include "sim_harness.h"
#include "support/language_fixture.h"
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

// The writes of the Instrument data dialog, checked by the simulator's own checksums and
// read back.
TEST(InstrumentDataOnALine, SentServiceDataIsAcceptedAndReadBack) {
    ensureApplication();
    Simulator sim({"--scenario", scenarioPath("tq72.sim")});
    Bench bench(sim.device(), "TQ72", 2);
    applyPortSettings(*bench.link, PortSelection{0, 4});
    InstrumentWrites writes;
    writes.switches.factory = true;
    writes.switches.calibration = true;
    writes.serialNumber = "00004711";
    writes.firmData = "Tamvisto\r\nMain street 1";
    writes.userData = "Hall 3";
    writes.now = ClockValue{2026, 12, 9, 7, 5, 30};

    EXPECT_TRUE(sendInstrumentData(*bench.ctx, writes));
    EXPECT_TRUE(bench.prompts.shown.empty());
    EXPECT_FALSE(bench.port->isOpen());
    EXPECT_TRUE(sim.logShows("clock set to 09.12.2026 07:05:30")) << sim.log();

    ReceiveOutcome outcome = receiveInstrumentData(*bench.ctx);
    EXPECT_TRUE(outcome.received);
    EXPECT_EQ(bench.ctx->data.line(7), "00004711");
    EXPECT_EQ(bench.ctx->data.line(8), "Tamvisto\rMain street 1");
    EXPECT_EQ(bench.ctx->data.line(9), "Hall 3");
    EXPECT_EQ(bench.ctx->data.line(11), "09.12.2026");
}

TEST(InstrumentDataOnALine, AFailedWriteNamesItsItemAndStops) {
    ensureApplication();
    pelvoro::testing::ScopedLanguage english(
        readFile(std::string(PELVORO_SOURCE_DATA_DIR) + "/English.ini"));
    struct Case {
        const char* fault;
        std::vector<std::string> messages;
    } cases[] = {
        {"ser@MWU:7",
         {"Error: #7", englishText("msgSendError_35") + "\n" + englishText("msgWriteRefused_50") +
                           " User data"}},
        {"silence@MWU",
         {englishText("msgSendError_35") + "\n" + englishText("msgNoStatus_50") + " User data"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Simulator sim({"--model", "TQ72", "--fault", c.fault});
        Bench bench(sim.device(), "TQ72", 2);
        applyPortSettings(*bench.link, PortSelection{0, 4});
        InstrumentWrites writes;
        writes.userData = "Hall 3";
        writes.now = ClockValue{2026, 12, 9, 7, 5, 30};

        EXPECT_FALSE(sendInstrumentData(*bench.ctx, writes));
        std::vector<std::string> shown;
        for (const auto& s : bench.prompts.shown) shown.push_back(s.text);
        EXPECT_EQ(shown, c.messages);
        EXPECT_FALSE(bench.port->isOpen());
    }
}

TEST(InstrumentDataOnALine, CancelStopsASlowBlockAtOnceWithoutAMessage) {
    ensureApplication();
    pelvoro::testing::ScopedLanguage english(
        readFile(std::string(PELVORO_SOURCE_DATA_DIR) + "/English.ini"));
    // At 300 baud the 362-byte identification block takes 12 s on the line.
    Simulator sim({"--scenario", scenarioPath("cv61.sim"), "--baud", "300"});
    Bench bench(sim.device(), "CV61", 1);
    applyPortSettings(*bench.link, PortSelection{0, 0});
    bench.progress.cancelAtStep = LangText("DLoadData_35");

    Clock::time_point start = Clock::now();
    ReceiveOutcome outcome = receiveInstrumentData(*bench.ctx);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    EXPECT_FALSE(outcome.received);
    EXPECT_LT(seconds, 5.0);
    EXPECT_TRUE(bench.prompts.shown.empty()) << bench.prompts.shown[0].text;
    EXPECT_FALSE(bench.port->isOpen());
    EXPECT_TRUE(sim.logShows("rx t")) << "cancelled while the block came";
}

// The framing the downloads and the structure send are built on, against the simulator.
TEST(LinkOnALine, TextTesterCountsEntriesAndPointersInBothArgumentStyles) {
    ensureApplication();
    {
        Simulator sim({"--scenario", scenarioPath("tq75.sim")});
        Bench bench(sim.device(), "TQ75", 3);
        applyPortSettings(*bench.link, PortSelection{0, 4});
        ASSERT_TRUE(bench.link->connectInstrument(kFamilyALinkRules));
        CountReply named = familyANamedEntryCount(*bench.link);
        EXPECT_TRUE(named.ok);
        EXPECT_EQ(named.count, 3);
        ReplyLine entry = familyANamedEntry(*bench.link, 2, 3);
        EXPECT_TRUE(entry.ok);
        EXPECT_EQ(entry.text, "P;001;001;000;03;Block A;");
        EXPECT_TRUE(familyAResultPointer(*bench.link, 1, 3));
        EXPECT_EQ(familyAResultCount(*bench.link).count, 1);
        bench.link->endConnection(kFamilyALinkRules);
        EXPECT_FALSE(bench.link->isPortOpen());
        EXPECT_TRUE(bench.prompts.shown.empty());
        EXPECT_TRUE(sim.logShows("connection ended"));
    }
    {
        Simulator sim({"--scenario", scenarioPath("tq41.sim")});
        Bench bench(sim.device(), "TQ41", 2);
        applyPortSettings(*bench.link, PortSelection{0, 4});
        ASSERT_TRUE(bench.link->connectInstrument(kFamilyALinkRules));
        EXPECT_EQ(familyAEntryCount(*bench.link).count, 3);
        EXPECT_TRUE(familyAResultPointer(*bench.link, 2, 2));
        bench.link->send("MRA\r");
        ReplyLine head = bench.link->readReplyLine();
        EXPECT_EQ(head.text, "#03");
        bench.link->endConnection(kFamilyALinkRules);
        EXPECT_TRUE(bench.prompts.shown.empty());
    }
}

TEST(LinkOnALine, BinaryTesterRecordsAndTheirGraphText) {
    ensureApplication();
    Simulator sim({"--scenario", scenarioPath("tq60.sim")});
    Bench bench(sim.device(), "TQ60", 1);
    applyPortSettings(*bench.link, PortSelection{0, 4});
    ASSERT_TRUE(bench.link->connectInstrument(kFamilyBLinkRules));
    EchoReply count = bench.link->sendAwaitEcho("MNU", "SNU", kFamilyBLinkRules);
    EXPECT_TRUE(count.ok);
    EXPECT_EQ(count.length, 2);

    EchoReply first = bench.link->sendAwaitEcho("MRG", "SRG", kFamilyBLinkRules);
    ASSERT_TRUE(first.ok);
    ASSERT_TRUE(bench.link->readBlock(std::size_t(first.length)));
    EchoReply second = bench.link->sendAwaitEcho("MRG", "SRG", kFamilyBLinkRules);
    ASSERT_TRUE(second.ok);
    ASSERT_TRUE(bench.link->readBlock(std::size_t(second.length)));
    std::string record = bench.link->transferBuffer().substr(0, std::size_t(second.length));
    EXPECT_NE(record.find(std::string("\0G", 2), 5), std::string::npos);
    ReplyLine graph = bench.link->readUntilEof();
    EXPECT_TRUE(graph.ok);
    EXPECT_EQ(graph.text,
              "2;261209103000;1;5000;\n\rsamples\n\r1.2E9;5000;0;\n\r1.1E9;5000;10;\n\r"
              "9.8E8;5000;20;\n\r#EOF;");
    bench.link->endConnection(kFamilyBLinkRules);
    EXPECT_TRUE(bench.prompts.shown.empty());
}

TEST(LinkOnALine, SingleLetterTesterCountAndRecords) {
    ensureApplication();
    Simulator sim({"--scenario", scenarioPath("cv61.sim")});
    Bench bench(sim.device(), "CV61", 1);
    applyPortSettings(*bench.link, PortSelection{0, 4});
    ASSERT_TRUE(bench.link->connectInstrument(kFamilyCLinkRules));
    EXPECT_TRUE(bench.link->sendAwaitEcho("P", "E", kFamilyCLinkRules).ok);
    EchoReply count = bench.link->sendAwaitEcho("R\xFF", "\x02", kFamilyCLinkRules);
    EXPECT_TRUE(count.ok);
    EXPECT_EQ(count.length, 3);
    std::string records;
    for (char which : {'\0', '\x01', '\x01', '\x01'}) {
        ASSERT_TRUE(bench.link->sendAwaitEcho("P", "E", kFamilyCLinkRules).ok);
        bench.link->send(std::string("R") + which);
        ASSERT_TRUE(bench.link->readBlock(21));
        records += bench.link->transferBuffer().substr(0, 21);
    }
    EXPECT_EQ(records.substr(0, 4), std::string("\x01\x01\x00\x01", 4));
    EXPECT_EQ(records.substr(21, 4), std::string("\x01\x01\x00\x02", 4));
    EXPECT_EQ(records.substr(63), std::string(21, '\0')) << "the end of the memory";
    bench.link->endConnection(kFamilyCLinkRules);
    EXPECT_TRUE(bench.prompts.shown.empty());
}

}  // namespace
}  // namespace pelvoro::e2e
