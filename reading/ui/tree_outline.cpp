#include "reading/ui/tree_outline.h"

#include <QTreeView>

#include "base/paths.h"
#include "reading/link_target.h"
#include "reading/number_set.h"
#include "reading/ui/tree_walk.h"
#include "threads/ui/thread_tree_model.h"

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

TreeOutline::TreeOutline(QTreeView& tree, const Archive& archive)
    : QObject(&tree), tree_(tree), archive_(archive) {
    QAbstractItemModel& model = *tree_.model();
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
    std::vector<OutlineNode> nodes;
    const QAbstractItemModel& model = *tree_.model();
    // Pre-order with a stack of the levels above, each with its next row:
    // the depth is the stack's, and no node is asked for its parent.
    std::vector<std::pair<QModelIndex, int>> levels{{QModelIndex(), 0}};
    while (!levels.empty()) {
        const QModelIndex parent = levels.back().first;
        const int row = levels.back().second++;
        if (row == model.rowCount(parent)) {
            levels.pop_back();
            continue;
        }
        const QModelIndex node = model.index(row, 0, parent);
        const std::optional<int> number = NodePageNumber(node);
        nodes.push_back({static_cast<int>(levels.size()) - 1, number.value_or(-1),
                         !listed || (number && pages.Contains(*number))});
        if (model.rowCount(node) > 0) {
            levels.emplace_back(node, 0);
        }
    }
    outline_ = ThreadOutline(std::move(nodes));
    stale_ = false;
    return outline_;
}

std::optional<std::size_t> TreeOutline::PositionOf(const QModelIndex& node) const {
    if (!node.isValid()) {
        return std::nullopt;
    }
    // In tree order from the top: a few milliseconds for the largest
    // archives, and asked once for each page shown.
    const QAbstractItemModel& model = *tree_.model();
    std::size_t position = 0;
    for (QModelIndex at = NextInTreeOrder(model, {}); at.isValid() && at != node;
         at = NextInTreeOrder(model, at)) {
        ++position;
    }
    return position;
}

}  // namespace teluri
