#include "app/ui/finding.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ui/frmmain.h"
#include "app/ui/toolbar_fold.h"
#include "app/ui/tree_view_sink.h"
#include "base/paths.h"
#include "base/ui/guard.h"
#include "htmlview/thtml.h"
#include "search/ui/findbar.h"
#include "search/ui/thread_filter.h"

namespace teluri {
namespace {

constexpr int kFilterWidth = 180;
constexpr int kFilterMargin = 6;

QAction* AddCommand(QMenu& menu, const char* name, const char* caption, const char* keys) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setShortcut(QKeySequence(keys));
    return action;
}

}  // namespace

TFinding::TFinding(TfrmMain& window, QMenu& viewMenu, QWidget& toolBar, TToolBarFold& fold,
                   THTML& page, QTreeWidget& tree)
    : QObject(&window), toolBar_(toolBar), fold_(fold) {
    bar_ = new TFindBar(page, page.parentWidget());
    if (auto* column = qobject_cast<QVBoxLayout*>(page.parentWidget()->layout())) {
        column->insertWidget(column->indexOf(&page) + 1, bar_);
    }

    FilterHost host;
    host.dataPath = [&window] { return window.DataPath(); };
    host.pageNumber = [](const QTreeWidgetItem& item) {
        return PageNumberOf(NodeBytes(item).toStdString());
    };
    host.stepGauge = [&window] { window.StepGauge(); };
    host.resetGauge = [&window] { window.ResetGauge(); };
    filter_ = new TThreadFilter(tree, std::move(host), &toolBar);
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
}

void TFinding::HitShown(const QString& text) {
    bar_->OpenWith(text);
}

void TFinding::FocusFilter() {
    if (toolBar_.isHidden()) {
        fold_.Image2Click();
    }
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
}

bool TFinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &toolBar_ && event->type() == QEvent::Resize) {
        PlaceFilter();
    }
    return QObject::eventFilter(watched, event);
}

void TFinding::PlaceFilter() {
    const int height = 22;
    filter_->setGeometry(toolBar_.width() - kFilterWidth - kFilterMargin,
                         (toolBar_.height() - height) / 2 + 1, kFilterWidth, height);
}

}  // namespace teluri
