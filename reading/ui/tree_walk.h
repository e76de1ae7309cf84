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

// Makes `node` the current node with its ancestors expanded and scrolls it
// into view. An ancestor that stays folded when expanded (a branch too deep
// for the view) leaves the node current but folded away, unscrolled.
void SelectNode(QTreeView& tree, const QModelIndex& node);

}  // namespace teluri
