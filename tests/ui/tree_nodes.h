// The thread tree's nodes as window tests name them: by row, by the page
// number at the front of their text, and the view's state of each.
#pragma once

#include <QAbstractItemModel>
#include <QTreeView>

namespace teluri::test {

inline int ThreadCount(const QTreeView& tree) {
    return tree.model()->rowCount();
}

// The top-level node shown at `row`.
inline QModelIndex Thread(const QTreeView& tree, int row) {
    return tree.model()->index(row, 0);
}

inline QModelIndex Child(const QModelIndex& node, int row) {
    return node.model()->index(row, 0, node);
}

inline QString TextOf(const QModelIndex& node) {
    return node.data().toString();
}

inline bool IsHidden(const QTreeView& tree, const QModelIndex& node) {
    return tree.isRowHidden(node.row(), node.parent());
}

// The first node in tree order whose text starts with `start`, or an
// invalid index.
inline QModelIndex FindNode(const QTreeView& tree, const QString& start) {
    const QModelIndexList found =
        tree.model()->match(tree.model()->index(0, 0), Qt::DisplayRole, start, 1,
                            Qt::MatchStartsWith | Qt::MatchRecursive | Qt::MatchWrap);
    return found.isEmpty() ? QModelIndex() : found.front();
}

// The first four characters of the current node's text: its page number.
inline QString CurrentNumber(const QTreeView& tree) {
    return TextOf(tree.currentIndex()).left(4);
}

}  // namespace teluri::test
