#include "app/ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QElapsedTimer>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "activity/ui/busy_gauge.h"
#include "activity/ui/panel_status_bar.h"
#include "activity/ui/status_note.h"
#include "app/ui/about_box.h"
#include "app/ui/finding_commands.h"
#include "app/ui/folder_drop.h"
#include "app/ui/key_table.h"
#include "app/ui/pdf_export.h"
#include "app/ui/progress_window.h"
#include "app/ui/recent_folders_menu.h"
#include "app/ui/toolbar_fold.h"
#include "app/ui/top_line_panel.h"
#include "app/ui/version_box.h"
#include "app/ui/window_memory.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/messages.h"
#include "base/paths.h"
#include "base/ui/access_keys.h"
#include "base/ui/after_first_paint.h"
#include "base/ui/busy_cursor.h"
#include "base/ui/center_on_screen.h"
#include "base/ui/dialogs.h"
#include "base/ui/display_frame.h"
#include "base/ui/fonts.h"
#include "base/ui/frozen_tree.h"
#include "base/ui/guard.h"
#include "base/ui/pictures.h"
#include "base/ui/qtext.h"
#include "bookmarks/ui/bookmark_menu.h"
#include "htmlview/ui/page_view.h"
#include "reading/ui/reading_controller.h"
#include "reading/ui/thread_order.h"
#include "search/ui/search_window.h"
#include "settings/settings_file.h"
#include "settings/ui/options_dialog.h"
#include "threads/thread_tree.h"
#include "threads/tree_builder.h"
#include "threads/tree_file.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/thread_tree_view.h"
#include "threads/ui/tree_column_fit.h"
#include "threads/ui/tree_depth_guard.h"
#include "threads/ui/tree_file_save.h"
#include "threads/ui/tree_model_sink.h"

namespace teluri {
namespace {

constexpr int kTimerInterval = 100;

// A caption strip above a pane, with its label.
QFrame* CaptionStrip(QWidget* parent, const char* name, QLabel* label, QPoint at) {
    auto* strip = new QFrame(parent);
    strip->setObjectName(name);
    strip->setFixedHeight(18);
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    label->setParent(strip);
    label->move(at);
    return strip;
}

// The analysis run in the window: the tree view's model receives the nodes
// (all at once at the end), the archive's file list the folder's names, the
// progress window and the gauge the course of the run.
class AnalysisRun : public TreeModelSink {
  public:
    AnalysisRun(QWidget& window, ThreadTreeView& tree, PageFileList& files, BusyGauge& gauge)
        : TreeModelSink(tree.Model()),
          window_(window),
          files_(files),
          gauge_(gauge),
          batch_(tree) {}

    void BeginRun() override {
        Model().Fill({});
        bar_ = new ProgressWindow(&window_);
        bar_->Start();
    }

    std::vector<std::string> ListFolder(const std::string& folder) override {
        files_.SetFolder(folder);
        return files_.Names();
    }

    void Progress(int index, int count) override {
        // The gauge and the progress window show one picture per display
        // frame, and a run reads thousands of files in one: between frames
        // a file is only counted, and the gauge moves on by every file
        // counted when the next frame comes.
        ++uncounted_;
        if (frame_.isValid() && frame_.elapsed() < kDisplayFrameMilliseconds && index + 1 < count) {
            return;
        }
        frame_.start();
        gauge_.Advance(BusyGauge::kStepPerFile * uncounted_);
        uncounted_ = 0;
        bar_->Step(ProgressPercent(index, count));
    }

    // The nodes go into the view when the run is destroyed, after it ended
    // or failed, before the view is drawn again.
    ~AnalysisRun() override { Finish(); }

    void EndRun() noexcept override {
        gauge_.Reset();
        if (bar_ != nullptr) {
            bar_->Stop();
            bar_->deleteLater();
            bar_ = nullptr;
        }
    }

