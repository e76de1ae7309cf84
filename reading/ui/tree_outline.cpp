#include "reading/ui/tree_outline.h"

#include <algorithm>

#include "base/paths.h"
#include "reading/link_target.h"
#include "reading/number_set.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/thread_tree_view.h"

namespace teluri {
namespace {

// The numbers of the ".msg" files of the list.
NumberSet PageNumbersOf(const PageFileList& files) {
    NumberSet numbers;
    for (const std::string& name : files.Names()) {
        if (const std::optional<std::string> number = PageNumberOfPath(name)) {
            if (const std::optional<int> value = PageNumberValue(*number)) {
                numbers.Insert(*value);
            }
        }
    }
    return numbers;
}

}  // namespace

std::optional<int> NodePageNumber(const QModelIndex& node) {
    return PageNumberValue(NodeNumber(node));
}

TreeOutline::TreeOutline(ThreadTreeView& tree, const Archive& archive)
    : QObject(&tree), tree_(tree), archive_(archive) {
    QAbstractItemModel& model = tree_.Model();
    const auto stale = [this] { stale_ = true; };
    connect(&model, &QAbstractItemModel::rowsInserted, this, stale);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(&model, &QAbstractItemModel::rowsMoved, this, stale);
    connect(&model, &QAbstractItemModel::modelReset, this, stale);
    connect(&model, &QAbstractItemModel::layoutChanged, this, stale);
    connect(&model, &QAbstractItemModel::dataChanged, this, stale);
}

const ThreadOutline& TreeOutline::Outline() {
    if (!stale_) {
        return outline_;
    }
    const NumberSet pages = PageNumbersOf(archive_.files);
    // A list of another folder says nothing about this one's files.
    const bool listed = IncludeTrailingDelimiter(archive_.files.Folder()) == archive_.dataFolder;
    const ThreadTreeModel& model = tree_.Model();
    std::vector<OutlineNode> nodes;
    nodes.reserve(model.Tree().Count());
    for (const auto& [id, depth] : model.ShownOrder()) {
        const std::optional<int> number = PageNumberValue(PageNumberOf(model.Tree().Text(id)));
        nodes.push_back({static_cast<int>(depth), number.value_or(-1),
                         !listed || (number && pages.Contains(*number))});
    }
    outline_ = ThreadOutline(std::move(nodes));
    stale_ = false;
    return outline_;
}

std::optional<std::size_t> TreeOutline::PositionOf(const QModelIndex& node) const {
    if (!node.isValid()) {
        return std::nullopt;
    }
    const std::vector<ThreadTree::PlacedNode> order = tree_.Model().ShownOrder();
    const auto at = std::find_if(order.begin(), order.end(), [&node](const auto& shown) {
        return shown.id == ThreadTreeModel::NodeOf(node);
    });
    return static_cast<std::size_t>(at - order.begin());
}

}  // namespace teluri
