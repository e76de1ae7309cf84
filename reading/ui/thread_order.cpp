#include "reading/ui/thread_order.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

#include "base/ui/frozen_tree.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "reading/window_state.h"
#include "settings/settings_file.h"

namespace teluri {

ThreadOrder::ThreadOrder(QTreeWidget& tree, QMenu& viewMenu) : QObject(&tree), tree_(tree) {
    wanted_ = SettingsFile(WindowStateFilePath()).ReadFlag(kTreeSection, "NewestFirst", false);
    viewMenu.addSeparator();
    action_ = viewMenu.addAction(Text("新しいスレッドを上に"));
    action_->setObjectName("NewestFirst1");
    action_->setCheckable(true);
    action_->setChecked(wanted_);
    connect(action_, &QAction::toggled, this,
            [this](bool checked) { Guarded(&tree_, [this, checked] { Choose(checked); }); });
    // A cleared tree holds no threads in any order. The threads of a tree
    // being filled arrive in one insertion at its end (TreeViewSink); they
    // are arranged once control is back in the event loop, after the
    // filling's other steps (Tree.dat is written in the tree's own order).
    connect(tree_.model(), &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { reversed_ = false; });
    connect(
        tree_.model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
            if (!parent.isValid() && !arranging_) {
                QMetaObject::invokeMethod(
                    this, [this] { Guarded(&tree_, [this] { Arrange(); }); }, Qt::QueuedConnection);
            }
        });
}

void ThreadOrder::Choose(bool newestFirst) {
    wanted_ = newestFirst;
    Arrange();
    SettingsFile ini(WindowStateFilePath());
    ini.WriteFlag(kTreeSection, "NewestFirst", wanted_);
}

void ThreadOrder::Arrange() {
    if (wanted_ != reversed_ && tree_.topLevelItemCount() > 0) {
        ReverseThreads();
    }
}

void ThreadOrder::ReverseThreads() {
    // What the view keeps of the nodes goes with them when they are taken
    // out; it is noted and given back.
    std::vector<QTreeWidgetItem*> expanded;
    std::vector<QTreeWidgetItem*> pending;
    for (int i = 0; i < tree_.topLevelItemCount(); ++i) {
        pending.push_back(tree_.topLevelItem(i));
    }
    while (!pending.empty()) {
        QTreeWidgetItem* item = pending.back();
        pending.pop_back();
        if (item->isExpanded()) {
            expanded.push_back(item);
            for (int i = 0; i < item->childCount(); ++i) {
                pending.push_back(item->child(i));
            }
        }
    }
    std::vector<QTreeWidgetItem*> hidden;
    for (int i = 0; i < tree_.topLevelItemCount(); ++i) {
        if (tree_.topLevelItem(i)->isHidden()) {
            hidden.push_back(tree_.topLevelItem(i));
        }
    }
    QTreeWidgetItem* current = tree_.currentItem();
    const QList<QTreeWidgetItem*> selected = tree_.selectedItems();

    arranging_ = true;
    {
        FrozenTree frozen(tree_);
        // The tree's signals stay quiet: its current node only seems to
        // change (the page on show stays).
        const QSignalBlocker quiet(tree_);
        QList<QTreeWidgetItem*> threads = tree_.invisibleRootItem()->takeChildren();
        std::reverse(threads.begin(), threads.end());
        tree_.addTopLevelItems(threads);
        for (QTreeWidgetItem* item : hidden) {
            item->setHidden(true);
        }
        // Parents before their children, as they were collected.
        for (QTreeWidgetItem* item : expanded) {
            item->setExpanded(true);
        }
        if (current != nullptr) {
            tree_.setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
        }
        for (QTreeWidgetItem* item : selected) {
            item->setSelected(true);
        }
    }
    arranging_ = false;
    reversed_ = !reversed_;
    if (current != nullptr) {
        tree_.scrollToItem(current);
    }
}

}  // namespace teluri
