// The read marks in the main window: a page on show counts as read by the
// dwell rule (ReadDwell), and the reader's commands in the View menu mark
// the page on show read or unread (M), the selected node's thread read (R)
// and every page of the tree read (after a question), and take those
// commands back in turn (Ctrl+Z).
#pragma once

#include <QObject>

#include <optional>
#include <string>

#include "reading/read_dwell.h"
#include "threads/archive.h"

class QAction;
class QMenu;
class QModelIndex;
class QTimer;
class QTreeView;
class QWidget;

namespace teluri {

class PageView;
class ReadMarkFile;
class ReadingStatus;
class TreeOutline;

class ReadMarkCommands : public QObject {
  public:
    ReadMarkCommands(QWidget& window, QTreeView& tree, PageView& page, ReadMarkFile& marks,
                     TreeOutline& outline, ReadingStatus& status, const Archive& archive);

    // Puts the commands into `menu` before `before`.
    void AddCommands(QMenu& menu, QAction* before);

    // Whether the page a node names counts as unread: what makes it bold.
    bool IsUnread(const QModelIndex& node) const;

    // A page was shown; nothing for a page that takes no mark.
    void PageShown(std::optional<MarkablePage> page);
    // The reader worked with the page on show: it counts as read now.
    void Engaged();

    // The commands; they throw, and their callers run them guarded.
    void ToggleShownPage();
    void MarkThreadRead();
    void MarkAllRead();
    void Undo();

  private:
    void Mark(const std::optional<MarkablePage>& page);
    // The marks changed: the bold nodes and the status bar follow.
    void Changed();
    std::string MarksKey() const;

    QWidget& window_;
    QTreeView& tree_;
    PageView& page_;
    TreeOutline& outline_;
    ReadingStatus& status_;
    const Archive& archive_;
    ReadMarkFile& marks_;
    ReadDwell dwell_;
    QTimer* dwellTimer_;
};

}  // namespace teluri
