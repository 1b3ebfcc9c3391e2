// Identification lists, port settings, identification on the configured port and the
// port dialog's search, on the scripted port with the virtual clock.

#include "protocols/identification.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "protocols/instrument_fixture.h"
#include "protocols/link_rules_by_family.h"

namespace pelvoro {
namespace {

using instrdata_testing::familyAReply;
using instrdata_testing::familyBBlock;
using instrdata_testing::familyBReply;
using instrdata_testing::LinkBench;

TEST(IdentificationLists, ModelTextsToKeys) {
    struct Case {
        const char* text;
        bool familyA;
        bool portDialog;
        const char* key;  // "" = not recognised
        int modelFamily;
        const char* label;
    } cases[] = {
        {"TQ 41", true, false, "TQ41", 2, "TQ 41"},
        {"TQ 71H", true, false, "TQ71H", 2, "TQ 71H"},
        {"NORDA SF32", true, false, "SF32", 2, "SF 32"},
        {"TQ 75B", true, false, "TQ75", 3, "TQ 75"},
        {"TQ 95M", true, false, "TQ95M", 3, "TQ 95M"},
        {"GN 45", true, false, "", 0, ""},
        {"GN 45", true, true, "TQ75", 3, "Grannet GN 45"},
        {"tq 41", true, true, "", 0, ""},
        {"TQ 42", true, true, "", 0, ""},
        {"UT 12", false, false, "TQ42", 1, "ULVANOR UT 12 / 12 B"},
        {"ULVANOR UT 12 B", false, false, "TQ42", 1, "ULVANOR UT 12 / 12 B"},
        {"TQ 42H", false, false, "TQ42H", 1, "TQ42H"},
        {"GS880", false, false, "GS880", 1, "GS 880"},
        {"TQ 41", false, false, "", 0, ""},
    };
    for (const Case& c : cases) {
        auto m = c.familyA ? identifyFamilyA(c.text, c.portDialog) : identifyFamilyB(c.text);
        if (*c.key == 0) {
            EXPECT_FALSE(m) << c.text;
            continue;
        }
        ASSERT_TRUE(m) << c.text;
        EXPECT_EQ(m->key, c.key);
        EXPECT_EQ(m->modelFamily, c.modelFamily) << c.text;
        EXPECT_EQ(m->label, c.label) << c.text;
    }
}

TEST(PortSettings, StoredIndexesAndTheirApplication) {
    MemorySettingsStore store;
    EXPECT_EQ(loadPortSelection(store).portIndex, 0);
    EXPECT_EQ(loadPortSelection(store).baudIndex, 0);
    storePortSelection(store, {6, 3});
    PortSelection s = loadPortSelection(store);
    EXPECT_EQ(s.portIndex, 6);
    EXPECT_EQ(s.baudIndex, 3);

    LinkBench bench;
    applyPortSettings(bench.link, s);
    EXPECT_EQ(bench.port.portNumber(), 7);
    EXPECT_EQ(bench.port.baudRate(), 2400);
    applyPortSettings(bench.link, {16, 5});  // outside both lists: nothing changes
    EXPECT_EQ(bench.port.portNumber(), 7);
    EXPECT_EQ(bench.port.baudRate(), 2400);
    applyPortSettings(bench.link, {-1, 4});
    EXPECT_EQ(bench.port.portNumber(), 7);
    EXPECT_EQ(bench.port.baudRate(), 4800);
    EXPECT_EQ(portText(15), "COM16");
    EXPECT_EQ(baudText(0), "300");
    EXPECT_EQ(baudIndexOf(1200), 2);
    EXPECT_EQ(baudIndexOf(9600), std::nullopt);
}

TEST(SearchPlan, StagesByKeyAndFullPassOrder) {
    using S = SearchStage;
    EXPECT_EQ(searchStagesForKey("AutoFind"), (std::vector<S>{S::A, S::B, S::C}));
    EXPECT_EQ(searchStagesForKey("TQ95M"), std::vector<S>{S::A});
    EXPECT_EQ(searchStagesForKey("LS40000118"), std::vector<S>{S::A});
    EXPECT_EQ(searchStagesForKey("GS880"), std::vector<S>{S::B});
    EXPECT_EQ(searchStagesForKey("LP40000112"), std::vector<S>{S::B});
    EXPECT_EQ(searchStagesForKey("CV61"), std::vector<S>{S::C});
    EXPECT_TRUE(searchStagesForKey("nonsense").empty());

    std::vector<PortAttempt> order = fullPassOrder();
    ASSERT_EQ(order.size(), 80u);
    EXPECT_EQ(order[0].portIndex, 0);
    EXPECT_EQ(order[0].baudIndex, 4);
    EXPECT_EQ(order[4].baudIndex, 0);
    EXPECT_EQ(order[5].portIndex, 1);
    EXPECT_EQ(order[5].baudIndex, 4);
    EXPECT_EQ(order[79].portIndex, 15);
}

// ---- autoIdentify -----------------------------------------------------------------------

TEST(AutoIdentify, FamilyATesterIsIdentifiedFromItsModelText) {
    LinkBench b;
    b.port.on("MRD\r", "%10\r%20\rSER\r");
    b.port.on("MWH\r", familyAReply("TQ 41"));
    IdentifyResult r = autoIdentify(b.ctx);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.key, "TQ41");
    EXPECT_EQ(b.models.checkedModelKey(), "TQ41");
    EXPECT_EQ(b.models.modelFamily(), 2);
    EXPECT_EQ(b.ctx.data.line(2), "Installation tester");
    EXPECT_EQ(b.port.count("MEX\r"), 1);
    EXPECT_EQ(b.port.count("MRD"), 0);
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_TRUE(b.prompts.shown.empty());
    EXPECT_EQ(b.prompts.busyDepth, 0);
    EXPECT_FALSE(b.progress.visible);
}

TEST(AutoIdentify, FamilyBTesterAnswersOnlyAfterTheFamilyAProbeTimesOut) {
    LinkBench b;
    std::vector<std::pair<std::string, double>> times;
    b.port.onWrite = [&](std::string_view w) { times.emplace_back(std::string(w), b.clock.now); };
    b.port.on("MRD", "SER00");
    b.port.on("MWH",
              familyBReply(familyBBlock(24, {"Name", "TQ 42", "v1.10", "1", "F", "U", "X"})));
    IdentifyResult r = autoIdentify(b.ctx);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.key, "TQ42");
    EXPECT_EQ(b.models.modelFamily(), 1);
    EXPECT_EQ(b.ctx.data.line(1), "24");
    EXPECT_EQ(b.port.count("MHW"), 0);  // identification never asks for the hardware version
    EXPECT_EQ(b.port.count("MEX"), 1);
    ASSERT_GE(times.size(), 2u);
    EXPECT_EQ(times[0].first, "MRD\r");
    EXPECT_EQ(times[1].first, "MRD");
    EXPECT_GE(times[1].second - times[0].second, 0.864);
    EXPECT_LT(times[1].second - times[0].second, 0.9);
}

