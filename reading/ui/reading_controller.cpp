#include "reading/ui/reading_controller.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
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
#include "htmlview/thtml.h"
#include "reading/link_target.h"
#include "reading/ui/link_preview.h"
#include "reading/ui/read_mark_file.h"
#include "reading/ui/tree_walk.h"
#include "reading/ui/unread_delegate.h"
#include "settings/inifile.h"

namespace teluri {
namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string FolderOfUrl(const QString& url) {
    return FolderOfPath(LocalPathOfUrl(url.toStdString()));
}

// The tool bar's buttons beside the specified ones, which end at left 150.
constexpr int kFirstButtonLeft = 155;
constexpr int kButtonSize = 23;

}  // namespace

ReadingController::ReadingController(ReadingParts parts)
    : QObject(&parts.window), parts_(std::move(parts)), marks_(new ReadMarkFile(parts_.window)) {
    BuildCommands();
    parts_.html.SetOnPageShown([this](const QString& url) { PageShown(url); });
    connect(&parts_.html, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        Guarded(&parts_.window, [this, &link] { FollowLink(link); });
    });
    new LinkPreview(parts_.html, [this](const std::string& number) {
        return FolderOfUrl(parts_.html.DocumentUrl()) + number + ".msg";
    });
    parts_.tree.setItemDelegate(new UnreadDelegate(
        [this](const QModelIndex& node) { return IsUnread(node); }, &parts_.tree));
    parts_.html.installEventFilter(this);
    parts_.html.viewport()->installEventFilter(this);
    parts_.tree.viewport()->installEventFilter(this);
}

QAction* ReadingController::AddCommand(const char* name, const char* caption,
                                       QList<QKeySequence> keys,
                                       void (ReadingController::*command)()) {
    QAction* action = parts_.menu.addAction(Text(caption));
    action->setObjectName(name);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this,
            [this, command] { Guarded(&parts_.window, [this, command] { (this->*command)(); }); });
    return action;
}

void ReadingController::BuildCommands() {
    back_ = AddCommand("Back1", "戻る", {QKeySequence("Alt+Left")}, &ReadingController::GoBack);
    forward_ =
        AddCommand("Forward1", "進む", {QKeySequence("Alt+Right")}, &ReadingController::GoForward);
    AddCommand("ShowInTree1", "ツリーで表示", {QKeySequence("Ctrl+T")},
               &ReadingController::ShowInTree);
    parts_.menu.addSeparator();
    AddCommand("NextUnread1", "次の未読", {QKeySequence("N")}, &ReadingController::NextUnread);
    AddCommand("MarkAllRead1", "すべて既読にする", {}, &ReadingController::MarkAllRead);
    parts_.menu.addSeparator();
    AddCommand("ZoomIn1", "拡大", {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")},
               &ReadingController::ZoomIn);
    AddCommand("ZoomOut1", "縮小", {QKeySequence("Ctrl+-")}, &ReadingController::ZoomOut);
    AddCommand("ZoomReset1", "標準の大きさ", {QKeySequence("Ctrl+0")},
               &ReadingController::ZoomReset);
    back_->setIcon(parts_.window.style()->standardIcon(QStyle::SP_ArrowBack));
    forward_->setIcon(parts_.window.style()->standardIcon(QStyle::SP_ArrowForward));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    int left = kFirstButtonLeft;
    for (auto [action, name] : {std::pair{back_, "btnBack"}, std::pair{forward_, "btnForward"}}) {
        auto* button = new QToolButton(&parts_.toolBar);
        button->setObjectName(name);
        button->setDefaultAction(action);
        button->setGeometry(left, 4, kButtonSize, kButtonSize);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        left += kButtonSize;
    }

    // F10 opens the menu bar's first menu, from where the arrow keys reach
    // every menu.
    auto* menuKey = new QAction(&parts_.window);
    menuKey->setObjectName("MenuKey1");
    menuKey->setShortcut(QKeySequence("F10"));
    parts_.window.addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this] { parts_.menuBar.setActiveAction(parts_.menuBar.actions().value(0)); });
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
    if (value && FileExists(path) && marks_->MarkRead(FolderOfPath(path), *value)) {
        parts_.tree.viewport()->update();
    }
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
    replaying_ = true;
    try {
        parts_.html.LoadUrl(QString::fromStdString(*url));
    } catch (...) {
        replaying_ = false;
        throw;
    }
    replaying_ = false;
}

const std::string& ReadingController::DataFolder() const {
    const std::string dataPath = parts_.dataPath();
    if (dataPath != dataPath_ || dataFolder_.empty()) {
        dataPath_ = dataPath;
        dataFolder_ = FolderOfPath(LocalPathOfUrl(PageUrl(PageFile(dataPath, "0000"))));
    }
    return dataFolder_;
}

bool ReadingController::IsUnread(const QModelIndex& node) const {
    const std::optional<int> value = PageNumberValue(parts_.nodeNumber(node));
    return value && !marks_->Marks().IsRead(DataFolder(), *value);
}

