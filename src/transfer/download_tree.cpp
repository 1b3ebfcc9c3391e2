#include "transfer/download_tree.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace pelvoro {

void DownloadTree::addResult(const TreePosition& position) {
    const int index = int(results_.size());
    results_.push_back(position);
    if (nodeAt(position) < 0) {
        DownloadTreeEntry node;
        node.position = position;
        node.source = index;
        nodes_.push_back(node);
    }
}

int DownloadTree::nodeAt(const TreePosition& position) const {
    for (int i = 0; i < int(nodes_.size()); ++i)
        if (nodes_[i].position == position) return i;
    return -1;
}

int DownloadTree::addNode(const TreePosition& position) {
    DownloadTreeEntry node;
    node.position = position;
    nodes_.push_back(node);
    return int(nodes_.size()) - 1;
}

void DownloadTree::completeParents() {
    // New nodes are appended while walking; the walk covers them as well, which is
    // harmless (their parents are what it adds next).
    for (int i = 0; i < int(nodes_.size()); ++i) {
        const TreePosition p = nodes_[i].position;
        if (p.c == 0) continue;
        TreePosition parent{p.a, p.b, 0};
        if (nodeAt(parent) < 0) {
            int k = addNode(parent);
            nodes_[k].source = nodes_[i].source;
        }
    }
    for (int i = 0; i < int(nodes_.size()); ++i) {
        const TreePosition p = nodes_[i].position;
        if (p.c != 0 || p.b == 0) continue;
        TreePosition parent{p.a, 0, 0};
        if (nodeAt(parent) < 0) {
            int k = addNode(parent);
            nodes_[k].source = nodes_[i].source;
        }
    }
}

void DownloadTree::number() {
    const int n = int(nodes_.size());
    entries_ = nodes_;
    for (int i = 0; i < n; ++i) {
        DownloadTreeEntry& e = entries_[i];
        e.id = i;
        e.resultCount = 0;
        const TreePosition p = e.position;
        int parent = -1;
        if (p.c != 0) {
            parent = nodeAt({p.a, p.b, 0});
            // A node added by name alone may lack its level-2 parent: the object takes it.
            if (parent < 0 && p.b != 0) parent = nodeAt({p.a, 0, 0});
        } else if (p.b != 0) {
            parent = nodeAt({p.a, 0, 0});
        }
        if (parent == i) parent = -1;
        e.pid = parent >= 0 ? parent : -1;
    }
    // Siblings in order of their level numbers; equal numbers keep their list order.
    std::map<int, std::vector<int>> children;  // PID -> node indexes
    for (int i = 0; i < n; ++i) children[entries_[i].pid].push_back(i);
    std::map<int, int> lastChild;  // node ID -> ID of its last child node
    for (auto& [pid, kids] : children) {
        std::stable_sort(kids.begin(), kids.end(), [&](int x, int y) {
            const TreePosition& px = entries_[x].position;
            const TreePosition& py = entries_[y].position;
            if (px.a != py.a) return px.a < py.a;
            if (px.b != py.b) return px.b < py.b;
            return px.c < py.c;
        });
        int previous = -1;
        for (int k : kids) {
            entries_[k].bid = previous;
            previous = entries_[k].id;
        }
        lastChild[pid] = previous;
    }
    // Results under the node of their position, after its child nodes, in download order.
    // Their IDs lie above every node's, also in a memory of more than 5000 positions.
    const int firstResultId = std::max(kFirstResultId, n);
    std::map<int, int> lastResult;  // node index -> ID of its last result
    for (int r = 0; r < int(results_.size()); ++r) {
        int node = nodeAt(results_[r]);
        DownloadTreeEntry e;
        e.position = results_[r];
        e.isNode = false;
        e.source = r;
        e.id = firstResultId + r;
        if (node < 0) {
            e.pid = -1;
            e.bid = -1;
            entries_.push_back(e);
            continue;
        }
        DownloadTreeEntry& owner = entries_[node];
        e.pid = owner.id;
        if (auto it = lastResult.find(node); it != lastResult.end())
            e.bid = it->second;
        else if (auto c = lastChild.find(owner.id); c != lastChild.end())
            e.bid = c->second;
        else
            e.bid = -1;
        lastResult[node] = e.id;
        ++owner.resultCount;
        entries_.push_back(e);
    }
}

}  // namespace pelvoro
