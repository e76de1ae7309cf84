#include "app/ui/frmmain.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "activity/ui/dmcgauge.h"
#include "activity/ui/statusbar.h"
#include "app/thread_tree.h"
#include "app/treebuilder.h"
#include "app/treedat.h"
#include "app/ui/filelistbox.h"
#include "app/ui/finding.h"
#include "app/ui/frmabout.h"
#include "app/ui/frmbar.h"
#include "app/ui/frmlogo.h"
#include "app/ui/pdf_export.h"
#include "app/ui/toolbar_fold.h"
#include "app/ui/top_line_panel.h"
#include "app/ui/tree_depth_guard.h"
#include "app/ui/tree_view_sink.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/paths.h"
#include "base/ui/access_keys.h"
#include "base/ui/after_first_paint.h"
#include "base/ui/busy_cursor.h"
#include "base/ui/center_on_screen.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/frozen_tree.h"
#include "base/ui/guard.h"
#include "base/ui/pictures.h"
#include "base/ui/qtext.h"
#include "bookmarks/ui/bookmark_menu.h"
#include "htmlview/thtml.h"
#include "reading/ui/reading_controller.h"
#include "reading/ui/window_memory.h"
#include "search/ui/frmfind.h"
#include "settings/inifile.h"
#include "settings/ui/optiondlg.h"

namespace teluri {
namespace {

constexpr int kTimerInterval = 100;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

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

// The analysis run in the window: the tree view receives the nodes, the
// file list the folder's names, the progress window and the gauge the
// course of the run.
class AnalysisRun : public TreeViewSink {
  public:
    AnalysisRun(TfrmMain& window, QTreeWidget& tree, const std::array<QIcon, 3>& pictures)
        : TreeViewSink(tree, pictures), window_(window), tree_(tree) {}

    void BeginRun() override {
        batch_.emplace(tree_);
        tree_.clear();
        bar_ = new TfrmBar(&window_);
        bar_->Start();
    }

    std::vector<std::string> ListFolder(const std::string& folder) override {
        window_.Filelist().SetDirectory(folder);
        return window_.Filelist().Names();
    }

    void Progress(int index, int count) override {
        window_.StepGauge();
        bar_->Step(ProgressPercent(index, count));
    }

    void EndRun() noexcept override {
        window_.ResetGauge();
        if (bar_ != nullptr) {
            bar_->Stop();
            bar_->deleteLater();
            bar_ = nullptr;
        }
        Finish();
        batch_.reset();
    }

