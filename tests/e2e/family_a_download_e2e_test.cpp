// Family A downloads through the real serial port against the simulated tester: the saved
// document compared whole with its golden file, and what a download does when the tester
// or the line misbehaves.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "common/adapters/qt_link_clock.h"
#include "common/settings_store.h"
#include "document/structure_document.h"
#include "files/document_file.h"
#include "instrument/adapters/qt_serial_port.h"
#include "protocols/family_a/family_a_download.h"
#include "protocols/family_a/family_a_link_rules.h"
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

// The frame's part, as the Download command plays it: the document takes the tester's
// instrument data, the temporary file is read back into it, and the finish ends the
// connection.
struct Download : FamilyADownloadTarget {
    Download(const std::string& device, const std::string& key)
        : english(readFile(std::string(PELVORO_SOURCE_DATA_DIR) + "/English.ini")), models(key, 2) {
        settings.writeString("PortDevice1", device);
        port = makeSystemSerialPort(&settings);
        port->setBaudRate(4800);
        link = std::make_unique<Link>(*port, clock, progress, prompts);
        ctx = std::make_unique<InstrumentContext>(*link, models, "Tamvisto");
    }
    bool createDocument() override {
        created = true;
        doc.InstrumentData = ctx->data;
        return true;
    }
    void write(std::string_view text) override { file += text; }
    void load() override {
        loaded = true;
        readDocumentFromBytes(doc, file);
    }
    void run(const std::string& key) {
        Clock::time_point start = Clock::now();
        downloadFamilyA(*ctx, key, *this);
        link->endConnection(kFamilyALinkRules);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    int results() const {
        int n = 0;
        for (StructureItem* item : doc.preorder()) n += item->type() == 23;
        return n;
    }
    std::vector<std::string> messages() const { return prompts.texts(); }

    pelvoro::testing::ScopedLanguage english;
    MemorySettingsStore settings;
    std::unique_ptr<SerialPort> port;
    QtLinkClock clock;
    pelvoro::testing::ProgressRecorder progress;
    pelvoro::testing::ScriptedPrompts prompts;
    SimpleModelSelection models;
    std::unique_ptr<Link> link;
    std::unique_ptr<InstrumentContext> ctx;
    bool created = false, loaded = false;
    std::string file;
    StructureDocument doc;
    double seconds = 0;
};

std::string goldenPath(const std::string& name) {
    return std::string(PELVORO_SOURCE_DATA_DIR) + "/../tests/e2e/golden/" + name;
}

// One structure-and-results tester and one results tester, saved as File > Save would.
TEST(FamilyADownloadOnALine, SavedDocumentsEqualTheirGoldens) {
    ensureApplication();
    struct Case {
        const char* scenario;
        const char* key;
        const char* golden;
    };
    for (const Case& c : {Case{"tq41.sim", "TQ41", "download_tq41.PLV"},
                          Case{"tq71.sim", "TQ71", "download_tq71.PLV"},
                          Case{"tq75.sim", "TQ75", "download_tq75.PLV"}}) {
        SCOPED_TRACE(c.scenario);
        Simulator sim({"--scenario", scenarioPath(c.scenario)});
        ASSERT_FALSE(sim.device().empty());
        Download d(sim.device(), c.key);
        d.run(c.key);
        EXPECT_TRUE(d.messages().empty()) << d.messages().front();
        EXPECT_TRUE(d.loaded);
        EXPECT_FALSE(d.port->isOpen());
        std::string saved = writeDocumentToString(d.doc);
        std::string golden = readFile(goldenPath(c.golden));
        if (saved != golden) {
            std::ofstream(std::string("/tmp/") + c.golden, std::ios::binary) << saved;
            ADD_FAILURE() << "saved document differs from " << c.golden << "; written to /tmp/"
                          << c.golden;
        }
    }
}

// The fault matrix of the family A testers: what the user is told, what is kept, the port
// closed and no hang.
TEST(FamilyADownloadOnALine, FaultMatrix) {
    ensureApplication();
    const std::string commun = englishText("msgCommunFail_35");
    const std::string check = englishText("msgCorectRecData_35");
    const std::string incomplete = englishText("msgDLoadNotCompl_50");
    struct Case {
        const char* name;
        const char* scenario;
        const char* key;
        const char* fault;  // empty: none
        int cancelAtGauge;  // -1: no Cancel
        std::vector<std::string> messages;
        bool loaded;
        int results;  // result items kept
    };
    const std::vector<Case> cases = {
        {"silence", "tq71.sim", "TQ71", "silence@MR1#3", -1, {commun, check}, true, 2},
        {"garbage", "tq71.sim", "TQ71", "garbage@MR1#3", -1, {commun, check}, true, 2},
        {"short block", "tq71.sim", "TQ71", "short@MR1#4:5", -1, {commun, check}, true, 3},
        {"dropped CR", "tq71.sim", "TQ71", "nocr@MR1#2", -1, {commun, check}, true, 1},
        {"SER error", "tq41.sim", "TQ41", "ser@MST:5", -1, {incomplete}, true, 2},
        {"cable pulled", "tq71.sim", "TQ71", "pull@MR1#5:10", -1, {commun, check}, true, 4},
        {"cable pulled in the structure",
         "tq41.sim",
         "TQ41",
         "pull@MST#2:4",
         -1,
         {commun, check},
         true,
         0},
        {"Cancel", "tq71.sim", "TQ71", "", 50, {incomplete}, true, 3},
        {"Cancel in the structure", "tq41.sim", "TQ41", "", 30, {}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--scenario", scenarioPath(c.scenario)};
        if (*c.fault) args.insert(args.end(), {"--fault", c.fault});
        Simulator sim(args);
        ASSERT_FALSE(sim.device().empty());
        Download d(sim.device(), c.key);
        d.progress.cancelAtGauge = c.cancelAtGauge;
        d.run(c.key);
        EXPECT_EQ(d.messages(), c.messages);
        EXPECT_EQ(d.loaded, c.loaded);
        EXPECT_EQ(d.results(), c.results);
        EXPECT_FALSE(d.port->isOpen());
        EXPECT_LT(d.seconds, 15.0);
    }
}

}  // namespace
}  // namespace pelvoro::e2e
