// Receivers of a thread tree, and the in-memory tree that the command line
// and the tests use. The tree view of the main window is another receiver.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace teluri {

// Picture indexes of tree nodes.
enum NodePicture : int {
    kPictureDelphi = 0,       // a page of the Delphi family
    kPictureBuilder = 1,      // a page of the C++Builder family
    kPictureMissingPage = 2,  // no ".msg" file of the page's own number
};

// Receives the nodes of a tree in pre-order. Node ids are handed out by the
// receiver and only given back to it. The analysis run also reports its
// course: BeginRun before anything else, Progress before each file is read,
// EndRun when the run ends, also when it fails.
class TreeSink {
  public:
    using NodeId = std::size_t;

    virtual ~TreeSink() = default;
    virtual NodeId AppendRoot(const std::string& text) = 0;
    virtual NodeId AppendChild(NodeId parent, const std::string& text) = 0;
    virtual void SetPicture(NodeId node, int picture) = 0;

    virtual void BeginRun() {}
    // The names of the folder's page files, in the order the run reads
    // them. A window overrides it to keep the list it shows.
    virtual std::vector<std::string> ListFolder(const std::string& folder);
    // File `index` of `count` is about to be read.
    virtual void Progress(int /*index*/, int /*count*/) {}
    virtual void EndRun() noexcept {}
};

// One node in pre-order: its depth (roots 0), text and picture (-1: none).
struct TreeLine {
    std::size_t depth = 0;
    std::string text;
    int picture = -1;
};

// A thread tree kept in memory: the command line's tree, and the one the
// main window's tree view shows.
class ThreadTree : public TreeSink {
  public:
    // The parent of a top-level node.
    static constexpr NodeId kNoParent = static_cast<NodeId>(-1);

    NodeId AppendRoot(const std::string& text) override;
    NodeId AppendChild(NodeId parent, const std::string& text) override;
    void SetPicture(NodeId node, int picture) override;

    // The nodes in depth-first pre-order.
    std::vector<TreeLine> PreOrder() const;

    // A node and its depth (roots 0).
    struct PlacedNode {
        NodeId id;
        std::size_t depth;
    };
    // The nodes in depth-first pre-order with the roots taken in the order
    // given (all of them, in any order).
    std::vector<PlacedNode> PreOrderFrom(const std::vector<NodeId>& roots) const;

    // Node ids run from 0 to Count() - 1, in the order the nodes came.
    std::size_t Count() const { return nodes_.size(); }
    const std::vector<NodeId>& Roots() const { return roots_; }
    const std::vector<NodeId>& Children(NodeId node) const { return nodes_[node].children; }
    NodeId Parent(NodeId node) const { return nodes_[node].parent; }
    // The node's place among its parent's children, or among the roots.
    std::size_t Row(NodeId node) const { return nodes_[node].row; }
    const std::string& Text(NodeId node) const { return nodes_[node].text; }
    int Picture(NodeId node) const { return nodes_[node].picture; }

  private:
    struct Node {
        std::string text;
        NodeId parent = kNoParent;
        std::size_t row = 0;
        int picture = -1;
        std::vector<NodeId> children;
    };
    std::vector<Node> nodes_;
    std::vector<NodeId> roots_;
};

}  // namespace teluri
