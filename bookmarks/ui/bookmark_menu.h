// The bookmarks of the main window: the list Bookmarks, its file Bookmark.dat,
// the entries at the end of the Bookmark menu, and the add, edit and jump
// commands. The main window hands over its Bookmark menu with the add and
// edit items and its page display, and the archive whose data folder the
// bookmarks' pages are in; this object lives as
// long as the window and owns the add dialog and the editor, created once.
#pragma once

#include <QObject>

#include <memory>
#include <string>

#include "bookmarks/bookmark_list.h"
#include "threads/archive.h"

class QAction;
class QMenu;
class QWidget;

namespace teluri {

class PageDisplay;
class AddBookmarkDialog;
class BookmarkEditor;

class BookmarkMenu : public QObject {
  public:
    // `menu` holds `add` (BMAdd1) and `edit` (BMEdit1) as its first two items.
    BookmarkMenu(QWidget& window, QMenu& menu, QAction& add, QAction& edit, PageDisplay& html,
                 const Archive& archive);

    // The start-up load: when Bookmark.dat exists, its lines become Bookmarks
    // and the menu is rebuilt (which writes the file straight back). A file
    // that cannot be read throws IoError "ﾌｧｲﾙ %s は開けません": the list
    // stays empty, and the window's creation steps after this one do not run
    // (no start-up draft open in that run).
    void LoadBookmarks();

    // Saves Bookmarks to Bookmark.dat, then replaces the menu's entries by one
    // per line: the first 256 in the menu itself, the rest in submenus
    // captioned with their positions ("257～512"), of at most 256 entries or
    // 16 submenus each, whose content is made when first shown. A failed save throws
    // IoError "ﾌｧｲﾙ %s を作成できません" before the menu is touched: the menu keeps its entries,
    // Bookmarks its change.
    void SaveAndRebuildMenu();

    // The commands; they throw, and their callers run them guarded.
    void AddBookmark();
    void EditBookmarks();
    void JumpToBookmark(const QAction& entry);

    const BookmarkList& Bookmarks() const { return bookmarks_; }

  private:
    void Refuse();
    // Appends to `menu` submenus for lines [first, end) of `lines`: at most
    // 16, each for a whole number of groups of 256 lines.
    void AddGroups(QMenu& menu, const std::shared_ptr<const BookmarkList>& lines, std::size_t first,
                   std::size_t end);
    // Appends to `menu` the entries of lines [first, end) of `lines`.
    void AddEntries(QMenu& menu, const BookmarkList& lines, std::size_t first, std::size_t end);

    QWidget& window_;
    QMenu& menu_;
    QAction& edit_;
    PageDisplay& html_;
    const Archive& archive_;
    BookmarkList bookmarks_;
    // Bookmark.dat could not be read at start-up: it is set aside before the
    // list is first written, so that its bookmarks are not lost.
    bool setUnreadableAside_ = false;
    AddBookmarkDialog* addDialog_;
    BookmarkEditor* editor_;
};

}  // namespace teluri
