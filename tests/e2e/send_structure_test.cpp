// Send Structure against the simulated tester on a pseudo terminal: what arrives in the
// tester's memory, entry by entry, as the tester stores it (the simulator logs every
// stored entry), through the command itself and through pelvoro-cli send.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "common/adapters/qt_link_clock.h"
#include "common/lang_text.h"
#include "common/settings_store.h"
#include "document/item_types.h"
#include "files/document_file.h"
#include "instrument/adapters/qt_serial_port.h"
#include "protocols/family_a/structure_send.h"
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

// The entries the simulator stored, in order ("01|FFFF|FFFF|House|010000000000" or
// "P;001;000;000;01;Plant;").
std::vector<std::string> storedEntries(const std::string& log) {
    std::vector<std::string> out;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        size_t at = line.find("] stored ");
        if (at != std::string::npos) out.push_back(line.substr(at + 9));
    }
    return out;
}

// The command itself over the real serial port, with the English texts.
struct Bench {
    Bench(const std::string& device, const std::string& key, int family)
        : models(key, family), previous(currentLanguageFile()) {
        ensureApplication();
        setCurrentLanguageFile(
            LanguageFile::load(std::string(PELVORO_SOURCE_DATA_DIR) + "/English.ini"));
        settings.writeString("PortDevice1", device);
        port = makeSystemSerialPort(&settings);
        link = std::make_unique<Link>(*port, clock, progress, prompts);
        ctx = std::make_unique<InstrumentContext>(*link, models, "Tamvisto");
        link->setPortNumber(1);
        link->setBaudRate(4800);
    }
    ~Bench() { setCurrentLanguageFile(previous); }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& s : prompts.shown) out.push_back(s.text);
        return out;
    }

    MemorySettingsStore settings;
    std::unique_ptr<SerialPort> port;
    QtLinkClock clock;
    pelvoro::testing::ProgressRecorder progress;
    pelvoro::testing::ScriptedPrompts prompts;
    SimpleModelSelection models;
    std::unique_ptr<Link> link;
    std::unique_ptr<InstrumentContext> ctx;
    std::shared_ptr<LanguageFile> previous;
};

StructureItem* add(StructureDocument& doc, StructureItem& parent, int type, const std::string& name,
                   std::array<uint8_t, 5> measures = {}) {
    StructureItem* item = doc.addItem(parent, type, name);
    item->data.Measures = measures;
    if (isResultType(type)) item->data.ResTexts = {"X#PN#L1" + name};  // kept by files
    return item;
}

// Several levels, a name longer than 16 characters and one of exactly 16, types whose
// codes need two hexadecimal digits, measure bits, and results that are never sent.
void buildTq41Structure(StructureDocument& doc) {
    StructureItem* plant = add(doc, doc.root(), ItemType::Object, "Plant North");
    StructureItem* board = add(doc, *plant, ItemType::DistBoard, "Main distribution board west",
                               {0x01, 0x02, 0x00, 0x00, 0x80});
    StructureItem* fuse = add(doc, *board, ItemType::Fuse, "F1", {0xFF, 0, 0, 0, 0});
    add(doc, *fuse, ItemType::Measurement, "Loop");
    add(doc, *fuse, ItemType::GraphMeasurement, "Curve");
    add(doc, *board, ItemType::Fuse, "0123456789ABCDEF");
    StructureItem* block = add(doc, doc.root(), ItemType::Object_AN, "Site B");
    add(doc, *block, ItemType::EarthElectr, "Electrode 3");
    for (StructureItem* item : doc.preorder()) item->data.ID = 7;  // the document's own IDs
    doc.setModified(false);
}

TEST(SendStructureOnALine, Tq41StructureArrivesAsTheTesterNumbersIt) {
    Simulator sim({"--scenario", scenarioPath("tq41.sim")});  // holds three entries
    ASSERT_FALSE(sim.device().empty());
    Bench bench(sim.device(), "TQ41", 2);
    bench.prompts.answers = {Answer::Yes};  // delete what the tester holds
    StructureDocument doc;
    buildTq41Structure(doc);

    SendStructureOutcome out = sendStructure(*bench.ctx, doc);

    EXPECT_EQ(out.result, SendStructureResult::Sent);
    EXPECT_EQ(out.entriesSent, 6);
    EXPECT_TRUE(out.cleared);
    EXPECT_TRUE(sim.logShows("connection ended"));
    EXPECT_NE(sim.log().find("structure memory cleared"), std::string::npos);
    // Parents are the numbers the tester gave back; names cut to 16 characters; type
    // code and the five measure bytes as 12 upper-case hexadecimal digits.
    EXPECT_EQ(storedEntries(sim.log()), (std::vector<std::string>{
                                            "01|FFFF|FFFF|Plant North|010000000000",
                                            "02|01|FFFF|Main distributio|1F0102000080",
                                            "03|02|FFFF|F1|05FF00000000",
                                            "04|02|FFFF|0123456789ABCDEF|050000000000",
                                            "05|FFFF|FFFF|Site B|1E0000000000",
                                            "06|05|FFFF|Electrode 3|2A0000000000",
                                        }));
    ASSERT_EQ(bench.prompts.shown.size(), 2u);
    EXPECT_EQ(bench.prompts.shown[0].kind, "yesnocancel");
    EXPECT_EQ(bench.prompts.shown[0].title, englishText("mbcWarning_20"));
    EXPECT_EQ(bench.prompts.shown[0].text, englishText("msgDeleteStructure_70"));
    EXPECT_EQ(bench.prompts.shown[1].text, englishText("msgSuccesExec_35"));
    EXPECT_EQ(bench.progress.gauge, 100);
    for (StructureItem* item : doc.preorder()) EXPECT_EQ(item->data.ID, -1);
    EXPECT_FALSE(doc.Modified);
    EXPECT_FALSE(bench.port->isOpen());
}

