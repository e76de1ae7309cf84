// Drives the main window under the offscreen platform for the benchmarks:
//
//   teluri_window_bench analyze DIR          the open command on DIR and its analysis run
//   teluri_window_bench draft TREE_DAT [DIR] the draft open of a saved tree (DIR: the data
//                                            folder the settings name)
//   teluri_window_bench search DIR TEXT      the search window on DIR: TEXT typed, Enter
//   teluri_window_bench filter TREE_DAT DIR WORD...
//                                            after a draft open, each word typed into the
//                                            thread filter letter by letter and deleted again
//   teluri_window_bench startup [BOOKMARK_DAT]
//                                            the main window created and shown, then quit
//                                            (BOOKMARK_DAT: the bookmarks it starts with)
//   teluri_window_bench plain                a plain Qt main window with a menu bar, a tool
//                                            bar, a tree, a rich-text view and a status bar,
//                                            all with Japanese text, shown, then quit
//   teluri_window_bench bare                 an empty QMainWindow shown, then quit
//
// Each mode prints one line of "name=value" figures (milliseconds, node
// counts) on standard output; the caller measures the whole process. The
// program folder (TELURI_HOME) and XDG_RUNTIME_DIR are private temporary
// folders, removed at the end; the current folder is the program folder, so
// that the window's file list starts out empty (the search: the data folder,
// which the file list then shows, as when the program starts there).
//
// TELURI_BENCH_PLATFORM names the Qt platform to run on (default offscreen;
// "xcb" runs on the display in DISPLAY, under its window manager).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QWindow>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/main_window.h"
#include "app/ui/version_box.h"
#include "base/files.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "search/ui/thread_filter.h"

namespace {

namespace fs = std::filesystem;

// Time since the process entered main().
QElapsedTimer g_clock;
// The private program folder, removed also when the program fails.
std::string g_home;

double Now() {
    return static_cast<double>(g_clock.nsecsElapsed()) / 1e6;
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "teluri_window_bench: %s\n", message.c_str());
    if (!g_home.empty()) {
        std::error_code error;
        fs::remove_all(g_home, error);
    }
    std::_Exit(1);
}

// A private folder under the system's temporary folder, removed on exit.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "teluri-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            Fail("cannot create a temporary folder");
        }
        path_ = pattern;
        g_home = pattern;
    }
    ~TempFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// Sets up the private folders before the application object exists.
void PrepareEnvironment(const TempFolder& home) {
    const fs::path runtime = home.Path() / "xdg-runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("TELURI_HOME", (home.Path().string() + "/").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const char* platform = std::getenv("TELURI_BENCH_PLATFORM");
    ::setenv("QT_QPA_PLATFORM", platform != nullptr ? platform : "offscreen", 1);
    std::error_code error;
    fs::copy_file(TELURI_TUTORIAL_FILE, home.Path() / "tutor.htm", error);
    fs::current_path(home.Path());
}

// Any message box means the run failed: the benchmark must not time errors.
void InstallDialogAnswers(const std::string& folder) {
    teluri::DialogHooks& hooks = teluri::Dialogs();
    hooks.messageBox = [](QWidget*, QMessageBox::Icon, const QString& caption,
                          const QString& text) {
        Fail("message box: " + caption.toStdString() + ": " + text.toStdString());
    };
    hooks.execDialog = [](QDialog&) { return 0; };
    hooks.chooseFolder = [folder](QWidget*, const QString&) -> std::optional<QString> {
        return QString::fromStdString(folder);
    };
}

// Runs the event loop until `done` holds (checked after each batch of
// events, or after each single pass of the loop when `passByPass`), for at
// most a minute.
template <typename Done>
void WaitUntil(Done&& done, bool passByPass = false) {
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 60000) {
            Fail("timed out");
        }
        if (passByPass) {
            QCoreApplication::processEvents();
        } else {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        if (!done()) {
            ::usleep(100);
        }
    }
}

// Notes the moments a watched object receives its first event of one type
// after Arm().
class EventWatch : public QObject {
  public:
    EventWatch(QObject& watched, QEvent::Type type) : type_(type) {
        watched.installEventFilter(this);
    }
    void Arm() {
        armed_ = true;
        seen_ = false;
    }
    bool Seen() const { return seen_; }
    double At() const { return at_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (armed_ && !seen_ && event->type() == type_) {
            seen_ = true;
            at_ = Now();
        }
        return false;
    }

