#include "reading/ui/reading_controller.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QWheelEvent>

#include "base/files.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/guard.h"
#include "base/ui/preview_popup.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_view.h"
#include "reading/link_target.h"
#include "reading/ui/go_to_number_dialog.h"
#include "reading/ui/link_preview.h"
#include "reading/ui/read_mark_commands.h"
#include "reading/ui/read_mark_file.h"
#include "reading/ui/reading_status.h"
#include "reading/ui/tree_outline.h"
#include "reading/ui/unread_delegate.h"
#include "reading/window_state.h"
#include "settings/settings_file.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/thread_tree_view.h"
#include "threads/ui/tree_walk.h"

namespace teluri {
namespace {

std::string FolderOfUrl(const QString& url) {
    return FolderOfPath(LocalPathOfUrl(url.toStdString()));
}

// The back and forward buttons, right after the main window's own buttons,
// which end at left 150.
constexpr int kFirstButtonLeft = 155;
constexpr int kButtonSize = 23;

}  // namespace

ReadingController::ReadingController(QMainWindow& window, ThreadTreeView& tree, PageView& page,
                                     QMenu& viewMenu, QWidget& toolBar, PanelStatusBar& statusBar,
                                     const Archive& archive)
    : QObject(&window),
      window_(window),
      tree_(tree),
      page_(page),
      menu_(viewMenu),
      toolBar_(toolBar),
      archive_(archive),
      outline_(new TreeOutline(tree, archive)),
      scrollTimer_(new QTimer(this)) {
    auto* file = new ReadMarkFile(window);
    status_ = std::make_unique<ReadingStatus>(statusBar, page, *outline_, *file);
    marks_ = new ReadMarkCommands(window, tree, page, *file, *outline_, *status_, archive);
    remembered_ = RememberedPages::Read(SettingsFile(WindowStateFilePath()));
    BuildCommands();
    connect(&page_, &PageView::pageShown, this,
            [this](const QString& url) { Guarded(&window_, [this, &url] { PageShown(url); }); });
    connect(&page_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& link) { Guarded(&window_, [this, &link] { FollowLink(link); }); });
    connect(tree_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& node) {
                Guarded(&window_, [this, &node] {
                    if (!following_) {
                        ShowPageOfNode(node);
                    }
                    ScrollNodeIntoView(tree_, node);
                    // Once more when the view has laid out its rows and
                    // widened its column for the rows now in view.
                    nodeToScroll_ = node;
                    scrollTimer_->start();
                });
            });
    scrollTimer_->setSingleShot(true);
    scrollTimer_->setInterval(0);
    connect(scrollTimer_, &QTimer::timeout, this,
            [this] { ScrollNodeIntoView(tree_, nodeToScroll_); });
    new LinkPreview(page_, [this](const std::string& number) {
        return FolderOfUrl(page_.DocumentUrl()) + number + ".msg";
    });
    tree_.setItemDelegate(new UnreadDelegate(
        [this](const QModelIndex& node) { return marks_->IsUnread(node); }, &tree_));
    htmlViewport_ = page_.viewport();
    treeViewport_ = tree_.viewport();
    page_.installEventFilter(this);
    page_.viewport()->installEventFilter(this);
    tree_.installEventFilter(this);
    tree_.viewport()->installEventFilter(this);
    window_.installEventFilter(this);
}

ReadingController::~ReadingController() = default;

QAction* ReadingController::AddCommand(const char* name, const char* caption,
                                       QList<QKeySequence> keys,
                                       void (ReadingController::*command)()) {
    QAction* action = menu_.addAction(Text(caption));
    action->setObjectName(name);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this,
            [this, command] { Guarded(&window_, [this, command] { (this->*command)(); }); });
    return action;
}

