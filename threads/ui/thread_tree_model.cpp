#include "threads/ui/thread_tree_model.h"

#include <QColor>

#include <string_view>
#include <utility>

#include "base/paths.h"
#include "base/ui/bytes_role.h"
#include "base/ui/qtext.h"

namespace teluri {
namespace {

const QColor kMarkColor(255, 236, 120);

}  // namespace

QByteArray NodeBytes(const QModelIndex& node) {
    return node.data(kBytesRole).toByteArray();
}

std::string NodeNumber(const QModelIndex& node) {
    const QByteArray bytes = NodeBytes(node);
    return PageNumberOf(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

ThreadTreeModel::ThreadTreeModel(const std::array<QIcon, 3>& pictures, QObject* parent)
    : QAbstractItemModel(parent),
      tree_(std::make_shared<const ThreadTree>()),
      pictures_(pictures) {}

void ThreadTreeModel::Fill(ThreadTree tree) {
    beginResetModel();
    tree_ = std::make_shared<const ThreadTree>(std::move(tree));
    marked_.assign(tree_->Count(), 0);
    shown_.assign(tree_->Count(), QString());
    decoded_.assign(tree_->Count(), 0);
    endResetModel();
}

std::vector<ThreadTree::PlacedNode> ThreadTreeModel::ShownOrder() const {
    if (!reversed_) {
        return tree_->PreOrderFrom(tree_->Roots());
    }
    return tree_->PreOrderFrom({tree_->Roots().rbegin(), tree_->Roots().rend()});
}

QModelIndex ThreadTreeModel::IndexOf(NodeId node) const {
    return createIndex(RowOf(node), 0, static_cast<quintptr>(node));
}

ThreadTreeModel::NodeId ThreadTreeModel::NodeOf(const QModelIndex& index) {
    return static_cast<NodeId>(index.internalId());
}

int ThreadTreeModel::RowOf(NodeId node) const {
    const auto row = static_cast<int>(tree_->Row(node));
    if (reversed_ && tree_->Parent(node) == ThreadTree::kNoParent) {
        return static_cast<int>(tree_->Roots().size()) - 1 - row;
    }
    return row;
}

ThreadTreeModel::NodeId ThreadTreeModel::RootAt(int row) const {
    const std::vector<NodeId>& roots = tree_->Roots();
    return roots[static_cast<std::size_t>(reversed_ ? static_cast<int>(roots.size()) - 1 - row
                                                    : row)];
}

void ThreadTreeModel::SetThreadsReversed(bool reversed) {
    if (reversed == reversed_) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Only the roots' rows change: a child's index is its own row and id.
    QModelIndexList before;
    QModelIndexList after;
    for (const QModelIndex& index : persistentIndexList()) {
        if (!index.parent().isValid()) {
            before.append(index);
        }
    }
    reversed_ = reversed;
    for (const QModelIndex& index : std::as_const(before)) {
        after.append(IndexOf(NodeOf(index)));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ThreadTreeModel::SetMarked(NodeId node, bool marked) {
    if ((marked_[node] != 0) == marked) {
        return;
    }
    marked_[node] = marked ? 1 : 0;
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index, {Qt::BackgroundRole});
}

QModelIndex ThreadTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent)) {
        return {};
    }
    const NodeId node = parent.isValid()
                            ? tree_->Children(NodeOf(parent))[static_cast<std::size_t>(row)]
                            : RootAt(row);
    return createIndex(row, 0, static_cast<quintptr>(node));
}

QModelIndex ThreadTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    const NodeId parent = tree_->Parent(NodeOf(child));
    return parent == ThreadTree::kNoParent ? QModelIndex() : IndexOf(parent);
}

int ThreadTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(tree_->Roots().size());
    }
    return parent.column() == 0 ? static_cast<int>(tree_->Children(NodeOf(parent)).size()) : 0;
}

int ThreadTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant ThreadTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const NodeId node = NodeOf(index);
    switch (role) {
        case Qt::DisplayRole:
            if (!decoded_[node]) {
                shown_[node] = ShownText(tree_->Text(node));
                decoded_[node] = 1;
            }
            return shown_[node];
        case kBytesRole: {
            const std::string& text = tree_->Text(node);
            return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
        }
        case Qt::DecorationRole: {
            const int picture = tree_->Picture(node);
            if (picture >= 0 && picture < static_cast<int>(pictures_.size()) &&
                !pictures_[static_cast<std::size_t>(picture)].isNull()) {
                return pictures_[static_cast<std::size_t>(picture)];
            }
            return {};
        }
        case Qt::BackgroundRole:
            return marked_[node] ? QVariant(kMarkColor) : QVariant();
        default:
            return {};
    }
}

Qt::ItemFlags ThreadTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace teluri
