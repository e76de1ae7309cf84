// "新しいスレッドを上に" in the View menu: a check item that shows the tree's
// top-level threads in reverse order, the newest first. Only the view
// changes: the nodes' order inside each thread, Tree.dat, the search and its
// logs stay as they are. Commands that walk the tree (the next unread page,
// the thread filter) walk it as it is shown. The choice is kept in
// Window.ini, section "Tree", key "NewestFirst", written when it changes.
#pragma once

#include <QObject>

#include <string_view>

class QAction;
class QMenu;
class QTreeWidget;

namespace teluri {

inline constexpr std::string_view kTreeSection = "Tree";

class ThreadOrder : public QObject {
  public:
    // Adds the check item to `viewMenu`; a tree filled anew is shown in the
    // chosen order as soon as its filling ends.
    ThreadOrder(QTreeWidget& tree, QMenu& viewMenu);

    bool NewestFirst() const { return wanted_; }

  private:
    void Choose(bool newestFirst);
    // Puts the threads in the chosen order.
    void Arrange();
    // Reverses the top-level nodes, keeping what the view shows of every
    // node: expanded, hidden, current and selected.
    void ReverseThreads();

    QTreeWidget& tree_;
    QAction* action_ = nullptr;
    bool wanted_ = false;
    // The tree's threads stand in reverse order.
    bool reversed_ = false;
    bool arranging_ = false;
};

}  // namespace teluri