TEST(AutoIdentify, UnlistedModelGivesSuccessWithoutAKey) {
    LinkBench b;
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("GN 45"));
    IdentifyResult r = autoIdentify(b.ctx);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.key, "");
    EXPECT_EQ(b.models.identifications, 0);
    EXPECT_EQ(b.models.checkedModelKey(), "AutoFind");
    EXPECT_TRUE(b.prompts.shown.empty());
}

TEST(AutoIdentify, SilenceEndsAfterTheLimitWithTheConnectionError) {
    LinkBench b;
    IdentifyResult r = autoIdentify(b.ctx);
    EXPECT_FALSE(r.ok);
    EXPECT_GE(b.clock.now, 4.32);
    EXPECT_LT(b.clock.now, 4.32 + 2 * 0.864 + 0.5);
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Connection error"});
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_EQ(b.prompts.busyDepth, 0);
}

TEST(AutoIdentify, PortThatCannotBeOpenedShowsOnlyItsMessage) {
    LinkBench b;
    b.port.failOpen = true;
    EXPECT_FALSE(autoIdentify(b.ctx).ok);
    ASSERT_EQ(b.prompts.shown.size(), 1u);
    EXPECT_EQ(b.prompts.shown[0].text.rfind("Port not available", 0), 0u);
    EXPECT_TRUE(b.port.writes.empty());
}

TEST(AutoIdentify, CancelEndsQuietly) {
    LinkBench b;
    b.clock.onEvents = [&] {
        if (b.clock.now > 1.0) b.progress.cancelled = true;
    };
    EXPECT_FALSE(autoIdentify(b.ctx).ok);
    EXPECT_TRUE(b.prompts.shown.empty());
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_LT(b.clock.now, 2.0);
    EXPECT_FALSE(b.link.cancelRequested());
}

