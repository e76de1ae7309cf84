// Redraw of a tree view off for the length of a scope, and its rows laid
// out once afterwards: a change of a row's hidden state, even to the state it
// has, makes the view note that it lays its rows out anew later, so that
// every expansion, collapse or insertion until then only records the node's
// state instead of laying out the rows below it at once.
#pragma once

#include <QTreeView>

namespace teluri {

class FrozenTree {
  public:
    explicit FrozenTree(QTreeView& tree) : tree_(tree) {
        tree_.setUpdatesEnabled(false);
        if (tree_.model() != nullptr && tree_.model()->rowCount() > 0) {
            tree_.setRowHidden(0, {}, tree_.isRowHidden(0, {}));
        }
    }
    ~FrozenTree() { tree_.setUpdatesEnabled(true); }
    FrozenTree(const FrozenTree&) = delete;
    FrozenTree& operator=(const FrozenTree&) = delete;

  private:
    QTreeView& tree_;
};

}  // namespace teluri
