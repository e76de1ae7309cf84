#include "reading/ui/tree_walk.h"

#include <QTreeView>

namespace teluri {

QModelIndex NextInTreeOrder(const QAbstractItemModel& model, const QModelIndex& node) {
    if (!node.isValid()) {
        return model.index(0, 0);
    }
    if (model.rowCount(node) > 0) {
        return model.index(0, 0, node);
    }
    // Up until a node has a next sibling.
    for (QModelIndex at = node; at.isValid(); at = at.parent()) {
        const QModelIndex parent = at.parent();
        if (at.row() + 1 < model.rowCount(parent)) {
            return model.index(at.row() + 1, 0, parent);
        }
    }
    return {};
}

QModelIndex FindInTreeOrder(const QAbstractItemModel& model, const QModelIndex& after,
                            const std::function<bool(const QModelIndex&)>& matches) {
    for (QModelIndex at = NextInTreeOrder(model, after); at.isValid();
         at = NextInTreeOrder(model, at)) {
        if (matches(at)) {
            return at;
        }
    }
    if (!after.isValid()) {
        return {};
    }
    // From the top, up to and including the node the search started after.
    for (QModelIndex at = NextInTreeOrder(model, {}); at.isValid();
         at = NextInTreeOrder(model, at)) {
        if (matches(at)) {
            return at;
        }
        if (at == after) {
            break;
        }
    }
    return {};
}

bool IsShown(const QTreeView& tree, const QModelIndex& node) {
    for (QModelIndex at = node; at.isValid(); at = at.parent()) {
        if (tree.isRowHidden(at.row(), at.parent())) {
            return false;
        }
    }
    return true;
}

void SelectNode(QTreeView& tree, const QModelIndex& node) {
    for (QModelIndex parent = node.parent(); parent.isValid(); parent = parent.parent()) {
        tree.expand(parent);
        if (!tree.isExpanded(parent)) {
            // Taken back: a branch too deep for the view. The node is made
            // current where it stands, folded away; scrolling to it would
            // open, and have taken back, every level above it, one by one.
            const bool autoScroll = tree.hasAutoScroll();
            tree.setAutoScroll(false);
            tree.setCurrentIndex(node);
            tree.setAutoScroll(autoScroll);
            return;
        }
    }
    tree.setCurrentIndex(node);
    tree.scrollTo(node);
}

}  // namespace teluri
