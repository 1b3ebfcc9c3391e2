// The structure built from result positions.

#include <gtest/gtest.h>

#include "transfer/download_tree.h"

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

}  // namespace
}  // namespace pelvoro
