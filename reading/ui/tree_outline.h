// The thread tree view's nodes as a ThreadOutline, built when first asked
// for after the tree changed, with whether the data folder's file list holds
// each node's page.
#pragma once

#include <QObject>

#include <optional>

#include "reading/thread_outline.h"
#include "threads/archive.h"

class QModelIndex;

namespace teluri {

class ThreadTreeView;

class TreeOutline : public QObject {
  public:
    TreeOutline(ThreadTreeView& tree, const Archive& archive);

    const ThreadOutline& Outline();
    // The node's place in the outline; nothing for an invalid node.
    std::optional<std::size_t> PositionOf(const QModelIndex& node) const;

  private:
    ThreadTreeView& tree_;
    const Archive& archive_;
    ThreadOutline outline_;
    bool stale_ = true;
};

// The page number a node names as an integer; nothing when its first four
// bytes are no number.
std::optional<int> NodePageNumber(const QModelIndex& node);

}  // namespace teluri