  private:
    TfrmMain& window_;
    QTreeWidget& tree_;
    std::optional<FrozenTree> batch_;
    TfrmBar* bar_ = nullptr;
};

}  // namespace

TfrmMain::TfrmMain(QWidget* parent, TutorialLoad tutorial)
    : QMainWindow(parent), tutorialLoad_(tutorial) {
    setObjectName("frmMain");
    setWindowTitle(Text("Orvak Teluri Explorer"));
    setFont(WindowFont());
    ImageList1_ = {QIcon(TemplePicture(16)), QIcon(BuildingsPicture(16)),
                   QIcon(MissingPagePicture(16))};

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    QWidget* toolBar = BuildToolBar();
    column->addWidget(toolBar);
    ToolBarFold_ = new TToolBarFold(this, toolBar);
    column->addWidget(ToolBarFold_->SleepBar());
    column->addWidget(BuildPanes(), 1);
    StatusBar1_ = new TStatusBar(client, {75, 80, 50});
    column->addWidget(StatusBar1_);
    // The gauge's layout: the position first (it meets no status bar yet and
    // is ignored), then the status bar, the panel and the colours.
    DynamicGauge1_ = new TDynamicGauge(this);
    DynamicGauge1_->SetPosition(0);
    DynamicGauge1_->SetControl(StatusBar1_);
    DynamicGauge1_->SetGaugeIndex(0);
    DynamicGauge1_->SetColor(1, clSilver);
    DynamicGauge1_->SetColor(2, clGray);
    DynamicGauge1_->SetColor(3, clYellow);
    DynamicGauge1_->SetColor(4, clSilver);
    setCentralWidget(client);
    BuildMenus();
    BuildReading(*toolBar);
    Finding_ = new TFinding(*this, *View1_, *toolBar, *ToolBarFold_, *HTML1_, *trvTeluri_);
    new LabelAccessKeys(this);

    tmrAnalyze_ = new QTimer(this);
    tmrAnalyze_->setObjectName("tmrAnalyze");
    tmrAnalyze_->setInterval(kTimerInterval);
    connect(tmrAnalyze_, &QTimer::timeout, this, [this] { Handle(&TfrmMain::tmrAnalyzeTimer); });
    tmrDefault_ = new QTimer(this);
    tmrDefault_->setObjectName("tmrDefault");
    tmrDefault_->setInterval(kTimerInterval);
    connect(tmrDefault_, &QTimer::timeout, this, [this] { Handle(&TfrmMain::tmrDefaultTimer); });

    // Designed at 714 x 508, centred; maximised by the creation steps.
    resize(714, 508);
    CenterOnScreen(*this);
    Handle(&TfrmMain::FormCreate);
    Guarded(this, [this] { WindowMemory_->Restore(); });

    // The search window, made right after the main window and kept for the
    // program's life; it reads the file list and drives the gauge and the
    // display through these.
    FindHost findHost;
    findHost.fileNames = [this] { return Filelist_->Names(); };
    findHost.fileFolder = [this] { return Filelist_->Directory(); };
    findHost.stepGauge = [this] { StepGauge(); };
    findHost.resetGauge = [this] { ResetGauge(); };
    findHost.html = [this]() -> IHTML& { return *HTML1_; };
    findHost.hitShown = [this](const QString& text) { Finding_->HitShown(text); };
    frmFind_ = new TfrmFind(std::move(findHost), this);
}

void TfrmMain::Handle(void (TfrmMain::*handler)()) {
    Guarded(this, [this, handler] { (this->*handler)(); });
}

QWidget* TfrmMain::BuildToolBar() {
    auto* panel = new TopLinePanel(this, "Panel1", "Bevel3", 29);
    struct Button {
        const char* name;
        int left;
        const char* hint;
        QPixmap glyph;
        void (TfrmMain::*handler)();
    };
    const Button buttons[] = {
        {"btnOpen", 14, "Teluriﾃﾞｰﾀのﾌｫﾙﾀﾞを開く", OpenFolderGlyph(), &TfrmMain::btnOpenClick},
        {"btnPrint", 37, "印刷", PrintGlyph(), &TfrmMain::btnPrintClick},
        {"btnCopy", 60, "ｺﾋﾟｰ", CopyGlyph(), &TfrmMain::btnCopyClick},
        {"btnFind", 91, "検索", FindGlyph(), &TfrmMain::Find1Click},
        {"btnHelp", 123, "ﾊﾞｰｼﾞｮﾝ情報", HelpGlyph(), &TfrmMain::About1Click},
    };
    for (const Button& button : buttons) {
        auto* tool = new QToolButton(panel);
        tool->setObjectName(button.name);
        tool->setGeometry(button.left, 4, 23, 23);
        tool->setAutoRaise(true);
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setIcon(QIcon(button.glyph));
        tool->setToolTip(Text(button.hint));
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

void TfrmMain::BuildReading(QWidget& toolBar) {
    Reading_ = new ReadingController(
        {*this, *menuBar(), *trvTeluri_, *HTML1_, *View1_, toolBar, [this] { return DataPath_; },
         [](const QModelIndex& node) { return PageNumberOf(NodeBytes(node).toStdString()); }});
    WindowMemory_ = new WindowMemory(*this, *Splitter1_,
                                     {[this] { return !ToolBarFold_->SleepBar()->isHidden(); },
                                      [this] { ToolBarFold_->Image1Click(); }});
}

QWidget* TfrmMain::BuildPanes() {
    auto* splitter = Splitter1_ = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("Splitter1");
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);

    auto* left = new QWidget(splitter);
    left->setObjectName("Panel2");
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->setSpacing(0);
    auto* label1 = new QLabel(Text("議題(&S)"));
    label1->setObjectName("Label1");
    leftColumn->addWidget(CaptionStrip(left, "Bevel1", label1, QPoint(8, 2)));
    trvTeluri_ = new QTreeWidget(left);
    trvTeluri_->setObjectName("trvTeluri");
    trvTeluri_->setHeaderHidden(true);
    trvTeluri_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trvTeluri_->setIndentation(19);
    trvTeluri_->setRootIsDecorated(true);
    trvTeluri_->setUniformRowHeights(true);
    // Long titles scroll sideways instead of being cut short.
    trvTeluri_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    trvTeluri_->header()->setStretchLastSection(false);
    trvTeluri_->setIconSize(QSize(16, 16));
    new TreeDepthGuard(*trvTeluri_);
    label1->setBuddy(trvTeluri_);
    leftColumn->addWidget(trvTeluri_, 1);
    connect(trvTeluri_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        Guarded(this, [this, node] { trvTeluriChange(node); });
    });

    auto* right = new QWidget(splitter);
    right->setObjectName("Panel3");
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(0);
    auto* label2 = new QLabel(Text(" 内容(&H)"));
    label2->setObjectName("Label2");
    rightColumn->addWidget(CaptionStrip(right, "Bevel2", label2, QPoint(9, 3)));
    HTML1_ = new THTML(right);
    HTML1_->setObjectName("HTML1");
    HTML1_->SetOnMouseDown([this](Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        Guarded(this, [this, button] { HTML1MouseDown(button); });
    });
    label2->setBuddy(HTML1_);
    rightColumn->addWidget(HTML1_, 1);
    Filelist_ = new TFileListBox(right);

    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({281, 433});
    return splitter;
}

void TfrmMain::BuildMenus() {
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        void (TfrmMain::*handler)();
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
            {{"Open1", "開く(&O)...", QKeySequence("Ctrl+O"), &TfrmMain::btnOpenClick},
             {"QuickOpen1", "ドラフトオープン", {}, &TfrmMain::QuickOpen1Click},
             {"Print2", "印刷(&P)", {}, &TfrmMain::btnPrintClick},
             {"N2", nullptr, {}, nullptr},
             {"Exit1", "終了(&X)", {}, &TfrmMain::Exit1Click}});
    addMenu(menu("Edit1", "編集(&E)"),
            {{"Copy2", "コピー(&C)", QKeySequence("Ctrl+C"), &TfrmMain::btnCopyClick},
             {"Find1", "検索(&F)....", QKeySequence("F3"), &TfrmMain::Find1Click},
             {"N3", nullptr, {}, nullptr},
             {"SelectAll2", "すべて選択(&A)", QKeySequence("Ctrl+A"), &TfrmMain::SelectAll1Click},
             {"N6", nullptr, {}, nullptr},
             {"Option1", "環境設定...", {}, &TfrmMain::Option1Click}});
    // The reading and finding commands that go beyond the original menus.
    View1_ = menu("View1", "表示(&V)");
    QMenu* bookmarks = menu("Bookmark1", "ブックマーク(&B)");
    addMenu(bookmarks, {{"BMAdd1", "このページを追加する", {}, nullptr},
                        {"BMEdit1", "ブックマークの編集...", {}, nullptr}});
    bookmarks->findChild<QAction*>("BMEdit1")->setVisible(false);
    Bookmarks_ = new TBookmarkMenu(*this, *bookmarks, *bookmarks->findChild<QAction*>("BMAdd1"),
                                   *bookmarks->findChild<QAction*>("BMEdit1"), *HTML1_,
                                   [this] { return DataPath_; });
    addMenu(menu("Help1", "ヘルプ(&H)"),
            {{"Tutorial1", "使い方(&T)", {}, &TfrmMain::Tutorial1Click},
             {"N4", "TeluriExplorerについて...", {}, &TfrmMain::N4Click},
             {"N5", nullptr, {}, nullptr},
             {"About1", "バージョン情報(&A)...", {}, &TfrmMain::About1Click}});