void ReadingController::BuildCommands() {
    back_ = AddCommand("Back1", "戻る", {QKeySequence("Alt+Left")}, &ReadingController::GoBack);
    forward_ =
        AddCommand("Forward1", "進む", {QKeySequence("Alt+Right")}, &ReadingController::GoForward);
    AddCommand("ShowInTree1", "ツリーで表示", {QKeySequence("Ctrl+T")},
               &ReadingController::ShowInTree);
    AddCommand("GoToNumber1", "番号へ移動...", {QKeySequence("Ctrl+J")},
               &ReadingController::GoToNumber);
    menu_.addSeparator();
    AddCommand("NextUnread1", "次の未読", {QKeySequence("N")}, &ReadingController::NextUnread);
    QAction* allRead = menu_.addAction(Text("すべて既読にする"));
    allRead->setObjectName("MarkAllRead1");
    connect(allRead, &QAction::triggered, this,
            [this] { Guarded(&window_, [this] { marks_->MarkAllRead(); }); });
    marks_->AddCommands(menu_, nullptr);
    menu_.addSeparator();
    AddCommand("ZoomIn1", "拡大", {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")},
               &ReadingController::ZoomIn);
    AddCommand("ZoomOut1", "縮小", {QKeySequence("Ctrl+-")}, &ReadingController::ZoomOut);
    AddCommand("ZoomReset1", "標準の大きさ", {QKeySequence("Ctrl+0")},
               &ReadingController::ZoomReset);
    back_->setIcon(window_.style()->standardIcon(QStyle::SP_ArrowBack));
    forward_->setIcon(window_.style()->standardIcon(QStyle::SP_ArrowForward));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    int left = kFirstButtonLeft;
    for (auto [action, name] : {std::pair{back_, "btnBack"}, std::pair{forward_, "btnForward"}}) {
        auto* button = new QToolButton(&toolBar_);
        button->setObjectName(name);
        button->setDefaultAction(action);
        button->setGeometry(left, 4, kButtonSize, kButtonSize);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        left += kButtonSize;
    }

    // F10 opens the menu bar's first menu, from where the arrow keys reach
    // every menu.
    auto* menuKey = new QAction(&window_);
    menuKey->setObjectName("MenuKey1");
    menuKey->setShortcut(QKeySequence("F10"));
    window_.addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this] { window_.menuBar()->setActiveAction(window_.menuBar()->actions().value(0)); });
}

void ReadingController::PageShown(const QString& url) {
    if (!replaying_) {
        history_.Visit(url.toStdString());
    }
    back_->setEnabled(history_.CanGoBack());
    forward_->setEnabled(history_.CanGoForward());

    const std::string path = LocalPathOfUrl(url.toStdString());
    const std::optional<std::string> number = PageNumberOfPath(path);
    const std::optional<int> value = number ? PageNumberValue(*number) : std::nullopt;
    std::optional<MarkablePage> markable;
    if (value && FileExists(path)) {
        markable = MarkablePage{FolderOfPath(path), *value};
    }
    marks_->PageShown(std::move(markable));

    const std::optional<std::string> dataNumber = DataPageNumber(url);
    FollowPage(dataNumber);
    status_->PageShown(url, dataNumber ? tree_.currentIndex() : QModelIndex(), DataFolder());
    if (dataNumber) {
        remembered_.Remember(DataFolder(), *dataNumber);
        rememberedChanged_ = true;
    }
}

void ReadingController::FollowPage(const std::optional<std::string>& number) {
    const QModelIndex current = tree_.currentIndex();
    if (number && current.isValid() && NodeNumber(current) == *number && IsShown(tree_, current)) {
        return;
    }
    const QModelIndex node = number ? NodeOfNumber(*number) : QModelIndex();
    const QScopedValueRollback<bool> following(following_, true);
    if (node.isValid()) {
        SelectNode(tree_, node);
    } else if (current.isValid()) {
        tree_.selectionModel()->clear();
    }
}