TEST(SendStructureOnALine, CancelMidwayStopsTheTesterAndKeepsWhatArrived) {
    testing::TempDir dir;
    dir.write("empty.sim", "model TQ41\n");
    Simulator sim({"--scenario", dir.file("empty.sim")});
    Bench bench(sim.device(), "TQ41", 2);
    bench.progress.cancelAtGauge = 40;
    StructureDocument doc;
    buildTq41Structure(doc);

    SendStructureOutcome out = sendStructure(*bench.ctx, doc);

    EXPECT_EQ(out.result, SendStructureResult::NotSent);
    EXPECT_TRUE(out.cancelled);
    EXPECT_FALSE(out.cleared) << "an empty tester is not asked about";
    EXPECT_TRUE(sim.logShows("the program stopped sending its structure"));
    EXPECT_EQ(storedEntries(sim.log()).size(), size_t(out.entriesSent));
    EXPECT_GE(out.entriesSent, 2);
    EXPECT_LT(out.entriesSent, 6);
    // After Cancel only the not-sent notice, never a communication failure.
    EXPECT_EQ(bench.messages(), std::vector<std::string>{englishText("msgStrucNotSendSucces")});
    EXPECT_NE(doc.preorder()[1]->data.ID, -1) << "IDs are reset only after a complete send";
    EXPECT_FALSE(bench.port->isOpen());
}

TEST(SendStructureOnALine, AModelThatTakesNoStructureIsToldNotSilent) {
    Simulator sim({"--scenario", scenarioPath("cv61.sim")});
    ASSERT_FALSE(sim.device().empty());
    Bench bench(sim.device(), "CV61", 2);
    StructureDocument doc;
    buildTq41Structure(doc);

    SendStructureOutcome out = sendStructure(*bench.ctx, doc);

    EXPECT_EQ(out.result, SendStructureResult::NotAccepted);
    EXPECT_EQ(out.entriesSent, 0);
    EXPECT_EQ(bench.messages(), std::vector<std::string>{englishText("msgNoStructure_70")});
    EXPECT_FALSE(bench.port->isOpen());
}

