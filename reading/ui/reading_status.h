// Where the reader is, in the status bar: for a page of the tree its number
// (second panel), its depth (third panel), then its title, its thread's
// first page, its place among the thread's nodes ("12 / 57") and the unread
// pages of the thread and of the whole tree; for another page its number
// and title; after a folder is loaded the counts of pages, threads and
// unread pages. Kept up to date as read marks change.
#pragma once

#include <QPersistentModelIndex>
#include <QString>

#include <optional>
#include <string>

namespace teluri {

class PanelStatusBar;
class PageView;
class ReadMarkFile;
class TreeOutline;

class ReadingStatus {
  public:
    ReadingStatus(PanelStatusBar& bar, PageView& page, TreeOutline& outline,
                  const ReadMarkFile& marks);

    // A page is on show: `url` with its node (invalid when it has none);
    // `marksKey`: the folder of the tree's read marks.
    void PageShown(const QString& url, const QModelIndex& node, const std::string& marksKey);
    // A folder's tree was loaded: the counts.
    void FolderLoaded(const std::string& marksKey);
    // The display was emptied.
    void Clear();
    // Shows the texts again with the read marks as they are now.
    void Refresh();
    // A note in the space after the panels, until the next page.
    void Tell(const QString& note);

  private:
    void ShowPage();
    void ShowCounts();
    bool IsRead(int number) const;

    PanelStatusBar& bar_;
    PageView& page_;
    TreeOutline& outline_;
    const ReadMarkFile& marks_;
    std::string marksKey_;
    // What is shown: a page (its URL, its node) or the counts.
    QString url_;
    QPersistentModelIndex node_;
    bool counts_ = false;
};

}  // namespace teluri