// A tester that answers every probe with busy lines and never with "SER": identification
// and the port search give it up as the connection's handshake does, and Cancel still
// ends both at once.
TEST(AutoIdentify, TesterThatIsOnlyEverBusyIsGivenUpAndCancelStillWorks) {
    std::string busy;
    for (int i = 0; i < 4000; ++i) busy += "%\r";
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancel" : "bound");
        LinkBench b;
        b.port.on("MRD\r", busy, 0.05, 0.05);
        if (cancel) b.clock.onEvents = [&] { b.progress.cancelled = b.clock.now > 10.0; };
        EXPECT_FALSE(autoIdentify(b.ctx).ok);
        if (cancel) {
            EXPECT_LT(b.clock.now, 12.0);
            EXPECT_TRUE(b.prompts.shown.empty());
        } else {
            EXPECT_GE(b.clock.now, link_limits::kBusyLimit);
            EXPECT_LT(b.clock.now, link_limits::kBusyLimit + 6);
            EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Connection error"});
        }
        EXPECT_FALSE(b.port.isOpen());
    }
}

TEST(AutoFind, TesterThatIsOnlyEverBusyDoesNotHoldTheSearch) {
    std::string busy;
    for (int i = 0; i < 4000; ++i) busy += "%\r";
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancel" : "bound");
        LinkBench b("TQ71", 2);
        b.port.on("MRD\r", busy, 0.05, 0.05);
        PortSelection sel{0, 4};
        applyPortSettings(b.link, sel);
        AutoFindResult r = autoFind(b.ctx, sel, [&] { return cancel && b.clock.now > 10.0; });
        EXPECT_FALSE(r.found);
        EXPECT_EQ(r.cancelled, cancel);
        // Busy lines stretch the search by the handshake's bound at most: after it, each
        // attempt of the full pass (16 ports, 5 rates) takes its usual 2.16 s and at most one
        // probe window more (0.77 s at 300 baud).
        EXPECT_LT(b.clock.now, cancel ? 12.0 : link_limits::kBusyLimit + 80 * 2.95 + 10);
        EXPECT_FALSE(b.port.isOpen());
        EXPECT_EQ(sel.portIndex, 0);
    }
}

TEST(SelectedModelKey, FixedModelNeedsNoIdentification) {
    LinkBench b("CV61", 1);
    EXPECT_EQ(selectedModelKey(b.ctx), "CV61");
    EXPECT_TRUE(b.port.writes.empty());
    LinkBench none("", 0);
    none.port.on("MRD\r", "SER\r");
    none.port.on("MWH\r", familyAReply("TQ 52"));
    EXPECT_EQ(selectedModelKey(none.ctx), "TQ52");  // no checked entry counts as Auto Find
    EXPECT_EQ(none.models.modelFamily(), 3);
}

TEST(SelectedModelKey, PausesOneSecondAfterSuccessfulIdentification) {
    LinkBench b;
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("TQ 45"));
    double mexAt = 0;
    b.port.onWrite = [&](std::string_view w) {
        if (w == "MEX\r") mexAt = b.clock.now;
    };
    EXPECT_EQ(selectedModelKey(b.ctx), "TQ45");
    EXPECT_GE(b.clock.now - mexAt, 1.0);
}

// ---- autoFind ----------------------------------------------------------------------------

std::vector<std::string> logLinesEndingWith(const AutoFindResult& r, const std::string& tail) {
    std::vector<std::string> out;
    for (const auto& l : r.log)
        if (l.size() >= tail.size() && l.compare(l.size() - tail.size(), tail.size(), tail) == 0)
            out.push_back(l);
    return out;
}

TEST(AutoFind, FirstPassFindsTheTesterOnTheCurrentPortAndRate) {
    LinkBench b;
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("GN 45"));
    PortSelection sel{2, 4};
    applyPortSettings(b.link, sel);
    AutoFindResult r = autoFind(b.ctx, sel, [] { return false; });
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.family, "Instr_A");
    EXPECT_EQ(r.modelKey, "TQ75");
    EXPECT_EQ(r.modelLabel, "Grannet GN 45");
    EXPECT_EQ(b.models.checkedModelKey(), "TQ75");
    EXPECT_EQ(sel.portIndex, 2);
    EXPECT_EQ(sel.baudIndex, 4);
    ASSERT_GE(r.log.size(), 5u);
    EXPECT_EQ(r.log[0], "COM:3 / BR:4800   SUCCESS_1");
    EXPECT_EQ(r.log[1], "COM:3 / BR:4800   SUCCESS_2");
    EXPECT_EQ(r.log[2], "COM:3 / BR:4800   SUCCESS_3");
    EXPECT_EQ(r.log[3], "MRD #13");
    EXPECT_EQ(r.log[4], "   SER");
    EXPECT_EQ(b.prompts.texts(),
              std::vector<std::string>{"COM Port:  COM3\n\r\n\rBaud Rate:  4800\n\r"});
    EXPECT_EQ(b.port.count("MEX\r"), 1);
    EXPECT_FALSE(b.port.isOpen());
}

