#include "app/ui/finding_commands.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QVBoxLayout>

#include "app/ui/toolbar_fold.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_view.h"
#include "search/ui/find_bar.h"
#include "search/ui/thread_filter.h"

namespace teluri {
namespace {

constexpr int kFilterWidth = 180;
constexpr int kFilterMargin = 6;

QAction* AddCommand(QMenu& menu, const char* name, const char* caption, const char* keys) {
    QAction* action = menu.addAction(Text(caption));
    action->setObjectName(name);
    action->setShortcut(QKeySequence(keys));
    return action;
}

}  // namespace

FindingCommands::FindingCommands(QWidget& window, QMenu& viewMenu, QWidget& toolBar,
                                 ToolBarFold& fold, PageView& page, ThreadTreeView& tree,
                                 const Archive& archive, BusyGauge& gauge)
    : QObject(&window), toolBar_(toolBar), fold_(fold) {
    bar_ = new FindBar(page, page.parentWidget());
    if (auto* column = qobject_cast<QVBoxLayout*>(page.parentWidget()->layout())) {
        column->insertWidget(column->indexOf(&page) + 1, bar_);
    }

    filter_ = new ThreadFilter(tree, archive, gauge, &toolBar);
    toolBar.installEventFilter(this);
    PlaceFilter();

    viewMenu.addSeparator()->setObjectName("N7");
    const auto guarded = [this](auto body) { return [this, body] { Guarded(bar_, body); }; };
    connect(AddCommand(viewMenu, "FindInPage1", "ページ内を検索(&F)...", "Ctrl+F"),
            &QAction::triggered, this, guarded([this] { bar_->Open(); }));
    connect(AddCommand(viewMenu, "FindNext1", "次を検索(&G)", "Ctrl+G"), &QAction::triggered, this,
            guarded([this] { bar_->Next(); }));
    connect(AddCommand(viewMenu, "FindPrevious1", "前を検索(&R)", "Ctrl+Shift+G"),
            &QAction::triggered, this, guarded([this] { bar_->Previous(); }));
    connect(AddCommand(viewMenu, "FilterThreads1", "スレッドの絞り込み(&L)", "Ctrl+L"),
            &QAction::triggered, this, [this] { FocusFilter(); });
    connect(AddCommand(viewMenu, "NextHit1", "次の検索結果", "F4"), &QAction::triggered, this,
            [this] { emit hitStepWanted(1); });
    connect(AddCommand(viewMenu, "PreviousHit1", "前の検索結果", "Shift+F4"), &QAction::triggered,
            this, [this] { emit hitStepWanted(-1); });
}

void FindingCommands::HitShown(const QString& text) {
    bar_->OpenWith(text);
}

void FindingCommands::FocusFilter() {
    if (toolBar_.isHidden()) {
        fold_.UnfoldToolBar();
    }
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
}

bool FindingCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &toolBar_ && event->type() == QEvent::Resize) {
        PlaceFilter();
    }
    return QObject::eventFilter(watched, event);
}

void FindingCommands::PlaceFilter() {
    const int height = 22;
    filter_->setGeometry(toolBar_.width() - kFilterWidth - kFilterMargin,
                         (toolBar_.height() - height) / 2 + 1, kFilterWidth, height);
}

}  // namespace teluri
