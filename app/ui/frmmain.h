// The main window: the thread tree on the left, the selected page on the
// right, the menus, the tool bar and the status bar, and the commands that
// open a folder, show pages, copy, select, print and show the tutorial, the
// About box and the version box.
#pragma once

#include <QMainWindow>

#include <array>
#include <string>

class QAction;
class QMenu;
class QSplitter;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace teluri {

class IHTML;
class ReadingController;
class TBookmarkMenu;
class TDynamicGauge;
class TFileListBox;
class TFinding;
class TfrmFind;
class TToolBarFold;
class TStatusBar;
class THTML;
class WindowMemory;

// When the main window loads the tutorial page at its creation: at once, or
// right after the window's first picture, so that the window reaches the
// screen first (the program's start).
enum class TutorialLoad { kAtOnce, kAfterFirstPaint };

class TfrmMain : public QMainWindow {
  public:
    explicit TfrmMain(QWidget* parent = nullptr, TutorialLoad tutorial = TutorialLoad::kAtOnce);

    // What the other windows use.
    IHTML& Html();
    TFileListBox& Filelist() { return *Filelist_; }
    const std::string& DataPath() const { return DataPath_; }
    // Move the busy gauge on by one step, and back to rest.
    void StepGauge();
    void ResetGauge();

  private:
    void BuildMenus();
    QWidget* BuildToolBar();
    void BuildReading(QWidget& toolBar);
    QWidget* BuildPanes();
    // Runs a handler through the error guard.
    void Handle(void (TfrmMain::*handler)());

    void FormCreate();
    void tmrDefaultTimer();
    void tmrAnalyzeTimer();
    void BuildTree();
    void QuickOpen1Click();
    void btnOpenClick();
    void trvTeluriChange(QTreeWidgetItem* node);
    void HTML1MouseDown(Qt::MouseButton button);
    void btnCopyClick();
    void SelectAll1Click();
    void Find1Click();
    void btnPrintClick();
    void SavePdf1Click();
    void Exit1Click();
    void About1Click();
    void N4Click();
    void Option1Click();
    void Tutorial1Click();

    std::string DataPath_;
    TutorialLoad tutorialLoad_;
    std::array<QIcon, 3> ImageList1_;
    QTreeWidget* trvTeluri_ = nullptr;
    QSplitter* Splitter1_ = nullptr;
    THTML* HTML1_ = nullptr;
    TFileListBox* Filelist_ = nullptr;
    TStatusBar* StatusBar1_ = nullptr;
    TDynamicGauge* DynamicGauge1_ = nullptr;
    TToolBarFold* ToolBarFold_ = nullptr;
    QMenu* PopupMenu1_ = nullptr;
    QMenu* View1_ = nullptr;
    // The bookmarks: BMList, Bookmark.dat and the Bookmark menu's entries.
    TBookmarkMenu* Bookmarks_ = nullptr;
    QTimer* tmrAnalyze_ = nullptr;
    QTimer* tmrDefault_ = nullptr;
    // Links, history, read marks and zoom; the window's shape in Window.ini.
    ReadingController* Reading_ = nullptr;
    WindowMemory* WindowMemory_ = nullptr;
    // The search window: made once, hidden between uses.
    TfrmFind* frmFind_ = nullptr;
    // The find bar, the thread filter and their commands.
    TFinding* Finding_ = nullptr;
};

}  // namespace teluri
