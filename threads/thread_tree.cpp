#include "threads/thread_tree.h"

#include "threads/page_file_list.h"

namespace teluri {

std::vector<std::string> TreeSink::ListFolder(const std::string& folder) {
    return ListFiles(folder);
}

TreeSink::NodeId ThreadTree::AppendRoot(const std::string& text) {
    nodes_.push_back({text, kNoParent, roots_.size(), -1, {}});
    roots_.push_back(nodes_.size() - 1);
    return nodes_.size() - 1;
}

TreeSink::NodeId ThreadTree::AppendChild(NodeId parent, const std::string& text) {
    nodes_.push_back({text, parent, nodes_[parent].children.size(), -1, {}});
    nodes_[parent].children.push_back(nodes_.size() - 1);
    return nodes_.size() - 1;
}

void ThreadTree::SetPicture(NodeId node, int picture) {
    nodes_[node].picture = picture;
}

std::vector<TreeLine> ThreadTree::PreOrder() const {
    std::vector<TreeLine> lines;
    lines.reserve(nodes_.size());
    for (const auto& [id, depth] : PreOrderFrom(roots_)) {
        lines.push_back({depth, nodes_[id].text, nodes_[id].picture});
    }
    return lines;
}

std::vector<ThreadTree::PlacedNode> ThreadTree::PreOrderFrom(
    const std::vector<NodeId>& roots) const {
    std::vector<PlacedNode> nodes;
    nodes.reserve(nodes_.size());
    // An explicit stack, children pushed last-first, so that chains
    // thousands of levels deep need no deep recursion.
    std::vector<PlacedNode> pending;
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) {
        pending.push_back({*root, 0});
    }
    while (!pending.empty()) {
        const PlacedNode node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        const std::vector<NodeId>& children = nodes_[node.id].children;
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.push_back({*child, node.depth + 1});
        }
    }
    return nodes;
}

}  // namespace teluri
