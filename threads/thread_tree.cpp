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
    // An explicit stack of (node, depth), children pushed last-first, so that
    // chains thousands of levels deep need no deep recursion.
    std::vector<std::pair<NodeId, std::size_t>> pending;
    for (auto root = roots_.rbegin(); root != roots_.rend(); ++root) {
        pending.emplace_back(*root, 0);
    }
    while (!pending.empty()) {
        const auto [id, depth] = pending.back();
        pending.pop_back();
        const Node& node = nodes_[id];
        lines.push_back({depth, node.text, node.picture});
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
            pending.emplace_back(*child, depth + 1);
        }
    }
    return lines;
}

}  // namespace teluri