  private:
    QEvent::Type type_;
    bool armed_ = false;
    bool seen_ = false;
    double at_ = 0;
};

// Waits until the window has painted once: it is then on the screen. What
// the window leaves for after its first paint (the tutorial page) is not
// waited for: each pass of the event loop is checked, so that the pass
// after the paint does not run.
void WaitShown(QWidget& window) {
    EventWatch painted(window, QEvent::Paint);
    painted.Arm();
    WaitUntil([&painted] { return painted.Seen(); }, true);
}

// Lets the window's start-up timers fire, so that they do not fall into a
// measurement.
void Settle(int milliseconds) {
    QElapsedTimer settle;
    settle.start();
    WaitUntil([&settle, milliseconds] { return settle.elapsed() >= milliseconds; });
}

// Shows the window and lets its start-up timers fire.
void ShowAndSettle(QWidget& window) {
    window.show();
    WaitShown(window);
    Settle(250);
}

// Every node the view's model holds, with an explicit stack: chains are
// thousands of levels deep.
int CountNodes(const QTreeView& tree) {
    const QAbstractItemModel& model = *tree.model();
    int count = 0;
    std::vector<QModelIndex> pending{QModelIndex()};
    while (!pending.empty()) {
        const QModelIndex parent = pending.back();
        pending.pop_back();
        const int rows = model.rowCount(parent);
        count += rows;
        for (int row = 0; row < rows; ++row) {
            pending.push_back(model.index(row, 0, parent));
        }
    }
    return count;
}

QTreeView& TreeOf(teluri::MainWindow& window) {
    auto* tree = window.findChild<QTreeView*>("trvTeluri");
    if (tree == nullptr) {
        Fail("no tree view");
    }
    return *tree;
}

void TriggerAction(teluri::MainWindow& window, const char* name) {
    auto* action = window.findChild<QAction*>(name);
    if (action == nullptr) {
        Fail(std::string("no action ") + name);
    }
    action->trigger();
}

// The open command on `folder`: the run starts when tmrAnalyze fires and
// ends when its handler returns (the tree saved); "painted" is the end of
// the first paint of the tree view after it.
int Analyze(const std::string& folder) {
    InstallDialogAnswers(folder);
    teluri::MainWindow window;
    window.show();
    WaitShown(window);
    Settle(250);
    QTreeView& tree = TreeOf(window);
    auto* timer = window.findChild<QTimer*>("tmrAnalyze");
    if (timer == nullptr) {
        Fail("no tmrAnalyze");
    }
    EventWatch fired(*timer, QEvent::Timer);
    EventWatch painted(*tree.viewport(), QEvent::Paint);
    double ended = -1;
    // Connected after the window's own handler, so it runs once that returns.
    QObject::connect(timer, &QTimer::timeout, &window, [&ended] { ended = Now(); });
    fired.Arm();
    TriggerAction(window, "Open1");
    WaitUntil([&ended] { return ended >= 0; });
    painted.Arm();
    WaitUntil([&painted] { return painted.Seen(); });
    QCoreApplication::processEvents();
    const double shown = Now();
    std::printf("run_ms=%.3f painted_ms=%.3f nodes=%d\n", ended - fired.At(), shown - fired.At(),
                CountNodes(tree));
    return 0;
}

// Puts a saved tree and the settings naming `folder` into the program folder.
void PrepareDraft(const fs::path& home, const std::string& treeFile, const std::string& folder) {
    InstallDialogAnswers(folder);
    fs::copy_file(treeFile, home / "Tree.dat", fs::copy_options::overwrite_existing);
    if (!folder.empty()) {
        std::string ini = "[Option]\r\nPath=" + folder;
        if (ini.back() != '/') {
            ini += '/';
        }
        ini += "\r\n";
        if (teluri::WriteFileAtomically((home / "Teluri.ini").string(), ini)) {
            Fail("cannot write Teluri.ini");
        }
    }
}

// The draft open of `treeFile`, copied into the program folder as Tree.dat.
int Draft(const fs::path& home, const std::string& treeFile, const std::string& folder) {
    PrepareDraft(home, treeFile, folder);
    teluri::MainWindow window;
    ShowAndSettle(window);
    QTreeView& tree = TreeOf(window);
    EventWatch painted(*tree.viewport(), QEvent::Paint);
    const double start = Now();
    TriggerAction(window, "QuickOpen1");
    const double ended = Now();
    painted.Arm();
    WaitUntil([&painted] { return painted.Seen(); });
    QCoreApplication::processEvents();
    const double shown = Now();
    std::printf("draft_ms=%.3f painted_ms=%.3f nodes=%d\n", ended - start, shown - start,
                CountNodes(tree));
    return 0;
}

