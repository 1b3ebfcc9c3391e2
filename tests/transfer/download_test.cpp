// The pieces of the binary and single-letter downloads: the structure built from result
// positions, the machine tester's record texts and the graph text of high-voltage
// records.

#include <gtest/gtest.h>

#include "transfer/download_tree.h"
#include "transfer/family_b.h"
#include "transfer/family_c.h"

namespace pelvoro {
namespace {

struct Row {
    int a, b, c;
    bool node;
    int id, pid, bid;
};

std::vector<Row> rowsOf(const DownloadTree& tree) {
    std::vector<Row> rows;
    for (const DownloadTreeEntry& e : tree.entries())
        rows.push_back({e.position.a, e.position.b, e.position.c, e.isNode, e.id, e.pid, e.bid});
    return rows;
}

bool operator==(const Row& x, const Row& y) {
    return x.a == y.a && x.b == y.b && x.c == y.c && x.node == y.node && x.id == y.id &&
           x.pid == y.pid && x.bid == y.bid;
}
std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << "(" << r.a << "," << r.b << "," << r.c << (r.node ? " node" : " result") << " id "
              << r.id << " pid " << r.pid << " bid " << r.bid << ")";
}

TEST(DownloadTree, NodesParentsSiblingOrderAndResultsInTheTestersOrder) {
    DownloadTree tree;
    // Results at (2,1,3), (1,0,0), (2,1,3), (2,1,0), (2,1,1): a result at level 1 and
    // one at level 2, nodes whose parents exist only through their children, siblings out
    // of order.
    for (TreePosition p : {TreePosition{2, 1, 3}, TreePosition{1, 0, 0}, TreePosition{2, 1, 3},
                           TreePosition{2, 1, 0}, TreePosition{2, 1, 1}})
        tree.addResult(p);
    tree.completeParents();
    tree.number();
    const std::vector<Row> expected = {
        // nodes in list order: (2,1,3), (1,0,0), (2,1,0), (2,1,1), then the added (2,0,0)
        {2, 1, 3, true, 0, 2, 3},  // after its sibling (2,1,1)
        {1, 0, 0, true, 1, -1, -1},
        {2, 1, 0, true, 2, 4, -1},
        {2, 1, 1, true, 3, 2, -1},
        {2, 0, 0, true, 4, -1, 1},
        // results: IDs 5000 + index, under their own node, after its child nodes, in order
        {2, 1, 3, false, 5000, 0, -1},
        {1, 0, 0, false, 5001, 1, -1},
        {2, 1, 3, false, 5002, 0, 5000},
        {2, 1, 0, false, 5003, 2, 0},  // after (2,1,3), the last child node of (2,1,0)
        {2, 1, 1, false, 5004, 3, -1},
    };
    EXPECT_EQ(rowsOf(tree), expected);
    EXPECT_EQ(tree.entries()[2].resultCount, 1);
    EXPECT_EQ(tree.entries()[0].resultCount, 2);
    // A node added as a parent comes from the node that needed it: (2,0,0) from (2,1,0),
    // which came from result 3.
    EXPECT_EQ(tree.entries()[4].source, 3);
}

TEST(DownloadTree, NamedNodesJoinBeforeNumbering) {
    DownloadTree tree;
    tree.addResult({1, 2, 0});
    tree.completeParents();
    int named = tree.addNode({1, 1, 0});
    tree.node(named).name = "Board A";
    tree.node(named).type = 31;
    EXPECT_EQ(tree.nodeAt({1, 1, 0}), named);
    EXPECT_EQ(tree.nodeAt({3, 0, 0}), -1);
    tree.number();
    // (1,1,0) sorts before (1,2,0) although it was added later.
    EXPECT_EQ(tree.entries()[named].bid, -1);
    EXPECT_EQ(tree.entries()[0].bid, named);
    EXPECT_EQ(tree.entries()[named].name, "Board A");
}

TEST(CV61Record, ValueTexts) {
    struct Case {
        unsigned char v0, v1, v2;
        const char* text;
    };
    for (const Case& c : {
             Case{0x13, 0x01, 0x23, "0.123kV"},     // point code 3, kV
             Case{0xBA, 0x19, 0x99, ">19.99MOhm"},  // greater-than, MOhm, point code 2
             Case{0x00, 0xFF, 0xFF, ""},            // no value
             Case{0x3A, 0xAA, 0xAA, "*****MOhm"},   // over range
             Case{0x08, 0xBB, 0xBB, "____V"},       // not measured
             Case{0x24, 0x12, 0x34, ".1234mA"},     // point code 4: before the first digit
             Case{0x20, 0x12, 0x34, "1234mA"},      // point code 0: none
             Case{0x25, 0x12, 0x34, "1234mA"},      // point code 5: none
             Case{0x2A, 0x1F, 0x34, "1Ohm"},        // a digit above 9 ends the digits
             Case{0x43, 0x04, 0x20, "0.420s"},      // unit 8
             Case{0x78, 0x00, 0x05, "0005"},        // unit code 15: none
         }) {
        EXPECT_EQ(cv61Value(c.v0, c.v1, c.v2), c.text) << c.text;
    }
}

std::string record(int function, int bits, int setting, std::string values = "") {
    std::string r = {1,    2,    0,    7,   char(function), char(bits), char(setting), 0x09,
                     0x45, 0x31, 0x12, 0x26};
    if (values.empty()) values = std::string("\x13\x01\x23\x22\x01\x50\x00\xFF\xFF", 9);
    return r + values;
}

TEST(CV61Record, FpStringsOfTheFiveFunctionsWithTheirSettings) {
    struct Case {
        int function, bits, setting;
        const char* fp;
        const char* nameKey;
    };
    const std::string v = std::string("\x13\x01\x23\x22\x01\x50\x00\xFF\xFF", 9);
    for (const Case& c : {
             Case{1, 0, 0, "F;301;0.123kV;01.50mA;;1mA;1000V; (R);", "HV_16"},
             Case{1, 6, 17, "F;301;0.123kV;01.50mA;;333mA;1500V; (C);", "HV_16"},
             Case{1, 9, 12, "F;301;0.123kV;01.50mA;;100mA;1250V;;", "HV_16"},
             Case{1, 3, 5, "F;301;0.123kV;01.50mA;;30mA;; (R);", "HV_16"},
             Case{2, 0, 2, "F;302;0.123kV;01.50mA;;3.3V, 1.0mm2;;;", "dU_16"},
             Case{2, 0, 7, "F;302;0.123kV;01.50mA;;;;;", "dU_16"},
             Case{3, 0, 105, "F;303;0.123kV;01.50mA;;1500mOhm;;;", "R-10A_16"},
             Case{3, 0, 110, "F;303;0.123kV;01.50mA;;2000mOhm;;;", "R-10A_16"},
             Case{3, 0, 0, "F;303;0.123kV;01.50mA;;*mOhm;;;", "R-10A_16"},
             Case{4, 1, 3, "F;304;0.123kV;01.50mA;;0.4MOhm;1000V;;", "MOhm_16"},
             Case{4, 0, 12, "F;304;0.123kV;01.50mA;;4MOhm;500V;;", "MOhm_16"},
             Case{4, 0, 20, "F;304;0.123kV;01.50mA;;30MOhm;500V;;", "MOhm_16"},
             Case{5, 1, 0, "F;305;0.123kV;;;;4P;;", "dT_16"},  // values 2 and 3 empty
             Case{6, 0, 0, "F;0.123kV;01.50mA;;;;;", ""},
         }) {
        CV61Texts t = decodeCV61Record(record(c.function, c.bits, c.setting, v), "2P", "4P");
        EXPECT_EQ(cv61FpString(t), c.fp);
        EXPECT_STREQ(cv61NameKey(c.function), c.nameKey);
        EXPECT_EQ(t.date, "31.12.26");
        EXPECT_EQ(t.time, "09:45");
        EXPECT_EQ(t.machine, 2);
    }
}

TEST(FamilyBRecord, PositionAndGraphSplit) {
    EXPECT_EQ(familyBPosition(std::string("\x01\x02\x00\x03\xFF\xFF", 6)),
              (TreePosition{258, 3, 65535}));
    // Marker 00 "G" after the header, two more bytes, then the counted text with its LF CR
    // line ends; "*#" ends the graph.
    std::string hv =
        std::string("\0\0\0\0\x02R\0\0Pass\0G\0\0", 16) + "2;1;\n\r1.2E9;0;\n\r\n\n\r*#EOF;";
    GraphSplit s = splitGraph(hv);
    EXPECT_EQ(s.record, std::string("\0\0\0\0\x02R\0\0Pass", 12));
    EXPECT_EQ(s.graph,
              "2;1;\x14"
              "1.2E9;0;\x14\n\x14");
    // No marker: the record stays whole.
    std::string plain = std::string("\0\0\0\0\x02R\0\0Pass\0", 13);
    EXPECT_EQ(splitGraph(plain).record, plain);
    EXPECT_EQ(splitGraph(plain).graph, "");
    // A marker inside the header does not count.
    std::string early = std::string("\0G\0\0\x02R", 6);
    EXPECT_EQ(splitGraph(early).graph, "");
}

}  // namespace
}  // namespace pelvoro
