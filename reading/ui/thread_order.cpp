#include "reading/ui/thread_order.h"

#include <QAction>
#include <QMenu>

#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "reading/window_state.h"
#include "settings/settings_file.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/thread_tree_view.h"

namespace teluri {

ThreadOrder::ThreadOrder(ThreadTreeView& tree, QMenu& viewMenu) : QObject(&tree), tree_(tree) {
    wanted_ = SettingsFile(WindowStateFilePath()).ReadFlag(kTreeSection, "NewestFirst", false);
    tree_.Model().SetThreadsReversed(wanted_);
    viewMenu.addSeparator();
    action_ = viewMenu.addAction(Text("新しいスレッドを上に"));
    action_->setObjectName("NewestFirst1");
    action_->setCheckable(true);
    action_->setChecked(wanted_);
    connect(action_, &QAction::toggled, this,
            [this](bool checked) { Guarded(&tree_, [this, checked] { Choose(checked); }); });
}

void ThreadOrder::Choose(bool newestFirst) {
    wanted_ = newestFirst;
    // What the view keeps of every node (expanded, hidden, current and
    // selected) stays with it; the current node stays in view.
    tree_.Model().SetThreadsReversed(wanted_);
    if (tree_.currentIndex().isValid()) {
        tree_.scrollTo(tree_.currentIndex());
    }
    SettingsFile ini(WindowStateFilePath());
    ini.WriteFlag(kTreeSection, "NewestFirst", wanted_);
}

}  // namespace teluri
