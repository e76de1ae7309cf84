// The main window: the thread tree on the left, the selected page on the
// right, the menus, the tool bar and the status bar, and the commands that
// open a folder, show pages, copy, select, print and show the tutorial, the
// About box and the version box. It builds the components of the other
// subsystems, hands each the parts it works on and connects their signals;
// no component includes it.
#pragma once

#include <QMainWindow>

#include <array>
#include <string>

#include "threads/archive.h"

class QMenu;
class QSplitter;
class QTimer;

namespace teluri {

class BookmarkMenu;
class BusyGauge;
class FindingCommands;
class PageDisplay;
class PageView;
class PanelStatusBar;
class ReadingController;
class RecentFoldersMenu;
class SearchWindow;
class StatusNote;
class ThreadOrder;
class ThreadTreeView;
class TreeFileSave;
class ToolBarFold;
class WindowMemory;

// When the main window loads the tutorial page at its creation: at once, or
// right after the window's first picture, so that the window reaches the
// screen first (the program's start).
enum class TutorialLoad { kAtOnce, kAfterFirstPaint };

class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(QWidget* parent = nullptr, TutorialLoad tutorial = TutorialLoad::kAtOnce);

    PageDisplay& Page();
    const Archive& CurrentArchive() const { return archive_; }

    // Opens `folder` as the data folder, as the open command does: keeps it
    // in Teluri.ini and the recent folders and starts the analysis run.
    // Throws IoError "ﾌｫﾙﾀﾞ %s は開けません" for a path that is no folder,
    // changing nothing.
    void OpenDataFolder(const std::string& folder);

  private:
    void BuildMenus();
    QWidget* BuildToolBar();
    QWidget* BuildPanes();
    void BuildComponents(QWidget& toolBar);
    // Runs a handler through the error guard.
    void Handle(void (MainWindow::*handler)());

    void ApplySettingsAtStart();
    void DraftOpenAtStartUp();
    void AnalyzeDataFolder();
    void DraftOpen();
    void ChooseDataFolder();
    // Takes `folder` as the data folder and starts the analysis run.
    void UseDataFolder(const std::string& folder);
    void PagePressed(Qt::MouseButton button);
    void CopySelection();
    void SelectWholePage();
    // The search window, made when first wanted.
    SearchWindow& TheSearchWindow();
    void ShowSearchWindow();
    void PrintPage();
    void SaveAsPdf();
    void Quit();
    void ShowVersionBox();
    void ShowAboutBox();
    void EditOptions();
    void ShowTutorial();

    Archive archive_;
    TutorialLoad tutorialLoad_;
    ThreadTreeView* tree_ = nullptr;
    TreeFileSave* treeSave_ = nullptr;
    QSplitter* splitter_ = nullptr;
    PageView* page_ = nullptr;
    PanelStatusBar* statusBar_ = nullptr;
    BusyGauge* gauge_ = nullptr;
    ToolBarFold* toolBarFold_ = nullptr;
    QMenu* pagePopupMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* bookmarkMenu_ = nullptr;
    // The bookmarks: the list, Bookmark.dat and the Bookmark menu's entries.
    BookmarkMenu* bookmarks_ = nullptr;
    QTimer* analyzeTimer_ = nullptr;
    QTimer* startUpTimer_ = nullptr;
    // Links, history, read marks and zoom.
    ReadingController* reading_ = nullptr;
    // The window's shape in Window.ini.
    WindowMemory* windowMemory_ = nullptr;
    // The search window: made once, hidden between uses.
    SearchWindow* searchWindow_ = nullptr;
    // The find bar, the thread filter and their commands.
    FindingCommands* finding_ = nullptr;
    // The tree's threads, newest first if the reader wants.
    ThreadOrder* threadOrder_ = nullptr;
    // What a command with nothing to do says in the status bar.
    StatusNote* statusNote_ = nullptr;
    // The File menu's recent data folders.
    RecentFoldersMenu* recentFolders_ = nullptr;
};

}  // namespace teluri
