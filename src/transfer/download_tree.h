#pragma once
// The three-level structure that downloads of result-only testers derive from the
// position (a, b, c) of every result: a node per position, and its level-2 and level-1
// parents; nodes numbered in list order, siblings ordered by their level numbers, and
// every result hung under the node of its position.
//
// Used by the family A results download and the family B and C downloads:
//
//   DownloadTree tree;
//   for (auto& r : results) tree.addResult({r.a, r.b, r.c});   // in the tester's order
//   tree.completeParents();
//   ... (named structure: tree.nodeAt(pos) / tree.addNode(pos) and their name and type)
//   tree.number();
//   for (const DownloadTreeEntry& e : tree.entries()) ... write the item blocks
//
// Results keep the tester's order under their node: the first result's BID is the ID of
// the node's last child node (-1 when it has none), every further result's BID the ID
// of the result before it. (Result IDs are 5000 + the result's index, node IDs their
// index in the list; with more than 5000 nodes the results start above the last node, so
// the two never meet.)

#include <string>
#include <vector>

namespace pelvoro {

struct TreePosition {
    int a = 0, b = 0, c = 0;
    bool operator==(const TreePosition&) const = default;
};

struct DownloadTreeEntry {
    TreePosition position;
    bool isNode = true;
    int id = 0;
    int pid = -1;
    int bid = -1;
    int resultCount = 0;  // results hung under this node
    // Results: the index of the result in download order. Nodes: the index of the result
    // whose position caused the node (its position line is copied from there), or -1
    // for nodes added otherwise.
    int source = -1;
    // Nodes: a name and an item type from a named structure (type -1 when none).
    std::string name;
    int type = -1;
};

class DownloadTree {
  public:
    static constexpr int kFirstResultId = 5000;

    // A result at `position`, in download order. Adds its node when missing.
    void addResult(const TreePosition& position);
    // Adds (a, b, 0) for every node with c != 0, then (a, 0, 0) for every node with
    // c == 0, each when missing; new nodes take the source of the node that caused them.
    void completeParents();
    // The first node at `position`, or -1.
    int nodeAt(const TreePosition& position) const;
    // Adds a node at `position` (source -1) and returns its index.
    int addNode(const TreePosition& position);
    DownloadTreeEntry& node(int index) { return nodes_.at(index); }
    int nodeCount() const { return int(nodes_.size()); }

    // Numbers the nodes (ID = index; PID of (a, 0, 0) is -1, of (a, b, 0) the ID of
    // (a, 0, 0), of (a, b, c) the ID of (a, b, 0)), orders siblings by a, then b, then c
    // (equal numbers keep their order) for the BIDs, and appends the result entries.
    void number();
    // Nodes first (list order), then results (download order). Valid after number().
    const std::vector<DownloadTreeEntry>& entries() const { return entries_; }

  private:
    std::vector<DownloadTreeEntry> nodes_;
    std::vector<TreePosition> results_;
    std::vector<DownloadTreeEntry> entries_;
};

}  // namespace pelvoro
