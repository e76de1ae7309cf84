// Keeps the thread tree's expanded branches within a depth that the tree
// view can lay out. The view lays out expanded branches recursively, one
// call level per tree level, so a branch expanded tens of thousands of
// levels deep overflows the stack on its next full layout. The guard takes
// over the "*" key (expand everything below the current node), expanding
// without recursion down to kMaxExpandedDepth, and takes back any expansion
// deeper than that; either way a message says that deeper nodes stay folded.
#pragma once

#include <QObject>

class QModelIndex;
class QTreeView;

namespace teluri {

// Nodes at this depth (roots are at depth 0) or deeper stay collapsed. It is
// above the deepest chain a real archive can hold (9,000 pages) and well
// within what the view's layout survives.
inline constexpr int kMaxExpandedDepth = 10000;

class TreeDepthGuard : public QObject {
  public:
    explicit TreeDepthGuard(QTreeView& tree);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ExpandAllBelow(const QModelIndex& node);
    void NodeExpanded(const QModelIndex& node);
    void TellTooDeep();

    QTreeView& tree_;
    // Set from a message about a taken-back expansion until the event loop
    // runs again: selecting a node 30,000 levels deep expands each of its
    // ancestors in one go, and 20,000 messages in a row would hold the
    // window as long as a hang.
    bool toldThisTurn_ = false;
};

}  // namespace teluri