TEST(AutoFind, FullPassTriesEveryRateFromTheFastestAtEachPortBeforeTheNext) {
    LinkBench b("TQ41", 2);
    PortSelection sel{5, 1};
    applyPortSettings(b.link, sel);
    AutoFindResult r = autoFind(b.ctx, sel, [] { return false; });
    EXPECT_FALSE(r.found);
    std::vector<std::string> attempts = logLinesEndingWith(r, "SUCCESS_2");
    ASSERT_EQ(attempts.size(), 81u);  // the first pass, then 16 ports x 5 rates
    EXPECT_EQ(attempts[0], "COM:6 / BR:600   SUCCESS_2");
    EXPECT_EQ(attempts[1], "COM:1 / BR:4800   SUCCESS_2");
    EXPECT_EQ(attempts[2], "COM:1 / BR:2400   SUCCESS_2");
    EXPECT_EQ(attempts[5], "COM:1 / BR:300   SUCCESS_2");
    EXPECT_EQ(attempts[6], "COM:2 / BR:4800   SUCCESS_2");
    EXPECT_EQ(attempts[80], "COM:16 / BR:300   SUCCESS_2");
    // Only the family A probe is sent for a family A model.
    EXPECT_EQ(b.port.count("MRD"), 0);
    EXPECT_EQ(b.port.count("P"), 0);
    EXPECT_GT(b.port.count("MRD\r"), 81);
    // Nothing found: the remembered port and rate come back.
    EXPECT_EQ(sel.portIndex, 5);
    EXPECT_EQ(sel.baudIndex, 1);
    EXPECT_EQ(b.port.portNumber(), 6);
    EXPECT_EQ(b.port.baudRate(), 600);
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Connection error"});
    EXPECT_FALSE(b.port.isOpen());
}

TEST(AutoFind, FamilyCModelProbesOnlyWithPAndSendsUWhenFound) {
    LinkBench b("CV61", 1);
    b.port.onWrite = [&](std::string_view w) {
        if (w == "P" && b.port.portNumber() == 4 && b.port.baudRate() == 1200)
            b.port.arrive("E", b.clock.now);
    };
    PortSelection sel{0, 0};
    applyPortSettings(b.link, sel);
    AutoFindResult r = autoFind(b.ctx, sel, [] { return false; });
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.family, "Instr_C");
    EXPECT_EQ(sel.portIndex, 3);
    EXPECT_EQ(sel.baudIndex, 2);
    EXPECT_EQ(b.port.count("MRD\r") + b.port.count("MRD"), 0);
    EXPECT_EQ(b.port.writes.back(), "u");
    EXPECT_EQ(b.port.portNumber(), 4);
    EXPECT_EQ(b.port.baudRate(), 1200);
    EXPECT_EQ(b.prompts.texts(),
              std::vector<std::string>{"COM Port:  COM4\n\r\n\rBaud Rate:  1200\n\r"});
}

TEST(AutoFind, PortsThatCannotBeOpenedAreSkipped) {
    LinkBench b("CV61", 1);
    // Only port 2 exists.
    struct OnlyPortTwo : testing::ScriptedPort {
        using ScriptedPort::ScriptedPort;
        bool open() override { return portNumber() == 2 ? ScriptedPort::open() : false; }
    } port(b.clock);
    Link link(port, b.clock, b.progress, b.prompts);
    InstrumentContext ctx(link, b.models, "Tamvisto");
    port.on("P", "E");
    PortSelection sel{0, 0};
    applyPortSettings(link, sel);
    AutoFindResult r = autoFind(ctx, sel, [] { return false; });
    EXPECT_TRUE(r.found);
    EXPECT_EQ(sel.portIndex, 1);
    EXPECT_EQ(sel.baudIndex, 4);
    EXPECT_EQ(r.log[0], "COM:1 / BR:300   EXCEPT_1");  // the first pass ends its stage
    EXPECT_EQ(r.log[1], "COM:1 / BR:300   EXCEPT_1");  // the full pass skips the port
    EXPECT_EQ(r.log[2], "COM:2 / BR:300   SUCCESS_1");
}