// The search window on the file list of `folder`: `text` typed into its
// field and Enter pressed. The search ends when the key's handler returns
// (rows in the list, the log written); "painted" is the end of the list's
// first paint after it.
int Search(const std::string& folder, const std::string& text) {
    InstallDialogAnswers(folder);
    fs::current_path(folder);
    teluri::MainWindow window;
    window.show();
    WaitShown(window);
    Settle(250);
    double searched = -1;
    double shown = -1;
    int rows = 0;
    teluri::Dialogs().execDialog = [&](QDialog& dialog) {
        dialog.show();
        WaitShown(dialog);
        Settle(100);
        auto* field = dialog.findChild<QComboBox*>("cmbFind");
        auto* list = dialog.findChild<QTreeView*>("lsvFInd");
        if (field == nullptr || list == nullptr || field->lineEdit() == nullptr) {
            Fail("no search field or list");
        }
        field->setEditText(QString::fromStdString(text));
        QCoreApplication::processEvents();
        EventWatch painted(*list->viewport(), QEvent::Paint);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        const double start = Now();
        painted.Arm();
        QCoreApplication::sendEvent(field->lineEdit(), &press);
        QCoreApplication::sendEvent(field->lineEdit(), &release);
        searched = Now() - start;
        WaitUntil([&painted] { return painted.Seen(); });
        QCoreApplication::processEvents();
        shown = Now() - start;
        rows = list->model()->rowCount();
        dialog.hide();
        return 0;
    };
    TriggerAction(window, "Find1");
    if (searched < 0) {
        Fail("the search window did not open");
    }
    std::printf("search_ms=%.3f painted_ms=%.3f rows=%d\n", searched, shown, rows);
    return 0;
}

// How long a user takes from giving the thread filter the focus to typing
// its first letter, at the least.
constexpr int kTypingPause = 150;

// The thread filter after a draft open, once the window has drawn the tree:
// the field takes the focus (as Ctrl+L gives it), and after `pause`
// milliseconds every word is typed letter by letter, then deleted letter by
// letter. Each keystroke is timed from the change of the field's text until
// the tree's items are updated, and until the tree view has painted; the
// pages are read from the moment the field takes the focus, and the first
// letter waits for what is left of that. "pages_<word>" is the count the
// field shows for the whole word.
int Filter(const fs::path& home, const std::string& treeFile, const std::string& folder,
           const std::vector<std::string>& words, int pause) {
    PrepareDraft(home, treeFile, folder);
    teluri::MainWindow window;
    ShowAndSettle(window);
    TriggerAction(window, "QuickOpen1");
    Settle(250);
    QTreeView& tree = TreeOf(window);
    auto* filter = window.findChild<teluri::ThreadFilter*>("edtFilter");
    if (filter == nullptr) {
        Fail("no thread filter");
    }
    filter->setFocus(Qt::ShortcutFocusReason);
    if (!filter->hasFocus()) {
        Fail("the thread filter did not take the focus");
    }
    if (pause > 0) {
        Settle(pause);
    }
    // Per keystroke: until the tree's items are updated, and until painted.
    std::vector<std::pair<double, double>> keys;
    std::string pages;
    const auto key = [&](const QString& text) {
        const double start = Now();
        filter->setText(text);
        const double updated = Now();
        tree.viewport()->repaint();
        keys.emplace_back(updated - start, Now() - start);
    };
    for (const std::string& word : words) {
        const QString typed = QString::fromStdString(word);
        for (qsizetype length = 1; length <= typed.size(); ++length) {
            key(typed.left(length));
        }
        pages += " pages_" + word + "=" + filter->CountText().section(' ', 0, 0).toStdString();
        for (qsizetype length = typed.size() - 1; length >= 0; --length) {
            key(typed.left(length));
        }
    }
    const auto [first, firstPainted] = keys.front();
    std::vector<double> updated;
    std::vector<double> painted;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        updated.push_back(keys[i].first);
        painted.push_back(keys[i].second);
    }
    std::sort(updated.begin(), updated.end());
    std::sort(painted.begin(), painted.end());
    std::printf(
        "first_ms=%.3f first_painted_ms=%.3f key_max_ms=%.3f key_max_painted_ms=%.3f "
        "key_median_painted_ms=%.3f keys=%zu texts_bytes=%zu%s\n",
        first, firstPainted, updated.back(), painted.back(), painted[painted.size() / 2],
        updated.size(), filter->HeldBytes(), pages.c_str());
    return 0;
}