void ReadingController::ShowPageOfNode(const QModelIndex& node) {
    if (!node.isValid()) {
        return;
    }
    const std::string page = PageFile(archive_.dataFolder, NodeNumber(node));
    page_.LoadUrl(QString::fromStdString(PageUrl(page)));
}

void ReadingController::GoBack() {
    ShowFromHistory(history_.Back());
}

void ReadingController::GoForward() {
    ShowFromHistory(history_.Forward());
}

void ReadingController::ShowFromHistory(const std::optional<std::string>& url) {
    if (!url) {
        return;
    }
    const QScopedValueRollback<bool> replaying(replaying_, true);
    page_.LoadUrl(QString::fromStdString(*url));
}

const std::string& ReadingController::DataFolder() const {
    const std::string dataPath = archive_.dataFolder;
    if (dataPath != dataPath_ || dataFolder_.empty()) {
        dataPath_ = dataPath;
        dataFolder_ = ReadMarksKey(dataPath);
    }
    return dataFolder_;
}

std::optional<std::string> ReadingController::DataPageNumber(const QString& url) const {
    const std::string path = LocalPathOfUrl(url.toStdString());
    if (path.empty() || FolderOfPath(path) != DataFolder()) {
        return std::nullopt;
    }
    return PageNumberOfPath(path);
}

QModelIndex ReadingController::NodeOfNumber(const std::string& number) const {
    return FindInTreeOrder(*tree_.model(), {}, [this, &number](const QModelIndex& node) {
        return NodeNumber(node) == number && IsShown(tree_, node);
    });
}

void ReadingController::ShowNode(const QModelIndex& node) {
    if (node == tree_.currentIndex()) {
        // Selecting it again would not show it: show it as a click would.
        ShowPageOfNode(node);
        ScrollNodeIntoView(tree_, node);
        return;
    }
    SelectNode(tree_, node);
}

void ReadingController::ShowNumber(const std::string& number) {
    if (const QModelIndex node = NodeOfNumber(number); node.isValid()) {
        ShowNode(node);
        return;
    }
    page_.LoadUrl(QString::fromStdString(PageUrl(PageFile(archive_.dataFolder, number))));
}

void ReadingController::FollowLink(const QUrl& link) {
    const LinkTarget target = LinkTargetOf(link.toEncoded().toStdString());
    switch (target.kind) {
        case LinkTarget::Kind::kAnchor:
            page_.scrollToAnchor(link.fragment());
            return;
        case LinkTarget::Kind::kWeb:
            Dialogs().openUrl(link);
            return;
        case LinkTarget::Kind::kNone:
            return;
        case LinkTarget::Kind::kBoardPage:
            break;
    }
    const std::string folder = FolderOfUrl(page_.DocumentUrl());
    const std::string page = folder + target.value + ".msg";
    if (!FileExists(page)) {
        QToolTip::showText(QCursor::pos(), MissingPageNote(target.value), page_.viewport());
        return;
    }
    marks_->Engaged();
    if (folder == DataFolder()) {
        if (const QModelIndex node = NodeOfNumber(target.value); node.isValid()) {
            ShowNode(node);
            return;
        }
    }
    page_.LoadUrl(QString::fromStdString(PageUrl(page)));
}

void ReadingController::ShowInTree() {
    const std::optional<std::string> number = DataPageNumber(page_.DocumentUrl());
    if (!number) {
        return;
    }
    if (const QModelIndex node = NodeOfNumber(*number); node.isValid()) {
        SelectNode(tree_, node);
        ScrollNodeIntoView(tree_, node);
    }
}

