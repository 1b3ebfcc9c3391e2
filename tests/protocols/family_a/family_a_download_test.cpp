// Family A downloads on the scripted port with the virtual clock: the structure-and-results
// download ("MST", "MRA") and the results download that rebuilds the structure from each
// result's position ("MR1"), read back through the document reader.

#include "protocols/family_a/family_a_download.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "document/structure_document.h"
#include "files/byte_sink.h"
#include "files/document_file.h"
#include "files/document_writer.h"
#include "support/scripted_link.h"

namespace pelvoro {
namespace {

const char* kTexts =
    "[Language]\n"
    "msgConnectError_35=Connection error\n"
    "msgCommunFail_35=Communication failure\n"
    "msgCorectRecData_35=Check the data received\n"
    "msgDataCorrupt_35=Corrupt data\n"
    "msgDLoadNotCompl_50=Download not complete\n"
    "msgNoStructObj_35=No structure\n"
    "msgNoDataToDownL_35=No data\n"
    "ConnectInstr_35=Connecting\n"
    "DLoadStructure_35=Structure\n"
    "DLoadResults_35=Results\n"
    "AllItems_15=All\n"
    "Result_10=Result\n"
    "labObject_15=Object\n"
    "labBlock_15=Block\n"
    "labLightRod_15=Rod\n"
    "labFuse_15=Fuse\n"
    "labElectrode_15=Electrode\n"
    "labDistBoard_15=Board\n"
    "labLocation_15=Location\n"
    "labEarthElectr_15=Earth electrode\n"
    "Funct_CONT=Continuity\n"
    "Funct_SOCKET=Socket\n"
    "Funct_EARTH_RE=Earth resistance\n"
    "Funct_CONTVOLT=Contact voltage\n"
    "text304=Loop\n"
    "text305=Line\n"
    "text525=Reversed\n";

// The frame's side: the temporary file in memory, read into a document on load.
struct MemoryTarget : FamilyADownloadTarget {
    bool failCreate = false;
    bool created = false;
    bool loaded = false;
    std::string file;
    StructureDocument doc;
    bool createDocument() override {
        created = !failCreate;
        return created;
    }
    void write(std::string_view text) override { file += text; }
    void load() override {
        loaded = true;
        DocumentReadOptions options;
        readDocumentFromBytes(doc, file, options);
    }
};

// The tree as an outline: one line per item, two blanks per level, "name #type" and the
// first coded result.
std::string outline(const StructureDocument& doc) {
    std::string out;
    for (StructureItem* item : doc.preorder()) {
        if (item == &doc.root()) continue;
        out += std::string(std::size_t(2 * (item->level() - 1)), ' ') + item->caption() + " #" +
               std::to_string(item->type());
        if (!item->data.FpStrings.empty()) out += " " + item->data.FpStrings.front();
        out += "\n";
    }
    return out;
}

struct Bench : testing::ScriptedLink {
    explicit Bench(std::string key)
        : ScriptedLink(kTexts), models(key, 2), ctx(link, models, "Tamvisto"), key(std::move(key)) {
        port.on("MRD\r", "SER0\r", 0.05);
    }
    void instrument(const std::string& type, const std::string& model) {
        port.on("MWH\r", "01." + type + "\r02.Tester\r03." + model + "\rSER0\r", 0.02);
    }
    void run() { downloadFamilyA(ctx, key, target); }