// As the program starts: the splash, the main window, shown; then quit.
int Startup(const fs::path& home, const std::string& bookmarkFile) {
    InstallDialogAnswers({});
    if (!bookmarkFile.empty()) {
        fs::copy_file(bookmarkFile, home / "Bookmark.dat");
    }
    QApplication::setApplicationName(teluri::kApplicationTitle);
    QApplication::setFont(teluri::WindowFont());
    auto splash = std::make_unique<teluri::VersionBox>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    teluri::MainWindow window(nullptr, teluri::TutorialLoad::kAfterFirstPaint);
    window.show();
    splash.reset();
    WaitShown(window);
    std::printf("shown_ms=%.3f\n", Now());
    return 0;
}

// The reference for start-up: the kinds of widgets the main window has,
// with Japanese text, and nothing of the program.
int Plain() {
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8("掲示板ビューア"));
    for (const char* title : {"ファイル(&F)", "編集(&E)", "表示(&V)", "ヘルプ(&H)"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (const char* item : {"開く(&O)...", "保存(&S)", "検索(&F)...", "終了(&X)"}) {
            menu->addAction(QString::fromUtf8(item));
        }
    }
    QToolBar* tools = window.addToolBar(QString::fromUtf8("ツールバー"));
    for (const char* item : {"開く", "更新", "検索", "しおり"}) {
        tools->addAction(QString::fromUtf8(item));
    }
    auto* splitter = new QSplitter(&window);
    auto* tree = new QTreeWidget(splitter);
    tree->setHeaderHidden(true);
    for (int i = 0; i < 20; ++i) {
        auto* root = new QTreeWidgetItem(
            tree, {QString::fromUtf8("%1:初心者です。TImage の Color について").arg(1000 + i)});
        new QTreeWidgetItem(root, {QString::fromUtf8("%1:Re: 初心者です").arg(2000 + i)});
    }
    auto* view = new QTextBrowser(splitter);
    view->setHtml(QString::fromUtf8(
        "<html><body><b><font>初心者です。TImage の Color について</font></b><hr>"
        "<p>ヘルプを読んでみたのですが、Color についての説明が見つかりませんでした。<br>"
        "過去ログも探してみましたが、同じ症例は見当たりませんでした。</p>"
        "<pre>procedure TForm1.Button1Click(Sender: TObject);</pre></body></html>"));
    window.setCentralWidget(splitter);
    window.statusBar()->showMessage(QString::fromUtf8("準備完了"));
    window.resize(800, 600);
    window.show();
    WaitShown(window);
    std::printf("shown_ms=%.3f\n", Now());
    return 0;
}

int Bare() {
    QMainWindow window;
    window.show();
    WaitShown(window);
    std::printf("shown_ms=%.3f\n", Now());
    return 0;
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: teluri_window_bench analyze DIR | draft TREE_DAT [DIR] | search DIR TEXT | "
        "filter[-at-once] TREE_DAT DIR WORD... | startup [BOOKMARK_DAT] | plain | bare\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    g_clock.start();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage();
    }
    const std::string& mode = args[0];
    // Paths are taken before the current folder changes.
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < args.size(); ++i) {
        paths.push_back(fs::absolute(args[i]).string());
    }
    const TempFolder home;
    PrepareEnvironment(home);
    QApplication application(argc, argv);
    if (mode == "analyze" && paths.size() == 1) {
        return Analyze(paths[0]);
    }
    if (mode == "draft" && (paths.size() == 1 || paths.size() == 2)) {
        return Draft(home.Path(), paths[0], paths.size() == 2 ? paths[1] : std::string());
    }
    if (mode == "search" && args.size() == 3) {
        return Search(paths[0], args[2]);
    }
    if ((mode == "filter" || mode == "filter-at-once") && args.size() >= 4) {
        return Filter(home.Path(), paths[0], paths[1],
                      std::vector<std::string>(args.begin() + 3, args.end()),
                      mode == "filter" ? kTypingPause : 0);
    }
    if (mode == "startup" && paths.size() <= 1) {
        return Startup(home.Path(), paths.empty() ? std::string() : paths[0]);
    }
    if (mode == "plain" && paths.empty()) {
        return Plain();
    }
    if (mode == "bare" && paths.empty()) {
        return Bare();
    }
    return Usage();
}