  private:
    QWidget& window_;
    PageFileList& files_;
    BusyGauge& gauge_;
    FrozenTree batch_;
    ProgressWindow* bar_ = nullptr;
    QElapsedTimer frame_;  // since the gauge and the window were last told
    int uncounted_ = 0;    // files since then
};

}  // namespace

MainWindow::MainWindow(QWidget* parent, TutorialLoad tutorial)
    : QMainWindow(parent), tutorialLoad_(tutorial) {
    setObjectName("frmMain");
    setWindowTitle(Text("Orvak Teluri Explorer"));
    setFont(WindowFont());

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    QWidget* toolBar = BuildToolBar();
    column->addWidget(toolBar);
    toolBarFold_ = new ToolBarFold(this, toolBar);
    column->addWidget(toolBarFold_->Strip());
    column->addWidget(BuildPanes(), 1);
    statusBar_ = new PanelStatusBar(client, {75, 80, 50});
    statusBar_->setAccessibleName(Text("ステータスバー"));
    column->addWidget(statusBar_);
    // The gauge draws into the status bar's first panel.
    gauge_ = new BusyGauge(this);
    gauge_->SetControl(statusBar_);
    gauge_->SetGaugeIndex(0);
    setCentralWidget(client);
    BuildMenus();
    BuildComponents(*toolBar);
    new LabelAccessKeys(this);
    treeSave_ = new TreeFileSave(*this);

    analyzeTimer_ = new QTimer(this);
    analyzeTimer_->setObjectName("tmrAnalyze");
    analyzeTimer_->setInterval(kTimerInterval);
    connect(analyzeTimer_, &QTimer::timeout, this,
            [this] { Handle(&MainWindow::AnalyzeDataFolder); });
    startUpTimer_ = new QTimer(this);
    startUpTimer_->setObjectName("tmrDefault");
    startUpTimer_->setInterval(kTimerInterval);
    connect(startUpTimer_, &QTimer::timeout, this,
            [this] { Handle(&MainWindow::DraftOpenAtStartUp); });

    // Designed at 714 x 508, centred; maximised by the creation steps.
    resize(714, 508);
    CenterOnScreen(*this);
    Handle(&MainWindow::ApplySettingsAtStart);
    Guarded(this, [this] { windowMemory_->Restore(); });

    // F4 and Shift+F4 step through the search window's hits.
    connect(finding_, &FindingCommands::hitStepWanted, this,
            [this](int step) { Guarded(this, [this, step] { TheSearchWindow().StepHit(step); }); });
}

void MainWindow::Handle(void (MainWindow::*handler)()) {
    Guarded(this, [this, handler] { (this->*handler)(); });
}

QWidget* MainWindow::BuildToolBar() {
    auto* panel = new TopLinePanel(this, "Panel1", "Bevel3", 29);
    struct Button {
        const char* name;
        int left;
        const char* readerName;
        const char* hint;
        QPixmap glyph;
        void (MainWindow::*handler)();
    };
    const Button buttons[] = {
        {"btnOpen", 14, "開く", "Teluriﾃﾞｰﾀのﾌｫﾙﾀﾞを開く", OpenFolderGlyph(),
         &MainWindow::ChooseDataFolder},
        {"btnPrint", 37, "印刷", "印刷", PrintGlyph(), &MainWindow::PrintPage},
        {"btnCopy", 60, "コピー", "ｺﾋﾟｰ", CopyGlyph(), &MainWindow::CopySelection},
        {"btnFind", 91, "検索", "検索", FindGlyph(), &MainWindow::ShowSearchWindow},
        {"btnHelp", 123, "バージョン情報", "ﾊﾞｰｼﾞｮﾝ情報", HelpGlyph(), &MainWindow::ShowVersionBox},
    };
    for (const Button& button : buttons) {
        auto* tool = new QToolButton(panel);
        tool->setObjectName(button.name);
        tool->setGeometry(button.left, 4, 23, 23);
        tool->setAutoRaise(true);
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setIcon(QIcon(button.glyph));
        tool->setToolTip(Text(button.hint));
        tool->setAccessibleName(Text(button.readerName));
        tool->setAccessibleDescription(Text(button.hint));
        if (button.handler != nullptr) {
            const auto handler = button.handler;
            connect(tool, &QToolButton::clicked, this, [this, handler] { Handle(handler); });
        }
    }
    auto* divider = new QFrame(panel);
    divider->setObjectName("Bevel4");
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(150, 4, 2, 23);
    return panel;
}

void MainWindow::BuildComponents(QWidget& toolBar) {
    reading_ =
        new ReadingController(*this, *tree_, *page_, *viewMenu_, toolBar, *statusBar_, archive_);
    windowMemory_ = new WindowMemory(*this, *splitter_, *toolBarFold_);
    bookmarks_ =
        new BookmarkMenu(*this, *bookmarkMenu_, *bookmarkMenu_->findChild<QAction*>("BMAdd1"),
                         *bookmarkMenu_->findChild<QAction*>("BMEdit1"), *page_, archive_);
    new KeyTable(*this, *menuBar()->findChild<QMenu*>("Help1"));
    finding_ = new FindingCommands(*this, *viewMenu_, toolBar, *toolBarFold_, *page_, *tree_,
                                   archive_, *gauge_);
    threadOrder_ = new ThreadOrder(*tree_, *viewMenu_);
    statusNote_ = new StatusNote(*statusBar_, 2);
    auto* fileMenu = menuBar()->findChild<QMenu*>("File1");
    recentFolders_ = new RecentFoldersMenu(*this, *fileMenu, *fileMenu->findChild<QAction*>("N2"));
    const auto open = [this](const QString& folder) {
        Guarded(this, [this, &folder] { OpenDataFolder(ToLocalPath(folder)); });
    };
    connect(recentFolders_, &RecentFoldersMenu::folderChosen, this, open);
    connect(new FolderDrop(*this), &FolderDrop::folderDropped, this, open);
}

QWidget* MainWindow::BuildPanes() {
    auto* splitter = splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("Splitter1");
    splitter->setAccessibleName(Text("ツリーとページの境界"));
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);