QModelIndex ReadingController::NodeOfNumber(const std::string& number) const {
    return FindInTreeOrder(*parts_.tree.model(), {}, [this, &number](const QModelIndex& node) {
        return parts_.nodeNumber(node) == number && IsShown(parts_.tree, node);
    });
}

void ReadingController::ShowNode(const QModelIndex& node) {
    if (node == parts_.tree.currentIndex()) {
        // Selecting it again would not show it: show it as a click would.
        const std::string page = PageFile(parts_.dataPath(), parts_.nodeNumber(node));
        parts_.html.LoadUrl(QString::fromStdString(PageUrl(page)));
    }
    SelectNode(parts_.tree, node);
}

void ReadingController::FollowLink(const QUrl& link) {
    const LinkTarget target = LinkTargetOf(link.toEncoded().toStdString());
    switch (target.kind) {
        case LinkTarget::Kind::kAnchor:
            parts_.html.scrollToAnchor(link.fragment());
            return;
        case LinkTarget::Kind::kWeb:
            Dialogs().openUrl(link);
            return;
        case LinkTarget::Kind::kNone:
            return;
        case LinkTarget::Kind::kBoardPage:
            break;
    }
    const std::string folder = FolderOfUrl(parts_.html.DocumentUrl());
    const std::string page = folder + target.value + ".msg";
    if (!FileExists(page)) {
        QToolTip::showText(QCursor::pos(), MissingPageNote(target.value), parts_.html.viewport());
        return;
    }
    if (folder == DataFolder()) {
        if (const QModelIndex node = NodeOfNumber(target.value); node.isValid()) {
            ShowNode(node);
            return;
        }
    }
    parts_.html.LoadUrl(QString::fromStdString(PageUrl(page)));
}

void ReadingController::ShowInTree() {
    const std::optional<std::string> number =
        PageNumberOfPath(LocalPathOfUrl(parts_.html.DocumentUrl().toStdString()));
    if (!number) {
        return;
    }
    if (const QModelIndex node = NodeOfNumber(*number); node.isValid()) {
        SelectNode(parts_.tree, node);
    }
}

void ReadingController::NextUnread() {
    const std::string dataPath = parts_.dataPath();
    const QModelIndex node = FindInTreeOrder(
        *parts_.tree.model(), parts_.tree.currentIndex(), [&](const QModelIndex& at) {
            return IsShown(parts_.tree, at) && IsUnread(at) &&
                   FileExists(PageFile(dataPath, parts_.nodeNumber(at)));
        });
    if (node.isValid()) {
        ShowNode(node);
    }
}

void ReadingController::MarkAllRead() {
    std::vector<int> numbers;
    const QAbstractItemModel& model = *parts_.tree.model();
    for (QModelIndex node = NextInTreeOrder(model, {}); node.isValid();
         node = NextInTreeOrder(model, node)) {
        if (const std::optional<int> value = PageNumberValue(parts_.nodeNumber(node))) {
            numbers.push_back(*value);
        }
    }
    if (marks_->MarkAllRead(DataFolder(), numbers)) {
        parts_.tree.viewport()->update();
    }
}

void ReadingController::Zoom(int step) {
    THTML& html = parts_.html;
    html.SetFontSize(std::max(1, html.FontSize() + step));
    html.SetFixedFontSize(std::max(1, html.FixedFontSize() + step));
    ReloadKeepingPlace();
}

void ReadingController::ZoomReset() {
    const TIniFile ini(SettingsFilePath());
    parts_.html.SetFontSize(ini.ReadNumber("Font", "Size", 10));
    parts_.html.SetFixedFontSize(ini.ReadNumber("Font", "FixSize", 10));
    ReloadKeepingPlace();
}

void ReadingController::ReloadKeepingPlace() {
    // New sizes take effect when the page is laid out anew; the place in it
    // is kept as a share of its length.
    QScrollBar& bar = *parts_.html.verticalScrollBar();
    const double share = bar.maximum() > 0 ? static_cast<double>(bar.value()) / bar.maximum() : 0;
    parts_.html.LoadUrl(parts_.html.DocumentUrl());
    QTimer::singleShot(0, &bar, [&bar, share] { bar.setValue(qRound(share * bar.maximum())); });
}

void ReadingController::ScrollOrNextUnread(bool up) {
    QScrollBar& bar = *parts_.html.verticalScrollBar();
    if (up) {
        bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (bar.value() >= bar.maximum()) {
        NextUnread();
    } else {
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    }
}

bool ReadingController::eventFilter(QObject* watched, QEvent* event) {
    const auto guarded = [this](auto body) {
        Guarded(&parts_.window, body);
        return true;
    };
    if (watched == &parts_.html && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Space &&
            (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
            return guarded([this, modifiers] { ScrollOrNextUnread(modifiers != Qt::NoModifier); });
        }
    }
    if (watched == parts_.html.viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            return delta == 0 ? true : guarded([this, delta] { Zoom(delta > 0 ? 1 : -1); });
        }
    }
    if ((watched == parts_.html.viewport() || watched == parts_.tree.viewport()) &&
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
