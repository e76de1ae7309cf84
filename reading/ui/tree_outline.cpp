#include "reading/ui/tree_outline.h"

#include <QTreeView>

#include <unordered_set>

#include "base/paths.h"
#include "reading/link_target.h"
#include "reading/ui/tree_walk.h"
#include "threads/ui/tree_view_sink.h"

namespace teluri {
namespace {

// The numbers of the ".msg" files of the list.
std::unordered_set<int> PageNumbersOf(const PageFileList& files) {
    std::unordered_set<int> numbers;
    for (const std::string& name : files.Names()) {
        if (const std::optional<std::string> number = PageNumberOfPath(name)) {
            if (const std::optional<int> value = PageNumberValue(*number)) {
                numbers.insert(*value);
            }
        }
    }
    return numbers;
}

int DepthOf(const QModelIndex& node) {
    int depth = 0;
    for (QModelIndex at = node.parent(); at.isValid(); at = at.parent()) {
        ++depth;
    }
    return depth;
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
    const std::unordered_set<int> pages = PageNumbersOf(archive_.files);
    // A list of another folder says nothing about this one's files.
    const bool listed = IncludeTrailingDelimiter(archive_.files.Folder()) == archive_.dataFolder;
    std::vector<OutlineNode> nodes;
    const QAbstractItemModel& model = *tree_.model();
    int depth = 0;
    QModelIndex previous;
    for (QModelIndex node = NextInTreeOrder(model, {}); node.isValid();
         node = NextInTreeOrder(model, node)) {
        // The walk goes one level down at a time, or up to any level.
        if (previous.isValid() && node.parent() == previous) {
            ++depth;
        } else if (previous.isValid() && node.parent() != previous.parent()) {
            depth = DepthOf(node);
        }
        previous = node;
        const std::optional<int> number = NodePageNumber(node);
        nodes.push_back(
            {depth, number.value_or(-1), !listed || (number && pages.contains(*number))});
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