    auto* left = new QWidget(splitter);
    left->setObjectName("Panel2");
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->setSpacing(0);
    auto* treeCaption = new QLabel(Text("議題(&S)"));
    treeCaption->setObjectName("Label1");
    leftColumn->addWidget(CaptionStrip(left, "Bevel1", treeCaption, QPoint(8, 2)));
    tree_ = new ThreadTreeView(
        {QIcon(TemplePicture(16)), QIcon(BuildingsPicture(16)), QIcon(MissingPagePicture(16))},
        left);
    tree_->setObjectName("trvTeluri");
    tree_->setAccessibleName(Text("議題"));
    tree_->setAccessibleDescription(Text("スレッドのツリー。選んだメッセージが右に表示されます"));
    tree_->setHeaderHidden(true);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setIndentation(19);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    // Long titles scroll sideways instead of being cut short.
    FitColumnToRowsInView(*tree_);
    tree_->setIconSize(QSize(16, 16));
    new TreeDepthGuard(*tree_);
    treeCaption->setBuddy(tree_);
    leftColumn->addWidget(tree_, 1);

    auto* right = new QWidget(splitter);
    right->setObjectName("Panel3");
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(0);
    auto* pageCaption = new QLabel(Text(" 内容(&H)"));
    pageCaption->setObjectName("Label2");
    rightColumn->addWidget(CaptionStrip(right, "Bevel2", pageCaption, QPoint(9, 3)));
    page_ = new PageView(right);
    page_->setObjectName("HTML1");
    page_->setAccessibleName(Text("内容"));
    page_->setAccessibleDescription(Text("選んだメッセージのページ"));
    connect(page_, &PageView::pressed, this, [this](Qt::MouseButton button) {
        Guarded(this, [this, button] { PagePressed(button); });
    });
    pageCaption->setBuddy(page_);
    rightColumn->addWidget(page_, 1);

    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({281, 433});
    return splitter;
}