    PopupMenu1_ = new QMenu(this);
    PopupMenu1_->setObjectName("PopupMenu1");
    addMenu(PopupMenu1_,
            {{"Copy1", "ｺﾋﾟｰ(&C)", QKeySequence("Ctrl+C"), &TfrmMain::btnCopyClick},
             {"SelectAll1", "すべて選択(&A)", QKeySequence("Ctrl+A"), &TfrmMain::SelectAll1Click},
             {"N1", nullptr, {}, nullptr},
             {"Print1", "印刷(&P)", {}, &TfrmMain::btnPrintClick},
             {"SavePdf1", "PDF として保存...", {}, &TfrmMain::SavePdf1Click}});
}

IHTML& TfrmMain::Html() {
    return *HTML1_;
}

void TfrmMain::StepGauge() {
    DynamicGauge1_->Advance(4);
}

void TfrmMain::ResetGauge() {
    DynamicGauge1_->SetPosition(0);
}

void TfrmMain::FormCreate() {
    const TIniFile ini(SettingsFilePath());
    HTML1_->SetFontSize(ini.ReadNumber("Font", "Size", 10));
    HTML1_->SetFixedFontSize(ini.ReadNumber("Font", "FixSize", 10));
    setWindowState(windowState() | Qt::WindowMaximized);
    DataPath_ = ini.ReadText("Option", "Path", ExeFolder());
    if (tutorialLoad_ == TutorialLoad::kAtOnce) {
        Tutorial1Click();
    } else {
        // Unless another page is shown by then.
        AfterFirstPaint(*HTML1_->viewport(), [this] {
            if (HTML1_->DocumentUrl().isEmpty()) {
                Handle(&TfrmMain::Tutorial1Click);
            }
        });
    }
    Bookmarks_->LoadBookmarks();
    tmrDefault_->start();
}

