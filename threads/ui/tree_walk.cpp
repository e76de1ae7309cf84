#include "threads/ui/tree_walk.h"

#include <QScrollBar>
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

bool IsUnfolded(const QTreeView& tree, const QModelIndex& node) {
    for (QModelIndex parent = node.parent(); parent.isValid(); parent = parent.parent()) {
        if (!tree.isExpanded(parent)) {
            return false;
        }
    }
    return true;
}

namespace {

// The part of a node's text beside its picture that is to be in view.
constexpr int kTextInView = 80;

bool IsBelow(const QModelIndex& node, const QModelIndex& ancestor) {
    for (QModelIndex at = node.parent(); at.isValid(); at = at.parent()) {
        if (at == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

void ScrollNodeIntoView(QTreeView& tree, const QModelIndex& node) {
    if (!node.isValid() || !IsShown(tree, node) || !IsUnfolded(tree, node)) {
        return;
    }
    const int rowHeight = std::max(1, tree.visualRect(node).height());
    const int rowsInView = std::max(1, tree.viewport()->height() / rowHeight);
    // The last of the node's replies that fits below it, or else the row
    // after it.
    QModelIndex last = node;
    int rows = 1;
    for (QModelIndex below = tree.indexBelow(node); below.isValid() && rows < rowsInView;
         below = tree.indexBelow(below), ++rows) {
        if (!IsBelow(below, node)) {
            if (last == node) {
                last = below;
            }
            break;
        }
        last = below;
    }
    tree.scrollTo(last);
    tree.scrollTo(node);

    const QRect rect = tree.visualRect(node);
    QScrollBar& bar = *tree.horizontalScrollBar();
    // From the node's branch mark to the start of its text, in the
    // coordinates of the whole row.
    const int from = rect.left() + bar.value() - tree.indentation();
    const int to = rect.left() + bar.value() + tree.iconSize().width() + kTextInView;
    if (from < bar.value() || to > bar.value() + tree.viewport()->width()) {
        bar.setValue(std::max(0, from));
    }
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
