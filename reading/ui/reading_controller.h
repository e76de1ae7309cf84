// The reading commands of the main window: showing the page of the node
// selected in the tree, following the links of the page on show, going back
// and forward over the pages shown, going to a message by its number,
// showing the page's node in the tree, read marks (unread nodes in bold,
// the next unread page, the commands of ReadMarkCommands), zooming the
// page, and F10 for the menu bar. Every page the display shows, whoever
// asked for it, passes through here: it joins the history, its node
// becomes the selected one (without showing the page again), the status
// bar tells where it stands, it counts as read by the dwell rule, and it is
// remembered as the data folder's last page, shown again when the folder
// is next loaded. The commands are added to the main window's View menu and
// at the end of its tool bar.
#pragma once

#include <QObject>
#include <QPersistentModelIndex>

#include <memory>
#include <optional>
#include <string>

#include "reading/page_history.h"
#include "reading/remembered_pages.h"
#include "threads/archive.h"

class QAction;
class QMenu;
class QMainWindow;
class QModelIndex;
class QTimer;
class QTreeView;
class QUrl;
class QWidget;

namespace teluri {

class PageView;
class PanelStatusBar;
class ReadMarkCommands;
class ReadingStatus;
class ThreadTreeView;
class TreeOutline;

class ReadingController : public QObject {
  public:
    // Adds the commands to `viewMenu` and the back and forward buttons to
    // `toolBar`, whose other buttons end at left 150; pages of the tree are
    // those of the archive's data folder. The texts go to `statusBar`.
    ReadingController(QMainWindow& window, ThreadTreeView& tree, PageView& page, QMenu& viewMenu,
                      QWidget& toolBar, PanelStatusBar& statusBar, const Archive& archive);
    ~ReadingController() override;  // out of line: ReadingStatus is incomplete here
    ReadingController(const ReadingController&) = delete;
    ReadingController& operator=(const ReadingController&) = delete;

    // A folder's tree was loaded (an analysis run or a draft open): its
    // remembered page is shown with its node selected, or else a page of
    // another folder leaves the display.
    void FolderLoaded();

    // The commands; they throw, and their callers run them guarded.
    void GoBack();
    void GoForward();
    void ShowInTree();
    void GoToNumber();
    void NextUnread();
    void Zoom(int step);
    void ZoomReset();
    void FollowLink(const QUrl& link);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildCommands();
    QAction* AddCommand(const char* name, const char* caption, QList<QKeySequence> keys,
                        void (ReadingController::*command)());
    void PageShown(const QString& url);
    void ShowPageOfNode(const QModelIndex& node);
    // Selects the node of the page on show, or none, without showing the
    // page again.
    void FollowPage(const std::optional<std::string>& number);
    void ShowFromHistory(const std::optional<std::string>& url);
    void ShowNode(const QModelIndex& node);
    void ShowNumber(const std::string& number);
    QModelIndex NodeOfNumber(const std::string& number) const;
    // The data folder as the pages shown from it name it: the key of its
    // read marks and of its remembered page.
    const std::string& DataFolder() const;
    // The number of a page of the data folder that `url` names.
    std::optional<std::string> DataPageNumber(const QString& url) const;
    void ScrollOrNextUnread(bool up);
    void ReloadKeepingPlace();
    void ZoomIn() { Zoom(1); }
    void ZoomOut() { Zoom(-1); }
    void RememberPages();

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
    // True while the tree follows the page on show.
    bool following_ = false;
    TreeOutline* outline_;
    std::unique_ptr<ReadingStatus> status_;
    ReadMarkCommands* marks_;
    RememberedPages remembered_;
    // True when a page was remembered since Window.ini was last written.
    bool rememberedChanged_ = false;
    // The node to scroll into view once the view has laid its rows out.
    QPersistentModelIndex nodeToScroll_;
    QTimer* scrollTimer_;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    mutable std::string dataPath_;
    mutable std::string dataFolder_;
};

}  // namespace teluri
