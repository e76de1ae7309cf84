// The main window's thread tree: a tree view over a ThreadTreeModel of its
// own.
#pragma once

#include <QTreeView>

#include <array>

class QIcon;

namespace teluri {

class ThreadTreeModel;

class ThreadTreeView : public QTreeView {
  public:
    // `pictures`: the icons of the node pictures (NodePicture).
    ThreadTreeView(const std::array<QIcon, 3>& pictures, QWidget* parent);

    ThreadTreeModel& Model() const { return *model_; }

  private:
    ThreadTreeModel* model_;
};

}  // namespace teluri
