// Redraw of a tree view off for the length of a scope, and its items laid
// out once afterwards: a change of a row's hidden state, even to the state it
// has, makes the view note that it lays its items out anew later, so that
// every expansion, collapse or insertion until then only records the item's
// state instead of laying out the rows below it at once.
#pragma once

#include <QTreeWidget>

namespace teluri {

class FrozenTree {
  public:
    explicit FrozenTree(QTreeWidget& tree) : tree_(tree) {
        tree_.setUpdatesEnabled(false);
        if (QTreeWidgetItem* first = tree_.topLevelItem(0)) {
            first->setHidden(first->isHidden());
        }
    }
    ~FrozenTree() { tree_.setUpdatesEnabled(true); }
    FrozenTree(const FrozenTree&) = delete;
    FrozenTree& operator=(const FrozenTree&) = delete;

  private:
    QTreeWidget& tree_;
};

}  // namespace teluri