void ReadingController::GoToNumber() {
    GoToNumberDialog dialog(&window_);
    if (const std::optional<std::string> shown = DataPageNumber(page_.DocumentUrl())) {
        dialog.SetNumber(QString::fromStdString(*shown));
    }
    if (Dialogs().execDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const std::optional<std::string> number = MessageNumberOf(dialog.Number().toStdString());
    if (!number) {
        return;
    }
    if (!FileExists(PageFile(archive_.dataFolder, *number))) {
        Dialogs().messageBox(&window_, QMessageBox::Information,
                             QString::fromUtf8(kApplicationTitle), MissingPageNote(*number));
        return;
    }
    ShowNumber(*number);
}

void ReadingController::NextUnread() {
    const std::string dataPath = archive_.dataFolder;
    const QModelIndex node =
        FindInTreeOrder(*tree_.model(), tree_.currentIndex(), [&](const QModelIndex& at) {
            return IsShown(tree_, at) && marks_->IsUnread(at) &&
                   FileExists(PageFile(dataPath, NodeNumber(at)));
        });
    if (node.isValid()) {
        ShowNode(node);
    } else {
        status_->Tell(Text("未読のページはありません"));
    }
}

void ReadingController::FolderLoaded() {
    status_->FolderLoaded(DataFolder());
    const std::optional<std::string> number = remembered_.PageOf(DataFolder());
    if (number && FileExists(PageFile(archive_.dataFolder, *number))) {
        ShowNumber(*number);
        return;
    }
    const QString shown = page_.DocumentUrl();
    if (PageNumberOfPath(LocalPathOfUrl(shown.toStdString())) && !DataPageNumber(shown)) {
        // A page of the folder open before: it does not belong beside
        // this tree.
        page_.ShowNothing();
        marks_->PageShown(std::nullopt);
    }
}

void ReadingController::RememberPages() {
    if (!rememberedChanged_) {
        return;
    }
    SettingsFile ini(WindowStateFilePath());
    remembered_.Write(ini);
    rememberedChanged_ = false;
}

void ReadingController::Zoom(int step) {
    PageView& html = page_;
    html.SetFontSize(std::max(1, html.FontSize() + step));
    html.SetFixedFontSize(std::max(1, html.FixedFontSize() + step));
    ReloadKeepingPlace();
}

void ReadingController::ZoomReset() {
    const SettingsFile ini(SettingsFilePath());
    page_.SetFontSize(ini.ReadNumber("Font", "Size", 10));
    page_.SetFixedFontSize(ini.ReadNumber("Font", "FixSize", 10));
    ReloadKeepingPlace();
}

void ReadingController::ReloadKeepingPlace() {
    // New sizes take effect when the page is laid out anew; the place in it
    // is kept as a share of its length.
    QScrollBar& bar = *page_.verticalScrollBar();
    const double share = bar.maximum() > 0 ? static_cast<double>(bar.value()) / bar.maximum() : 0;
    page_.LoadUrl(page_.DocumentUrl());
    QTimer::singleShot(0, &bar, [&bar, share] { bar.setValue(qRound(share * bar.maximum())); });
}

void ReadingController::ScrollOrNextUnread(bool up) {
    QScrollBar& bar = *page_.verticalScrollBar();
    if (up) {
        bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (bar.value() >= bar.maximum()) {
        marks_->Engaged();
        NextUnread();
    } else {
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    }
}

bool ReadingController::eventFilter(QObject* watched, QEvent* event) {
    const auto guarded = [this](auto body) {
        Guarded(&window_, body);
        return true;
    };
    if (watched == &window_ && event->type() == QEvent::Close) {
        Guarded(&window_, [this] { RememberPages(); });
    }
    if ((watched == &page_ || watched == &tree_) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Space &&
            (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
            return guarded([this, modifiers] { ScrollOrNextUnread(modifiers != Qt::NoModifier); });
        }
    }
    if (watched == htmlViewport_ && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            return delta == 0 ? true : guarded([this, delta] { Zoom(delta > 0 ? 1 : -1); });
        }
    }
    if ((watched == htmlViewport_ || watched == treeViewport_) &&
        event->type() == QEvent::MouseButtonPress) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::BackButton) {
            return guarded([this] { GoBack(); });
        }
        if (button == Qt::ForwardButton) {
            return guarded([this] { GoForward(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace teluri