// pelvoro-cli send against the simulator, both styles, with the faults and refusals.
TEST(SendStructureCli, LeavesExactlyTheDocumentsStructureOrSaysWhyNot) {
    if (!cliHasCommand("send")) GTEST_SKIP() << "no send command";
    testing::TempDir dir;
    {
        StructureDocument doc;
        buildTq41Structure(doc);
        dir.write("tq41.TMV", writeDocumentToString(doc));
    }
    {
        // A type-24 result takes a position number; neither result type is sent; a type
        // without an item number of its own goes as the one before it.
        StructureDocument doc;
        StructureItem* plant = add(doc, doc.root(), ItemType::Object, "Plant");
        add(doc, *plant, ItemType::GraphMeasurement, "Curve");
        add(doc, *plant, ItemType::Measurement, "Loop");
        StructureItem* block = add(doc, *plant, ItemType::Block, "Block A");
        add(doc, *block, ItemType::Fuse, "Fuse 1");
        add(doc, *block, ItemType::DistBoard, "Board; west");
        StructureItem* second = add(doc, doc.root(), ItemType::Object_AN, "Plant 2");
        add(doc, *second, ItemType::MainEqBond, "Bond");
        dir.write("tq75.TMV", writeDocumentToString(doc));
    }
    {
        StructureDocument doc;
        StructureItem* a = add(doc, doc.root(), ItemType::Object, "A");
        StructureItem* b = add(doc, *a, ItemType::Block, "B");
        StructureItem* c = add(doc, *b, ItemType::Fuse, "C");
        add(doc, *c, ItemType::Measurement, "result at level 4 is fine");
        add(doc, *c, ItemType::Circuit, "D");
        dir.write("deep.TMV", writeDocumentToString(doc));
    }
    {
        StructureDocument doc;
        StructureItem* a = add(doc, doc.root(), ItemType::Object, "A");
        add(doc, *a, ItemType::Room, "Room 1");
        dir.write("room.TMV", writeDocumentToString(doc));
    }
    dir.write("small.sim", "model TQ41\ncapacity 2\n");

    struct Case {
        std::string name, scenario, model, document;
        std::vector<std::string> extra;
        int exitCode;
        std::vector<std::string> stored;
        bool cleared;
        std::vector<std::string> messages;  // in order on stderr
    } cases[] = {
        {"TQ41, Yes to deleting",
         scenarioPath("tq41.sim"),
         "TQ41",
         "tq41.TMV",
         {},
         0,
         {"01|FFFF|FFFF|Plant North|010000000000", "02|01|FFFF|Main distributio|1F0000000000",
          "03|02|FFFF|F1|050000000000", "04|02|FFFF|0123456789ABCDEF|050000000000",
          "05|FFFF|FFFF|Site B|1E0000000000", "06|05|FFFF|Electrode 3|2A0000000000"},
         true,
         {"msgDeleteStructure_70", "msgSuccesExec_35"}},
        {"TQ41, --keep adds to what the tester holds",
         scenarioPath("tq41.sim"),
         "TQ41",
         "tq41.TMV",
         {"--keep"},
         0,
         {"04|FFFF|FFFF|Plant North|010000000000", "05|04|FFFF|Main distributio|1F0000000000",
          "06|05|FFFF|F1|050000000000", "07|05|FFFF|0123456789ABCDEF|050000000000",
          "08|FFFF|FFFF|Site B|1E0000000000", "09|08|FFFF|Electrode 3|2A0000000000"},
         false,
         {"msgDeleteStructure_70", "msgSuccesExec_35"}},
        {"TQ75 numbers the levels",
         scenarioPath("tq75.sim"),
         "TQ75",
         "tq75.TMV",
         {},
         0,
         {"P;001;000;000;01;Plant;", "P;001;002;000;03;Block A;", "P;001;002;001;05;Fuse 1;",
          "P;001;002;002;04;Board, west;", "P;002;000;000;02;Plant 2;", "P;002;001;000;02;Bond;"},
         true,
         {"msgSendStructure_35", "msgSuccesExec_35"}},
        {"TQ75 refuses four levels",
         scenarioPath("tq75.sim"),
         "TQ75",
         "deep.TMV",
         {},
         1,
         {},
         false,
         {"more than three levels"}},
        {"TQ75 refuses rooms",
         scenarioPath("tq75.sim"),
         "TQ75",
         "room.TMV",
         {},
         1,
         {},
         false,
         {"msgStructIemsIncl_35", "msgCanNotSend_35"}},
        {"memory full",
         dir.file("small.sim"),
         "TQ41",
         "tq41.TMV",
         {},
         1,
         {"01|FFFF|FFFF|Plant North|010000000000", "02|01|FFFF|Main distributio|1F0000000000"},
         false,
         {"msgMemoryFull_35", "msgStrucNotSendSucces"}},
        {"time-out",
         dir.file("small.sim"),
         "TQ41",
         "tq41.TMV",
         {"--fault", "silence@MAS#2"},
         1,
         // the tester stored the second entry, but its answer never came
         {"01|FFFF|FFFF|Plant North|010000000000", "02|01|FFFF|Main distributio|1F0000000000"},
         false,
         {"msgCommunFail_35", "msgStrucNotSendSucces"}},
        {"an answer without the entry's number",
         scenarioPath("tq41.sim"),
         "TQ41",
         "tq41.TMV",
         {"--fault", "skip@MAS#1"},
         1,
         // stored, but its children could not name it
         {"01|FFFF|FFFF|Plant North|010000000000"},
         true,
         {"msgCommunFail_35", "msgStrucNotSendSucces"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> simArgs = {"--scenario", c.scenario};
        std::vector<std::string> cliArgs = {"send", dir.file(c.document), "--model", c.model};
        for (size_t i = 0; i < c.extra.size(); ++i) {
            if (c.extra[i] == "--fault")
                simArgs.insert(simArgs.end(), {c.extra[i], c.extra[i + 1]}), ++i;
            else
                cliArgs.push_back(c.extra[i]);
        }
        Simulator sim(simArgs);
        ASSERT_FALSE(sim.device().empty());
        cliArgs.insert(cliArgs.end(), {"--device", sim.device()});
        RunResult r = runProgram("pelvoro-cli", cliArgs, milliseconds(30000));
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        std::string log = sim.log();
        EXPECT_EQ(storedEntries(log), c.stored) << log;
        EXPECT_EQ(log.find("structure memory cleared") != std::string::npos, c.cleared) << log;
        // No entry ever names a parent the tester did not give.
        EXPECT_EQ(log.find("MAS refused"), std::string::npos) << log;
        if (c.exitCode != 0 && c.stored.empty()) {
            EXPECT_EQ(log.find("rx MCM"), std::string::npos) << "nothing is sent at all";
            EXPECT_EQ(log.find("rx MAS"), std::string::npos);
        }
        size_t at = 0;
        for (const std::string& m : c.messages) {
            std::string text = englishText(m) != "**" ? englishText(m) : m;
            size_t found = r.err.find(text, at);
            EXPECT_NE(found, std::string::npos) << "\"" << text << "\" in order in:\n" << r.err;
            if (found != std::string::npos) at = found + text.size();
        }
        if (c.exitCode != 0) {
            EXPECT_EQ(r.err.find(englishText("msgSuccesExec_35")), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace pelvoro::e2e
