// The thread tree as the main window's tree view shows it: a model over a
// ThreadTree, which it owns. A node's index carries its node id, so that ids
// stay with their nodes whatever order the threads are shown in. A node's
// text is decoded when the view first asks for it (the view asks only for
// the rows it lays out), and only its first part (ShownText): a title of
// megabytes would hold the view for minutes. Under kBytesRole a node gives
// its text's cp932 bytes.
#pragma once

#include <QAbstractItemModel>
#include <QByteArray>
#include <QIcon>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "threads/thread_tree.h"

namespace teluri {

// The cp932 bytes of a node's text, and the four bytes of the page number
// at its front.
QByteArray NodeBytes(const QModelIndex& node);
std::string NodeNumber(const QModelIndex& node);

class ThreadTreeModel : public QAbstractItemModel {
  public:
    using NodeId = TreeSink::NodeId;

    // `pictures`: the icons of the node pictures (NodePicture); a node
    // without a picture shows none.
    ThreadTreeModel(const std::array<QIcon, 3>& pictures, QObject* parent);

    // Shows `tree` in place of the nodes before (a model reset).
    void Fill(ThreadTree tree);
    const ThreadTree& Tree() const { return *tree_; }
    // The tree shown, which stays as it is for its holders when the model
    // is filled anew: a thread may read it while the window goes on.
    std::shared_ptr<const ThreadTree> SharedTree() const { return tree_; }

    // Every node in pre-order as the view shows the tree (roots in their
    // rows' order), with its depth.
    std::vector<ThreadTree::PlacedNode> ShownOrder() const;

    QModelIndex IndexOf(NodeId node) const;
    // `index` must be valid.
    static NodeId NodeOf(const QModelIndex& index);

    // Newest first: the threads shown last-first, also those filled later.
    // What views keep of the nodes (expanded, hidden, current, selected)
    // stays with them.
    void SetThreadsReversed(bool reversed);

    // A marked node (a match of the thread filter) has a tinted background.
    void SetMarked(NodeId node, bool marked);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    // A node's row in the view, and the root shown at a row.
    int RowOf(NodeId node) const;
    NodeId RootAt(int row) const;

    std::shared_ptr<const ThreadTree> tree_;
    std::array<QIcon, 3> pictures_;
    bool reversed_ = false;
    std::vector<char> marked_;
    mutable std::vector<QString> shown_;  // decoded texts, per node
    mutable std::vector<char> decoded_;
};

}  // namespace teluri
