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

namespace teluri {

class ThreadTreeView;

inline constexpr std::string_view kTreeSection = "Tree";

class ThreadOrder : public QObject {
  public:
    // Adds the check item to `viewMenu`; a tree filled anew is shown in the
    // chosen order.
    ThreadOrder(ThreadTreeView& tree, QMenu& viewMenu);

    bool NewestFirst() const { return wanted_; }

  private:
    void Choose(bool newestFirst);

    ThreadTreeView& tree_;
    QAction* action_ = nullptr;
    bool wanted_ = false;
};

}  // namespace teluri