void MainWindow::BuildMenus() {
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        void (MainWindow::*handler)();
    };
    const auto addMenu = [this](QMenu* menu, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            if (item.caption == nullptr) {
                menu->addSeparator()->setObjectName(item.name);
                continue;
            }
            QAction* action = menu->addAction(Text(item.caption));
            action->setObjectName(item.name);
            action->setShortcut(item.shortcut);
            if (item.handler != nullptr) {
                const auto handler = item.handler;
                connect(action, &QAction::triggered, this, [this, handler] { Handle(handler); });
            }
        }
    };
    const auto menu = [this](const char* name, const char* caption) {
        QMenu* result = menuBar()->addMenu(Text(caption));
        result->setObjectName(name);
        return result;
    };
    menuBar()->setObjectName("MainMenu1");
    addMenu(menu("File1", "ファイル(&F)"),
            {{"Open1", "開く(&O)...", QKeySequence("Ctrl+O"), &MainWindow::ChooseDataFolder},
             {"QuickOpen1", "ドラフトオープン", {}, &MainWindow::DraftOpen},
             {"Print2", "印刷(&P)", {}, &MainWindow::PrintPage},
             {"N2", nullptr, {}, nullptr},
             {"Exit1", "終了(&X)", {}, &MainWindow::Quit}});
    addMenu(menu("Edit1", "編集(&E)"),
            {{"Copy2", "コピー(&C)", QKeySequence("Ctrl+C"), &MainWindow::CopySelection},
             {"Find1", "検索(&F)....", QKeySequence("F3"), &MainWindow::ShowSearchWindow},
             {"N3", nullptr, {}, nullptr},
             {"SelectAll2", "すべて選択(&A)", QKeySequence("Ctrl+A"), &MainWindow::SelectWholePage},
             {"N6", nullptr, {}, nullptr},
             {"Option1", "環境設定...", {}, &MainWindow::EditOptions}});
    // The View menu holds the reading and finding commands; their components
    // fill it.
    viewMenu_ = menu("View1", "表示(&V)");
    bookmarkMenu_ = menu("Bookmark1", "ブックマーク(&B)");
    addMenu(bookmarkMenu_, {{"BMAdd1", "このページを追加する", {}, nullptr},
                            {"BMEdit1", "ブックマークの編集...", {}, nullptr}});
    bookmarkMenu_->findChild<QAction*>("BMEdit1")->setVisible(false);
    addMenu(menu("Help1", "ヘルプ(&H)"),
            {{"Tutorial1", "使い方(&T)", {}, &MainWindow::ShowTutorial},
             {"N4", "TeluriExplorerについて...", {}, &MainWindow::ShowAboutBox},
             {"N5", nullptr, {}, nullptr},
             {"About1", "バージョン情報(&A)...", {}, &MainWindow::ShowVersionBox}});

    pagePopupMenu_ = new QMenu(this);
    pagePopupMenu_->setObjectName("PopupMenu1");
    addMenu(pagePopupMenu_,
            {{"Copy1", "ｺﾋﾟｰ(&C)", QKeySequence("Ctrl+C"), &MainWindow::CopySelection},
             {"SelectAll1", "すべて選択(&A)", QKeySequence("Ctrl+A"), &MainWindow::SelectWholePage},
             {"N1", nullptr, {}, nullptr},
             {"Print1", "印刷(&P)", {}, &MainWindow::PrintPage},
             {"SavePdf1", "PDF として保存...", {}, &MainWindow::SaveAsPdf}});
}

PageDisplay& MainWindow::Page() {
    return *page_;
}

void MainWindow::ApplySettingsAtStart() {
    const SettingsFile ini(SettingsFilePath());
    page_->SetFontSize(ini.ReadNumber("Font", "Size", 10));
    page_->SetFixedFontSize(ini.ReadNumber("Font", "FixSize", 10));
    setWindowState(windowState() | Qt::WindowMaximized);
    archive_.dataFolder = ini.ReadText("Option", "Path", ExeFolder());
    if (tutorialLoad_ == TutorialLoad::kAtOnce) {
        ShowTutorial();
    } else {
        // Unless another page is shown by then.
        AfterFirstPaint(*page_->viewport(), [this] {
            if (page_->DocumentUrl().isEmpty()) {
                Handle(&MainWindow::ShowTutorial);
            }
        });
    }
    bookmarks_->LoadBookmarks();
    startUpTimer_->start();
}

void MainWindow::DraftOpenAtStartUp() {
    startUpTimer_->stop();
    const SettingsFile ini(SettingsFilePath());
    if (ini.ReadFlag("Startup", "DraftOpen", false)) {
        repaint();
        DraftOpen();
    }
}

void MainWindow::AnalyzeDataFolder() {
    analyzeTimer_->stop();
    BusyCursor busy;
    {
        AnalysisRun run(*this, *tree_, archive_.files, *gauge_);
        BuildTree(archive_.dataFolder, run);
    }
    // Written and flushed to disk on a thread of its own while the window
    // counts the nodes and draws the tree.
    treeSave_->Start(tree_->Model().SharedTree(), ProgramFile(kTreeFileName));
    reading_->FolderLoaded();
}

