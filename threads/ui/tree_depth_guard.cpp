#include "threads/ui/tree_depth_guard.h"

#include <QKeyEvent>
#include <QTimer>
#include <QTreeWidget>

#include <utility>
#include <vector>

#include "base/ui/dialogs.h"
#include "base/ui/guard.h"

namespace teluri {
namespace {

int DepthOf(const QTreeWidgetItem& node) {
    int depth = 0;
    for (const QTreeWidgetItem* parent = node.parent(); parent != nullptr;
         parent = parent->parent()) {
        ++depth;
    }
    return depth;
}

// True when some node below `node` that has children lies at
// kMaxExpandedDepth or deeper. An explicit stack: the tree may be tens of
// thousands of levels deep.
bool HasBranchesTooDeep(const QTreeWidgetItem& node, int depth) {
    std::vector<std::pair<const QTreeWidgetItem*, int>> pending{{&node, depth}};
    while (!pending.empty()) {
        const auto [item, level] = pending.back();
        pending.pop_back();
        if (item->childCount() == 0) {
            continue;
        }
        if (level >= kMaxExpandedDepth) {
            return true;
        }
        for (int i = 0; i < item->childCount(); ++i) {
            pending.emplace_back(item->child(i), level + 1);
        }
    }
    return false;
}

}  // namespace

TreeDepthGuard::TreeDepthGuard(QTreeWidget& tree) : QObject(&tree), tree_(tree) {
    tree_.installEventFilter(this);
    connect(&tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { ItemExpanded(node); });
}

bool TreeDepthGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Asterisk) {
        if (QTreeWidgetItem* node = tree_.currentItem()) {
            const QModelIndex index = tree_.currentIndex();
            Guarded(tree_.window(), [this, node, index] { ExpandAllBelow(*node, index); });
        }
        return true;
    }
    return false;
}

void TreeDepthGuard::ExpandAllBelow(const QTreeWidgetItem& node, const QModelIndex& index) {
    const int depth = DepthOf(node);
    const bool tooDeep = HasBranchesTooDeep(node, depth);
    if (depth < kMaxExpandedDepth) {
        // Marks the branches expanded without recursion and lays the view
        // out once; the depth is counted from `node`.
        tree_.expandRecursively(index, kMaxExpandedDepth - 1 - depth);
    }
    if (tooDeep) {
        TellTooDeep();
    }
}

void TreeDepthGuard::ItemExpanded(QTreeWidgetItem* node) {
    if (node != nullptr && DepthOf(*node) >= kMaxExpandedDepth) {
        node->setExpanded(false);
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
