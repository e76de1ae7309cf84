#include "reading/ui/read_mark_commands.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include "base/files.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_view.h"
#include "reading/link_target.h"
#include "reading/ui/read_mark_file.h"
#include "reading/ui/reading_status.h"
#include "reading/ui/tree_outline.h"

namespace teluri {

ReadMarkCommands::ReadMarkCommands(QWidget& window, QTreeView& tree, PageView& page,
                                   ReadMarkFile& marks, TreeOutline& outline, ReadingStatus& status,
                                   const Archive& archive)
    : QObject(&window),
      window_(window),
      tree_(tree),
      page_(page),
      outline_(outline),
      status_(status),
      archive_(archive),
      marks_(marks),
      dwellTimer_(new QTimer(this)) {
    dwellTimer_->setSingleShot(true);
    dwellTimer_->setTimerType(Qt::PreciseTimer);
    connect(dwellTimer_, &QTimer::timeout, this, [this] {
        const ReadDwell::Clock::time_point now = ReadDwell::Clock::now();
        if (const std::optional<MarkablePage> due = dwell_.Due(now)) {
            Mark(due);
        } else if (dwell_.IsPending()) {
            // Woken a little early: the rest of the second.
            dwellTimer_->start(1);
        }
    });
    // The reader scrolls the page: with the wheel, the keys, the scroll bar
    // or Space. Showing a page puts the bar back at its top before the page
    // counts as shown, so that this is never the page's own doing.
    connect(page_.verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { Engaged(); });
}

void ReadMarkCommands::AddCommands(QMenu& menu, QAction* before) {
    struct Command {
        const char* name;
        const char* caption;
        const char* keys;
        void (ReadMarkCommands::*run)();
    };
    for (const Command& command :
         {Command{"ToggleRead1", "未読にする / 既読にする", "M",
                  &ReadMarkCommands::ToggleShownPage},
          Command{"ThreadRead1", "スレッドを既読にする", "R", &ReadMarkCommands::MarkThreadRead},
          Command{"UndoRead1", "既読の変更を元に戻す", "Ctrl+Z", &ReadMarkCommands::Undo}}) {
        auto* action = new QAction(Text(command.caption), &menu);
        action->setObjectName(command.name);
        action->setShortcut(QKeySequence(command.keys));
        menu.insertAction(before, action);
        const auto run = command.run;
        connect(action, &QAction::triggered, this,
                [this, run] { Guarded(&window_, [this, run] { (this->*run)(); }); });
    }
}

std::string ReadMarkCommands::MarksKey() const {
    return ReadMarksKey(archive_.dataFolder);
}

bool ReadMarkCommands::IsUnread(const QModelIndex& node) const {
    const std::optional<int> value = NodePageNumber(node);
    return value && !marks_.Marks().IsRead(MarksKey(), *value);
}

void ReadMarkCommands::PageShown(std::optional<MarkablePage> page) {
    const bool pending = page.has_value();
    dwell_.Shown(std::move(page), ReadDwell::Clock::now());
    if (pending) {
        dwellTimer_->start(static_cast<int>(ReadDwell::kDwell.count()));
    } else {
        dwellTimer_->stop();
    }
}

void ReadMarkCommands::Engaged() {
    Mark(dwell_.Engaged());
}

void ReadMarkCommands::Mark(const std::optional<MarkablePage>& page) {
    if (page) {
        dwellTimer_->stop();
        if (marks_.MarkRead(page->folder, page->number)) {
            Changed();
        }
    }
}

void ReadMarkCommands::Changed() {
    tree_.viewport()->update();
    status_.Refresh();
}

void ReadMarkCommands::ToggleShownPage() {
    const std::string path = LocalPathOfUrl(page_.DocumentUrl().toStdString());
    const std::optional<std::string> number = PageNumberOfPath(path);
    const std::optional<int> value = number ? PageNumberValue(*number) : std::nullopt;
    if (!value) {
        return;
    }
    const std::string folder = FolderOfPath(path);
    dwell_.Settle();
    dwellTimer_->stop();
    if (marks_.SetByCommand(folder, {*value}, !marks_.Marks().IsRead(folder, *value))) {
        Changed();
    }
}

void ReadMarkCommands::MarkThreadRead() {
    const std::optional<std::size_t> position = outline_.PositionOf(tree_.currentIndex());
    const ThreadOutline& outline = outline_.Outline();
    if (!position || *position >= outline.Size()) {
        return;
    }
    dwell_.Settle();
    if (marks_.SetByCommand(MarksKey(), outline.ThreadNumbers(*position), true)) {
        Changed();
    }
}

void ReadMarkCommands::MarkAllRead() {
    const std::vector<int> numbers = outline_.Outline().AllNumbers();
    const std::string key = MarksKey();
    const auto unread = std::count_if(numbers.begin(), numbers.end(), [&](int number) {
        return !marks_.Marks().IsRead(key, number);
    });
    if (unread == 0) {
        return;
    }
    const QString question =
        QString::fromUtf8("%1 ページを既読にします。よろしいですか？").arg(unread);
    if (!Dialogs().askYesNo(&window_, QString::fromUtf8(kApplicationTitle), question)) {
        return;
    }
    dwell_.Settle();
    if (marks_.SetByCommand(key, numbers, true)) {
        Changed();
    }
}

void ReadMarkCommands::Undo() {
    dwell_.Settle();
    if (marks_.UndoCommand()) {
        Changed();
    }
}

}  // namespace teluri