    SimpleModelSelection models;
    InstrumentContext ctx;
    std::string key;
    MemoryTarget target;
};

TEST(FamilyADownloadPieces, FunctionLineRewritesNamesAndHexNumbers) {
    struct Case {
        const char* type;
        const char* line;
        const char* rewritten;
        const char* name;
    };
    const Case cases[] = {
        {"51", "F;6;3;0;0.35;", "F;61;3;0;0.35;", "Continuity"},
        {"52", "F;6;5;0;1;", "F;62;5;0;1;", "Continuity"},
        {"54", "F;6;0;0;1;", "F;56;0;0;1;", "Continuity"},
        {"53", "F;10;1;0;231;", "F;64;1;0;231;", "Socket"},
        {"51", "F;9;1;0;2;", "F;63;1;0;2;", "Reversed"},
        {"52", "F;2;1;0;0.4;", "F;52;1;0;0.4;", "Loop dU"},
        {"55", "F;13;0;0;12.5;", "F;71;0;0;12.5;", "Contact voltage"},
        {"55", "F;7;1;0;3;", "F;73;1;0;3;", "Earth resistance"},
        {"60", "F;53;1;0;1;", "F;53;1;0;1;", "Line"},
        {"60", "F;99;1;0;1;", "F;99;1;0;1;", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        testing::ScopedLanguage language(kTexts);
        std::string r = rewriteFamilyALine(c.line, c.type);
        EXPECT_EQ(r, c.rewritten);
        EXPECT_EQ(familyAResultName(r), c.name);
    }
    EXPECT_EQ(familyAHex(""), 0);
    EXPECT_EQ(familyAHex("1a"), 26);
    EXPECT_EQ(familyAHex("1G"), 16);  // a stray character counts as 0
    EXPECT_EQ(familyAHex("FFFF"), 65535);
}

// A results tester of the position group: the structure rebuilt from the positions, a
// result whose position ends at level 2 kept as a result under its block (no phantom
// fuse, nothing lost), and results after the child nodes in the tester's order.
TEST(FamilyADownload, ResultsRebuildTheStructureAndKeepEveryResultInOrder) {
    Bench b("TQ72");
    b.instrument("52", "TQ 72");
    b.port.on("MNU\r", "4\rSER0\r", 0.02);
    b.port.on("MR1\r1\r", "P;001;002;003;01;03;05\rX#PD one\rF;6;3;0;0.35;\r", 0.02);
    b.port.on("MR1\r2\r", "P;001;002;000;01;03;00\rX#PD two\rF;6;0;0;1.5;\r", 0.02);
    b.port.on("MR1\r3\r", "P;001;002;003;01;03;05\rX#PD three\rF;10;1;0;231;\r", 0.02);
    b.port.on("MR1\r4\r", "P;002;001;001;01;03;05\rX#PD four\rF;6;2;0;9\r", 0.02);
    b.run();
    EXPECT_TRUE(b.target.loaded);
    EXPECT_EQ(outline(b.target.doc),
              "Object1 #1\n"
              "  Block2 #2\n"
              "    Fuse3 #5\n"
              "      Continuity #23 F;61;3;0;0.35;\n"
              "      Socket #23 F;64;1;0;231;\n"
              "    Continuity #23 F;56;0;0;1.5;\n"
              "Object2 #1\n"
              "  Block1 #2\n"
              "    Fuse1 #5\n"
              "      Continuity #23 F;61;2;0;9;\n");
    EXPECT_TRUE(b.prompts.shown.empty()) << b.prompts.texts().front();
    EXPECT_EQ(b.port.count("MEX\r"), 0);  // the frame's finish ends the connection
    EXPECT_EQ(b.progress.gauge, 100);
}

// The ";"-style testers: names and types from the named structure, the kinds of the
// position line for the rest, coding versions from "V" lines.
TEST(FamilyADownload, NamedStructureKindsAndCodingVersions) {
    Bench b("TQ75");
    b.models = SimpleModelSelection("TQ75", 3);
    b.instrument("55", "TQ 75B");
    b.port.on("MNU\r", "2\rSER0\r", 0.02);
    b.port.on("MR1;1\r", "P;001;001;001;01;03;05\rV;2\rD;09;12;2026;08;00;\rF;13;0;0;12.5;\r",
              0.02);
    b.port.on("MR1;2\r", "P;001;004;007;01;04;07\rD;09;12;2026;08;05;\rF;7;0;0;3;\r", 0.02);
    b.port.on("MNN\r", "2\rSER0\r", 0.02);
    b.port.on("MN1;1\r", "P;001;000;000;01;Plant;\r", 0.02);
    b.port.on("MN1;2\r", "P;001;001;000;03;Block A;\r", 0.02);
    b.run();
    EXPECT_EQ(outline(b.target.doc),
              "Plant #1\n"
              "  Block A #2\n"
              "    Fuse1 #5\n"
              "      Contact voltage #23 F;71;0;0;12.5;\n"
              "  Board4 #31\n"
              "    Earth electrode #42\n"
              "      Earth resistance #23 F;73;0;0;3;\n");
    EXPECT_NE(b.target.file.find("ProtVer: 2\r\nResText: D;09;12;2026;08;00;\r\n"),
              std::string::npos);
    EXPECT_TRUE(b.prompts.shown.empty());
}

// A named entry whose block the tester did not name hangs under its object; in a memory
// of more positions than result IDs are apart from node IDs, the two still never meet.
TEST(FamilyADownloadPieces, NamedEntriesWithoutParentsAndLargeMemories) {
    testing::ScopedLanguage language(kTexts);
    FamilyAResult r;
    r.a = 1;
    r.b = 1;
    r.c = 1;
    r.positionLine = "P;001;001;001;01;03;05";
    r.name = "Continuity";
    r.fpLine = "F;56;0;0;1;";
    std::vector<FamilyANamedEntry> named = {{1, 0, 0, "Plant", 1}, {1, 5, 2, "Pump", 33}};
    MemoryTarget t;
    {
        StringSink sink(t.file);
        DocumentWriter file(sink);
        file.emptyHead(9);
        for (const ItemBlock& block : resultsItemBlocks("TQ75", "55", {r}, named)) file.item(block);
    }
    t.load();
    EXPECT_EQ(outline(t.doc),
              "Plant #1\n  Block1 #2\n    Fuse1 #5\n      Continuity #23 F;56;0;0;1;\n"
              "  Pump #33\n");

    std::vector<FamilyAResult> many(5200);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].a = int(i % 100) + 1;
        many[i].b = int(i / 100) + 1;
        many[i].fpLine = "F;56;0;0;1;";
    }
    const std::vector<ItemBlock> blocks = resultsItemBlocks("TQ72", "52", many, {});
    auto withId = [&blocks](const char* id) {
        return std::find_if(blocks.begin(), blocks.end(), [id](const ItemBlock& b) {
            return b.lines.front() == std::pair{ItemField::ID, std::string(id)};
        });
    };
    EXPECT_NE(withId("5299"), blocks.end());  // the last node
    const auto firstResult = withId("5300");
    ASSERT_NE(firstResult, blocks.end());
    EXPECT_EQ(firstResult->lines.at(1), (std::pair{ItemField::PID, std::string("0")}));
}

// The structure-and-results download: hex IDs, the fallback ID, types out of range, a
// status code that marks the structure incomplete, split coded lines and "#PN" names.
TEST(FamilyADownload, StructureAndResults) {
    Bench b("TQ41");
    b.instrument("50", "TQ 41");
    b.port.on("MNS\r", "3\rSER0\r", 0.02);
    b.port.on("MST\r", "0A\rFFFF\rFFFF\rHouse\r010000000000\r", 0.02);
    b.port.on("+\r",
              {{"\rA\rFFFF\rBoard\r2B0000000000\r", 0.02},
               {"1F\rA\r2710\rFuse\r050000000000\r", 0.02},
               {"SER5\r", 0.02},
               {"#2710\rX#PNKitchen#PN\rF;24;0;0;12;\r-\r", 0.02},
               {"#---\rSER0\r", 0.02}},
              false);
    b.port.on("MNU\r", "2\rSER0\r", 0.02);
    b.port.on("MPR\r1\r", "SER0\r", 0.02);
    b.port.on("MRA\r", "#1F\rX#PD loop\rF;5;0;0;0.42;\rD#PD ignored\r-\r", 0.02);
    b.run();
    EXPECT_EQ(outline(b.target.doc),
              "House #1\n"
              "  Board #22\n"
              "    Kitchen #23 F;24;0;0;12;1;\n"
              "  Fuse #5\n"
              "    Result #23 F;5;0;0;0.42;\n");
    EXPECT_EQ(b.prompts.texts(), std::vector<std::string>{"Download not complete"});
    EXPECT_NE(b.target.file.find("ID: 10000\r\nPID: 10\r\n"), std::string::npos);
    EXPECT_EQ(b.target.file.find("ResText: D#PD"), std::string::npos);
    EXPECT_EQ(b.progress.steps.back(), "Results");
}

// What the user is told, and what is kept, when a download does not go through.
TEST(FamilyADownload, FailuresCancelAndTheirMessages) {
    struct Case {
        const char* name;
        std::string key;
        std::function<void(Bench&)> script;
        std::vector<std::string> messages;
        bool loaded;
        int results;  // result items in the loaded document
    };
    auto results41 = [](Bench& b) {
        b.instrument("50", "TQ 41");
        b.port.on("MNS\r", "1\rSER0\r", 0.02);
        b.port.on("MST\r", "01\rFFFF\rFFFF\rHouse\r01\r", 0.02);
        b.port.on("MNU\r", "3\rSER0\r", 0.02);
        b.port.on("MPR\r1\r", "SER0\r", 0.02);
    };
    auto results72 = [](Bench& b) {
        b.instrument("52", "TQ 72");
        b.port.on("MNU\r", "3\rSER0\r", 0.02);
        for (int n = 1; n <= 3; ++n)
            b.port.on("MR1\r" + std::to_string(n) + "\r",
                      "P;001;001;001;01;03;05\rX#PD\rF;6;3;0;" + std::to_string(n) + ";\r", 0.02);
    };
    const std::vector<Case> cases = {
        {"wrong model text",
         "TQ72",
         [](Bench& b) { b.instrument("52", "TQ 73"); },
         {"Connection error"},
         false,
         0},
        {"wrong type code",
         "TQ41",
         [](Bench& b) { b.instrument("51", "TQ 41"); },
         {"Connection error"},
         false,
         0},
        {"no instrument data",
         "TQ41",
         [](Bench& b) { b.port.on("MWH\r", "SER0\r", 0.02); },
         {"Connection error"},
         false,
         0},
        {"empty structure",
         "TQ41",
         [](Bench& b) {
             b.instrument("50", "TQ 41");
             b.port.on("MNS\r", "0\rSER0\r", 0.02);
         },
         {"No structure"},
         false,
         0},
        {"no results",
         "TQ72",
         [](Bench& b) {
             b.instrument("52", "TQ 72");
             b.port.on("MNU\r", "0\rSER0\r", 0.02);
         },
         {"No data"},
         false,
         0},
        {"garbled count",
         "TQ72",
         [](Bench& b) {
             b.instrument("52", "TQ 72");
             b.port.on("MNU\r", "\x81\x92\rSER0\r", 0.02);
         },
         {"Corrupt data", "Communication failure", "Check the data received"},
         true,
         0},
        {"count beyond any memory",
         "TQ72",
         [](Bench& b) {
             b.instrument("52", "TQ 72");
             b.port.on("MNU\r", "99999999\rSER0\r", 0.02);
         },
         {"Corrupt data", "Communication failure", "Check the data received"},
         true,
         0},
        {"structure goes silent",
         "TQ41",
         [&](Bench& b) {
             b.port.on("MST\r", "01\rFFFF\r", 0.02);
             results41(b);
         },
         {"Communication failure", "Check the data received"},
         true,
         0},
        {"results go silent after one",
         "TQ41",
         [&](Bench& b) {
             b.port.on("+\r", {{"SER0\r", 0.02}, {"#01\rX#PD\r", 0.02}}, false);
             b.port.on("MRA\r", "#01\rF;5;0;0;1;\r-\r", 0.02);
             results41(b);
         },
         {"Communication failure", "Check the data received"},
         true,
         1},
        {"results refused",
         "TQ72",
         [&](Bench& b) {
             b.port.on("MR1\r2\r", "SER3\r", 0.02);
             results72(b);
         },
         {"Communication failure", "Check the data received"},
         true,
         1},
        {"garbled result",
         "TQ72",
         [&](Bench& b) {
             b.port.on("MR1\r2\r", "\x81\x92\r\x83\r\x84\r\x85\r\x86\r", 0.02);
             results72(b);
         },
         {"Communication failure", "Check the data received"},
         true,
         1},
        {"line without its CR",
         "TQ72",
         [&](Bench& b) {
             b.port.on("MR1\r3\r", std::string(100000, 'P'), 0.02, 0.002);
             results72(b);
         },
         {"Communication failure", "Check the data received"},
         true,
         2},
        {"results refused by status",
         "TQ41",
         [&](Bench& b) {
             b.port.on("+\r", {{"SER0\r", 0.02}, {"SER7\r", 0.02}}, false);
             b.port.on("MRA\r", "#01\rF;5;0;0;1;\r-\r", 0.02);
             results41(b);
         },
         {"Download not complete"},
         true,
         1},
        {"cancel in the structure",
         "TQ41",
         [&](Bench& b) {
             results41(b);
             b.progress.cancelAtStep = "Structure";
         },
         {},
         false,
         0},
        {"cancel in the results",
         "TQ41",
         [&](Bench& b) {
             b.port.on("+\r", {{"SER0\r", 0.02}, {"#01\rF;5;0;0;2;\r-\r", 0.02}}, false);
             b.port.on("MRA\r", "#01\rF;5;0;0;1;\r-\r", 0.02);
             results41(b);
             b.clock.onEvents = [&b] {
                 if (b.progress.steps.back() == "Results" && b.progress.gauge >= 60)
                     b.progress.cancelled = true;
             };
         },
         {"Download not complete"},
         true,
         2},
        {"cancel in single results",
         "TQ72",
         [&](Bench& b) {
             results72(b);
             b.progress.cancelAtGauge = 60;
         },
         {"Download not complete"},
         true,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b(c.key);
        c.script(b);
        b.run();
        EXPECT_EQ(b.prompts.texts(), c.messages);
        EXPECT_EQ(b.target.loaded, c.loaded);
        int results = 0;
        for (StructureItem* item : b.target.doc.preorder()) results += item->type() == 23;
        EXPECT_EQ(results, c.results);
        EXPECT_LT(b.clock.now, 30.0);
        if (!c.loaded) {
            EXPECT_FALSE(b.port.isOpen());
        }
    }
}

}  // namespace
}  // namespace pelvoro
