// The thread tree's nodes in tree order (each node before its replies, as
// listed from top to bottom with every node expanded), and selecting a node
// as a click on it does.
#pragma once

#include <QModelIndex>

#include <functional>

class QTreeView;

namespace teluri {

// The node after `node` in tree order, collapsed ones included; invalid
// after the last. An invalid `node` gives the first node.
QModelIndex NextInTreeOrder(const QAbstractItemModel& model, const QModelIndex& node);

// The first node in tree order for which `matches` holds, searching from
// the node after `after` to the end and then from the top up to `after`
// (the whole tree when `after` is invalid); invalid when none does.
QModelIndex FindInTreeOrder(const QAbstractItemModel& model, const QModelIndex& after,
                            const std::function<bool(const QModelIndex&)>& matches);

// Whether `node` is in the view: neither it nor any node above it is a
// hidden row (the thread filter hides whole threads).
bool IsShown(const QTreeView& tree, const QModelIndex& node);

// Whether every node above `node` is expanded.
bool IsUnfolded(const QTreeView& tree, const QModelIndex& node);

// Scrolls the view so that the node's picture and the start of its text are
// in view, sideways too (deep in a thread the indentation alone may be
// wider than the view), and so that the node is not on the last row in view
// when rows follow it: its replies come into view, as many as fit below it.
// A node folded away is left alone.
void ScrollNodeIntoView(QTreeView& tree, const QModelIndex& node);

// Makes `node` the current node with its ancestors expanded and scrolls it
// into view. An ancestor that stays folded when expanded (a branch too deep
// for the view) leaves the node current but folded away, unscrolled.
void SelectNode(QTreeView& tree, const QModelIndex& node);

}  // namespace teluri
