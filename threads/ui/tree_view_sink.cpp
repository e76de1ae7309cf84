#include "threads/ui/tree_view_sink.h"

#include <QTreeWidget>

#include "base/paths.h"
#include "base/ui/byte_text_item.h"

namespace teluri {

// A node of the tree view: its text's bytes and its picture. The picture is
// kept in the item itself rather than among the item's data, which costs a
// stored value per node for a picture that three icons share.
class NodeItem : public ByteTextItem {
  public:
    using ByteTextItem::ByteTextItem;

    void SetPicture(const QIcon& picture) { picture_ = picture; }

    QVariant data(int column, int role) const override {
        if (column == 0 && role == Qt::DecorationRole && !picture_.isNull()) {
            return picture_;
        }
        return ByteTextItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override {
        if (column == 0 && role == Qt::DecorationRole) {
            picture_ = QIcon();
        }
        ByteTextItem::setData(column, role, value);
    }

  private:
    QIcon picture_;
};

QByteArray NodeBytes(const QTreeWidgetItem& item) {
    return item.data(0, kBytesRole).toByteArray();
}

QByteArray NodeBytes(const QModelIndex& node) {
    return node.data(kBytesRole).toByteArray();
}

namespace {

// The page number at the front of a node's bytes, without copying the rest
// (a title may be long).
std::string NumberOfBytes(const QByteArray& bytes) {
    return PageNumberOf(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

std::string NodeNumber(const QTreeWidgetItem& item) {
    return NumberOfBytes(NodeBytes(item));
}

std::string NodeNumber(const QModelIndex& node) {
    return NumberOfBytes(NodeBytes(node));
}

TreeViewSink::TreeViewSink(QTreeWidget& tree, const std::array<QIcon, 3>& pictures)
    : tree_(tree), pictures_(pictures) {}

TreeViewSink::~TreeViewSink() {
    Finish();
}

TreeSink::NodeId TreeViewSink::Add(NodeItem* item) {
    items_.push_back(item);
    return items_.size() - 1;
}

TreeSink::NodeId TreeViewSink::AppendRoot(const std::string& text) {
    auto* item = new NodeItem(text);
    pendingRoots_.append(item);
    return Add(item);
}

TreeSink::NodeId TreeViewSink::AppendChild(NodeId parent, const std::string& text) {
    auto* item = new NodeItem(text);
    items_[parent]->addChild(item);
    return Add(item);
}

void TreeViewSink::SetPicture(NodeId node, int picture) {
    if (picture >= 0 && picture < static_cast<int>(pictures_.size())) {
        items_[node]->SetPicture(pictures_[static_cast<std::size_t>(picture)]);
    }
}

void TreeViewSink::Finish() {
    if (!pendingRoots_.isEmpty()) {
        tree_.addTopLevelItems(pendingRoots_);
        pendingRoots_.clear();
    }
}

}  // namespace teluri