void MainWindow::DraftOpen() {
    const std::string folder = SettingsFile(SettingsFilePath()).ReadText("Option", "Path", "");
    const std::string treeFile = ProgramFile(kTreeFileName);
    treeSave_->Wait();
    if (!FileExists(treeFile)) {
        return;
    }
    BusyCursor busy;
    const std::optional<std::string> content = ReadFileIfExists(treeFile);
    CheckTreeDatSize(content.value_or(""), treeFile);
    {
        // No pictures: the saved tree does not keep them.
        TreeModelSink sink(tree_->Model());
        try {
            ReadTreeDat(content.value_or(""), sink);
        } catch (TreeLevelError& error) {
            error.SetFile(treeFile);
            throw;
        }
    }
    if (!folder.empty()) {
        archive_.files.SetFolder(folder);
    }
    reading_->FolderLoaded();
}

void MainWindow::ChooseDataFolder() {
    std::string start = SettingsFile(SettingsFilePath()).ReadText("Option", "Path", "");
    if (!DirectoryExists(start)) {
        start.clear();
    }
    const std::optional<QString> chosen = Dialogs().chooseFolder(this, FromLocalPath(start));
    if (chosen) {
        // A folder typed into the dialog that does not exist is taken: the
        // analysis run then reports it.
        UseDataFolder(ToLocalPath(*chosen));
    }
}

void MainWindow::OpenDataFolder(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        throw IoError(msg::Format(msg::kCannotOpenFolder, folder));
    }
    UseDataFolder(folder);
}

void MainWindow::UseDataFolder(const std::string& folder) {
    archive_.dataFolder = IncludeTrailingDelimiter(folder);
    try {
        SettingsFile(SettingsFilePath()).WriteText("Option", "Path", archive_.dataFolder);
    } catch (const SettingTooLongError& error) {
        // A path the settings cannot hold: the folder is analysed and kept
        // for this run only, which the message says.
        ShowErrorMessage(this, ErrorText(error));
    }
    analyzeTimer_->start();
    if (DirectoryExists(folder)) {
        recentFolders_->Remember(archive_.dataFolder);
    }
}

void MainWindow::PagePressed(Qt::MouseButton button) {
    if (button == Qt::RightButton) {
        pagePopupMenu_->popup(QCursor::pos());
    }
}

void MainWindow::CopySelection() {
    QGuiApplication::clipboard()->setText(page_->SelectionText(-1, 0));
}

SearchWindow& MainWindow::TheSearchWindow() {
    // Made at its first use, not to delay the start, and kept for the
    // program's life: closing it only hides it.
    if (searchWindow_ != nullptr) {
        return *searchWindow_;
    }
    searchWindow_ = new SearchWindow(archive_, *gauge_, *page_, this);
    // A hit opened by F4 or Shift+F4 has its node shown in the tree before
    // its text is marked; at either end of the list the third panel of the
    // status bar says so.
    connect(searchWindow_, &SearchWindow::hitStepped, this, [this] {
        statusNote_->Say(QString());
        Guarded(this, [this] { reading_->ShowInTree(); });
    });
    connect(searchWindow_, &SearchWindow::hitStepEnded, statusNote_, &StatusNote::Say);
    connect(searchWindow_, &SearchWindow::hitOpened, finding_, &FindingCommands::HitShown);
    return *searchWindow_;
}

void MainWindow::ShowSearchWindow() {
    Dialogs().execDialog(TheSearchWindow());
}

void MainWindow::SelectWholePage() {
    page_->SelectAllText();
}

void MainWindow::PrintPage() {
    const std::unique_ptr<QPrinter> printer = Dialogs().printer();
    if (!printer) {
        if (!OfferPdfInsteadOfPrinting(this, *page_)) {
            throw IoError("プリンタがありません。印刷できません。");
        }
        return;
    }
    page_->PrintDocument(*printer);
}

void MainWindow::SaveAsPdf() {
    SavePageAsPdf(this, *page_);
}

void MainWindow::Quit() {
    close();
}

void MainWindow::ShowVersionBox() {
    VersionBox box(this);
    Dialogs().execDialog(box);
}

void MainWindow::ShowAboutBox() {
    AboutBox box(this);
    Dialogs().execDialog(box);
}

void MainWindow::EditOptions() {
    teluri::EditOptions(this, *page_);
}

void MainWindow::ShowTutorial() {
    page_->LoadUrl(QString::fromStdString(PageUrl(DeliveredFile("tutor.htm"))));
}

}  // namespace teluri
