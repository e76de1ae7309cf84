#include "threads/ui/thread_tree_view.h"

#include "threads/ui/thread_tree_model.h"

namespace teluri {

ThreadTreeView::ThreadTreeView(const std::array<QIcon, 3>& pictures, QWidget* parent)
    : QTreeView(parent), model_(new ThreadTreeModel(pictures, this)) {
    setModel(model_);
}

}  // namespace teluri
