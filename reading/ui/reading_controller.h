// The reading commands of the main window: following the links of the page
// on show, going back and forward over the pages shown, showing the page's
// node in the tree, read marks (unread nodes in bold, the next unread page,
// all read), zooming the page, and F10 for the menu bar. Every page the
// display shows, whoever asked for it, passes through here: it joins the
// history and counts as read. The commands are added to the main window's
// View menu and at the end of its tool bar.
#pragma once

#include <QObject>

#include <optional>
#include <string>

#include "reading/page_history.h"
#include "threads/archive.h"

class QAction;
class QMenu;
class QMainWindow;
class QModelIndex;
class QTreeView;
class QUrl;
class QWidget;

namespace teluri {

class ReadMarkFile;
class PageView;

class ReadingController : public QObject {
  public:
    // Adds the commands to `viewMenu` and the back and forward buttons to
    // `toolBar`, whose other buttons end at left 150; pages of the tree are
    // those of the archive's data folder.
    ReadingController(QMainWindow& window, QTreeView& tree, PageView& page, QMenu& viewMenu,
                      QWidget& toolBar, const Archive& archive);

    // The commands; they throw, and their callers run them guarded.
    void GoBack();
    void GoForward();
    void ShowInTree();
    void NextUnread();
    void MarkAllRead();
    void Zoom(int step);
    void ZoomReset();
    void FollowLink(const QUrl& link);

    // Whether a node's page counts as unread: what makes it bold.
    bool IsUnread(const QModelIndex& node) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildCommands();
    QAction* AddCommand(const char* name, const char* caption, QList<QKeySequence> keys,
                        void (ReadingController::*command)());
    void PageShown(const QString& url);
    void ShowFromHistory(const std::optional<std::string>& url);
    void ShowNode(const QModelIndex& node);
    QModelIndex NodeOfNumber(const std::string& number) const;
    // The data folder as the pages shown from it name it: the key of its
    // read marks.
    const std::string& DataFolder() const;
    void ScrollOrNextUnread(bool up);
    void ReloadKeepingPlace();
    void ZoomIn() { Zoom(1); }
    void ZoomOut() { Zoom(-1); }

    QMainWindow& window_;
    QTreeView& tree_;
    PageView& page_;
    QMenu& menu_;
    QWidget& toolBar_;
    const Archive& archive_;
    // The views' viewports, kept from the start: the filter also sees
    // events while the views are destroyed, when asking them is no longer
    // allowed.
    const QObject* htmlViewport_ = nullptr;
    const QObject* treeViewport_ = nullptr;
    PageHistory history_;
    // True while a page of the history is being shown again.
    bool replaying_ = false;
    ReadMarkFile* marks_;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    mutable std::string dataPath_;
    mutable std::string dataFolder_;
};

}  // namespace teluri
