// Puts the nodes of a thread tree into the main window's tree view. Each
// item keeps its node text's cp932 bytes (for the page it names and for
// saving the tree); the view shows their first part (ShownText), decoded
// when first shown. Top-level items are added to the view in one batch when the sink
// finishes.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QList>

#include <array>
#include <string>
#include <vector>

#include "threads/thread_tree.h"

class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;

namespace teluri {

// The cp932 bytes of an item's node text, also from the view's model.
QByteArray NodeBytes(const QTreeWidgetItem& item);
QByteArray NodeBytes(const QModelIndex& node);
// The four bytes of the page number a node's text names.
std::string NodeNumber(const QTreeWidgetItem& item);
std::string NodeNumber(const QModelIndex& node);

class NodeItem;

class TreeViewSink : public TreeSink {
  public:
    // `pictures`: the three node pictures, or empty icons to show none.
    TreeViewSink(QTreeWidget& tree, const std::array<QIcon, 3>& pictures);
    ~TreeViewSink() override;

    NodeId AppendRoot(const std::string& text) override;
    NodeId AppendChild(NodeId parent, const std::string& text) override;
    void SetPicture(NodeId node, int picture) override;

    // Adds the top-level items built so far to the view.
    void Finish();

  private:
    NodeId Add(NodeItem* item);

    QTreeWidget& tree_;
    std::array<QIcon, 3> pictures_;
    std::vector<NodeItem*> items_;
    QList<QTreeWidgetItem*> pendingRoots_;
};

}  // namespace teluri