void TfrmMain::tmrDefaultTimer() {
    tmrDefault_->stop();
    const TIniFile ini(SettingsFilePath());
    if (ini.ReadFlag("Startup", "DraftOpen", false)) {
        repaint();
        QuickOpen1Click();
    }
}

void TfrmMain::tmrAnalyzeTimer() {
    tmrAnalyze_->stop();
    BusyCursor busy;
    BuildTree();
    WriteTreeDat(ProgramFile(kTreeFileName), TreeLinesOf(*trvTeluri_));
}

void TfrmMain::BuildTree() {
    AnalysisRun run(*this, *trvTeluri_, ImageList1_);
    teluri::BuildTree(DataPath_, run);
}

void TfrmMain::QuickOpen1Click() {
    const std::string folder = TIniFile(SettingsFilePath()).ReadText("Option", "Path", "");
    const std::string treeFile = ProgramFile(kTreeFileName);
    if (!FileExists(treeFile)) {
        return;
    }
    BusyCursor busy;
    const std::optional<std::string> content = ReadFileIfExists(treeFile);
    {
        FrozenTree batch(*trvTeluri_);
        trvTeluri_->clear();
        // No pictures: the saved tree does not keep them.
        TreeViewSink sink(*trvTeluri_, {});
        try {
            ReadTreeDat(content.value_or(""), sink);
        } catch (TreeLevelError& error) {
            error.SetFile(treeFile);
            throw;
        }
    }
    if (!folder.empty()) {
        Filelist_->SetDirectory(folder);
    }
}

void TfrmMain::btnOpenClick() {
    TIniFile ini(SettingsFilePath());
    std::string start = ini.ReadText("Option", "Path", "");
    if (!DirectoryExists(start)) {
        start.clear();
    }
    const std::optional<QString> chosen = Dialogs().chooseFolder(this, FromLocalPath(start));
    if (!chosen) {
        return;
    }
    DataPath_ = IncludeTrailingDelimiter(ToLocalPath(*chosen));
    ini.WriteText("Option", "Path", DataPath_);
    tmrAnalyze_->start();
}

void TfrmMain::trvTeluriChange(QTreeWidgetItem* node) {
    if (node == nullptr) {
        return;
    }
    const QByteArray text = NodeBytes(*node);
    const std::string page = PageFile(DataPath_, PageNumberOf(text.toStdString()));
    HTML1_->LoadUrl(QString::fromStdString(PageUrl(page)));
}

void TfrmMain::HTML1MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) {
        PopupMenu1_->popup(QCursor::pos());
    }
}

void TfrmMain::btnCopyClick() {
    QGuiApplication::clipboard()->setText(HTML1_->SelectionText(-1, 0));
}

void TfrmMain::Find1Click() {
    Dialogs().execDialog(*frmFind_);
}

void TfrmMain::SelectAll1Click() {
    HTML1_->SelectAllText();
}

void TfrmMain::btnPrintClick() {
    const std::unique_ptr<QPrinter> printer = Dialogs().printer();
    if (!printer) {
        if (!OfferPdfInsteadOfPrinting(this, *HTML1_)) {
            throw IoError("プリンタがありません。印刷できません。");
        }
        return;
    }
    HTML1_->PrintDocument(*printer);
}

void TfrmMain::SavePdf1Click() {
    SavePageAsPdf(this, *HTML1_);
}

void TfrmMain::Exit1Click() {
    close();
}

void TfrmMain::About1Click() {
    TfrmLogo box(this);
    Dialogs().execDialog(box);
}

void TfrmMain::N4Click() {
    TfrmAbout box(this);
    Dialogs().execDialog(box);
}

void TfrmMain::Option1Click() {
    teluri::Option1Click(this, *HTML1_);
}

void TfrmMain::Tutorial1Click() {
    HTML1_->LoadUrl(QString::fromStdString(PageUrl(DeliveredFile("tutor.htm"))));
}

}  // namespace teluri