TEST(AutoFind, FamilyBUnderAnotherBrandIsPreselectedThenIdentified) {
    LinkBench b("AutoFind", 0, "Pelvoro");
    b.port.on("MRD", "SER00");
    b.port.on("MWH", familyBReply(familyBBlock(20, {"N", "TQ 60", "1.0"})));
    PortSelection sel{0, 4};
    AutoFindResult r = autoFind(b.ctx, sel, [] { return false; });
    EXPECT_EQ(r.family, "Instr_B");
    EXPECT_EQ(b.models.identifications, 2);  // TQ42 first, then what the data say
    EXPECT_EQ(b.models.checkedModelKey(), "TQ60");
    EXPECT_EQ(r.modelLabel, "TQ 60");
    EXPECT_EQ(b.ctx.data.line(4), "1.0");  // this brand keeps the firmware field whole
    EXPECT_EQ(b.port.count("MEX"), 1);
}

TEST(AutoFind, CancelRestoresTheSelectionWithoutAMessage) {
    LinkBench b;
    PortSelection sel{1, 1};
    applyPortSettings(b.link, sel);
    int probes = 0;
    b.port.onWrite = [&](std::string_view) { ++probes; };
    AutoFindResult r = autoFind(b.ctx, sel, [&] { return probes > 20; });
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.cancelled);
    EXPECT_LE(probes, 22);
    EXPECT_EQ(sel.portIndex, 1);
    EXPECT_EQ(sel.baudIndex, 1);
    EXPECT_EQ(b.port.portNumber(), 2);
    EXPECT_TRUE(b.prompts.shown.empty());
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_EQ(b.prompts.busyDepth, 0);
}

// A tester that answers within the probe's time at 300 baud is found by its first answer, in
// the port dialog's search, the handshake and the identification.
// The probe reaches the tester and the answer comes back at 33 ms a byte; that line time
// must not push the answer out of the window and bring a second probe that purges it.
TEST(SlowLineProbes, TesterAnsweringWithinItsTimeAt300BaudIsFoundByItsFirstAnswer) {
    constexpr double kByte = 10.0 / 300;
    struct Case {
        const char* model;
        int modelFamily;
        std::string probe;
        const char* ready;
        const char* family;
        ProtocolFamily protocol;
    };
    const Case cases[] = {
        {"TQ41", 2, "MRD\r", "SER\r", "Instr_A", ProtocolFamily::A},
        {"TQ42", 1, "MRD", "SER00", "Instr_B", ProtocolFamily::B},
        {"CV61", 1, "P", "E", "Instr_C", ProtocolFamily::C},
    };
    // Seconds from the probe being written to the answer's first byte being in, for a tester
    // that starts answering `latency` after the probe is in.
    auto firstByte = [&](const Case& c, double latency) {
        return double(c.probe.size()) * kByte + latency + kByte;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        {
            // The port dialog's search: 0.6 s to answer.
            LinkBench b(c.model, c.modelFamily);
            b.port.on(c.probe, c.ready, firstByte(c, 0.55), kByte);
            PortSelection sel{0, 0};
            applyPortSettings(b.link, sel);
            AutoFindResult r = autoFind(b.ctx, sel, [] { return false; });
            EXPECT_EQ(r.family, c.family);
            EXPECT_EQ(b.port.count(c.probe), 1);
            EXPECT_EQ(sel.baudIndex, 0);
        }
        {
            // The handshake that begins every exchange: 0.86 s to answer.
            LinkBench b;
            b.port.on(c.probe, c.ready, firstByte(c, 0.8), kByte);
            b.link.setBaudRate(300);
            EXPECT_TRUE(b.link.connectInstrument(linkRulesOf(c.protocol)));
            EXPECT_EQ(b.port.count(c.probe), 1);
            b.link.closePort();
        }
        if (c.protocol == ProtocolFamily::C) continue;  // identification asks A and B
        {
            // Identification before a download: 0.86 s to answer.
            LinkBench b;
            b.port.on(c.probe, c.ready, firstByte(c, 0.8), kByte);
            b.link.setBaudRate(300);
            IdentifyResult r = autoIdentify(b.ctx);
            EXPECT_TRUE(r.ok);
            EXPECT_EQ(b.port.count(c.probe), 1);
        }
    }
}
}  // namespace
}  // namespace pelvoro
