#include "threads/ui/tree_depth_guard.h"

#include <QKeyEvent>
#include <QTimer>
#include <QTreeView>

#include <utility>
#include <vector>

#include "base/ui/dialogs.h"
#include "base/ui/guard.h"

namespace teluri {
namespace {

int DepthOf(const QModelIndex& node) {
    int depth = 0;
    for (QModelIndex parent = node.parent(); parent.isValid(); parent = parent.parent()) {
        ++depth;
    }
    return depth;
}

// True when some node below `node` that has children lies at
// kMaxExpandedDepth or deeper. An explicit stack: the tree may be tens of
// thousands of levels deep.
bool HasBranchesTooDeep(const QModelIndex& node, int depth) {
    const QAbstractItemModel& model = *node.model();
    std::vector<std::pair<QModelIndex, int>> pending{{node, depth}};
    while (!pending.empty()) {
        const auto [at, level] = pending.back();
        pending.pop_back();
        const int children = model.rowCount(at);
        if (children == 0) {
            continue;
        }
        if (level >= kMaxExpandedDepth) {
            return true;
        }
        for (int i = 0; i < children; ++i) {
            pending.emplace_back(model.index(i, 0, at), level + 1);
        }
    }
    return false;
}

}  // namespace

TreeDepthGuard::TreeDepthGuard(QTreeView& tree) : QObject(&tree), tree_(tree) {
    tree_.installEventFilter(this);
    connect(&tree_, &QTreeView::expanded, this,
            [this](const QModelIndex& node) { NodeExpanded(node); });
}

bool TreeDepthGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Asterisk) {
        if (const QModelIndex node = tree_.currentIndex(); node.isValid()) {
            Guarded(tree_.window(), [this, node] { ExpandAllBelow(node); });
        }
        return true;
    }
    return false;
}

void TreeDepthGuard::ExpandAllBelow(const QModelIndex& node) {
    const int depth = DepthOf(node);
    const bool tooDeep = HasBranchesTooDeep(node, depth);
    if (depth < kMaxExpandedDepth) {
        // Marks the branches expanded without recursion and lays the view
        // out once; the depth is counted from `node`.
        tree_.expandRecursively(node, kMaxExpandedDepth - 1 - depth);
    }
    if (tooDeep) {
        TellTooDeep();
    }
}

void TreeDepthGuard::NodeExpanded(const QModelIndex& node) {
    if (node.isValid() && DepthOf(node) >= kMaxExpandedDepth) {
        tree_.collapse(node);
        if (!toldThisTurn_) {
            toldThisTurn_ = true;
            TellTooDeep();
            // Posted after the message box's own event loop has ended.
            QTimer::singleShot(0, this, [this] { toldThisTurn_ = false; });
        }
    }
}

void TreeDepthGuard::TellTooDeep() {
    Dialogs().messageBox(
        tree_.window(), QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
        QString::fromUtf8("ツリーが深すぎるため、%1 段より深いノードは展開しません。")
            .arg(kMaxExpandedDepth));
}

}  // namespace teluri
