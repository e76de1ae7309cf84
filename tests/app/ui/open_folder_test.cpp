// Opening a data folder from outside the open dialog: by the program's
// argument (OpenDataFolder), by a drop on the window and from the File
// menu's recent folders.
#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <filesystem>

#include "app/ui/main_window.h"
#include "base/ui/guard.h"
#include "settings/settings_file.h"
#include "tests/support/pages.h"
#include "tests/ui/tree_nodes.h"
#include "tests/ui/ui_support.h"

namespace teluri {
namespace {

using test::Page;
using test::ReadFile;

using test::WriteFile;

QStringList ActionNames(const QMenu& menu) {
    QStringList names;
    for (const QAction* action : menu.actions()) {
        names.append(action->objectName());
    }
    return names;
}

}  // namespace

class OpenFolderTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;
    std::unique_ptr<MainWindow> window_;

    test::UiFixture& fixture() { return *fixture_; }

    // A data folder `name` in the program folder, with one page.
    std::string MakeFolder(const std::string& name) {
        const std::string folder = fixture().Home() + name + "/";
        std::filesystem::create_directory(folder);
        WriteFile(folder + "1001.msg", Page("1001", "title"));
        return folder;
    }

    std::string OptionPath() {
        return SettingsFile(fixture().HomeFile("Teluri.ini")).ReadText("Option", "Path", "");
    }

    // Opens as main() does for the program's argument: guarded.
    void Open(const std::string& folder) {
        Guarded(window_.get(), [this, &folder] { window_->OpenDataFolder(folder); });
    }

    bool AnalysisEnded() { return !window_->findChild<QTimer*>("tmrAnalyze")->isActive(); }

    int NodeCount() { return test::ThreadCount(*window_->findChild<QTreeView*>("trvTeluri")); }

    QMenu& RecentMenu() { return *window_->findChild<QMenu*>("RecentFolders1"); }

    QStringList RecentCaptions() {
        QStringList captions;
        for (const QAction* action : RecentMenu().actions()) {
            captions.append(action->text());
        }
        return captions;
    }

    // Drags `urls` over the window and drops them; whether the drag was
    // taken.
    bool Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = window_->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &drop);
        return drop.isAccepted();
    }

  private slots:
    void init() {
        fixture_ = std::make_unique<test::UiFixture>();
        window_ = std::make_unique<MainWindow>();
        window_->show();
    }
    void cleanup() {
        window_.reset();
        fixture_.reset();
    }

    void aFolderOpensAsTheOpenCommandDoes() {
        const std::string folder = MakeFolder("archive");
        window_->OpenDataFolder(folder.substr(0, folder.size() - 1));
        QCOMPARE(window_->CurrentArchive().dataFolder, folder);
        QCOMPARE(OptionPath(), folder);
        QVERIFY(QTest::qWaitFor([this] { return AnalysisEnded() && NodeCount() == 1; }));
        QVERIFY(fixture().messages.empty());
        // Written on a thread of its own.
        QTRY_VERIFY(std::filesystem::exists(fixture().HomeFile("Tree.dat")));
    }

    // A missing folder or a file: the standard error box, and the folder
    // in use, Teluri.ini and the recent folders stay as they were.
    void aPathThatIsNoFolderChangesNothing() {
        const std::string folder = MakeFolder("archive");
        Open(folder);
        QVERIFY(QTest::qWaitFor([this] { return AnalysisEnded(); }));
        const std::string windowIni = ReadFile(fixture().HomeFile("Window.ini"));
        for (const std::string& path : {folder + "1001.msg", fixture().Home() + "missing"}) {
            fixture().messages.clear();
            Open(path);
            QCOMPARE(fixture().messages.size(), std::size_t{1});
            QCOMPARE(fixture().messages[0].text,
                     QString::fromUtf8("ﾌｫﾙﾀﾞ %1 は開けません").arg(QString::fromStdString(path)));
            QCOMPARE(fixture().messages[0].caption, QString("Orvak TeluriExplorer"));
            QCOMPARE(window_->CurrentArchive().dataFolder, folder);
            QCOMPARE(OptionPath(), folder);
            QCOMPARE(ReadFile(fixture().HomeFile("Window.ini")), windowIni);
            QVERIFY(AnalysisEnded());
        }
    }

    void aDroppedFolderOpens() {
        const std::string folder = MakeFolder("dropped");
        QVERIFY(!Drop({QUrl("https://example.org/")}));
        QVERIFY(!Drop({QUrl::fromLocalFile(QString::fromStdString(folder)),
                       QUrl::fromLocalFile(QString::fromStdString(fixture().Data()))}));
        QVERIFY(Drop({QUrl::fromLocalFile(QString::fromStdString(folder))}));
        // Opened once the drop has ended.
        QVERIFY(QTest::qWaitFor([&] { return OptionPath() == folder; }));
        QVERIFY(QTest::qWaitFor([this] { return AnalysisEnded() && NodeCount() == 1; }));
        QVERIFY(fixture().messages.empty());
        // A dropped file is reported, as any path that is no folder.
        QVERIFY(Drop({QUrl::fromLocalFile(QString::fromStdString(folder + "1001.msg"))}));
        QVERIFY(QTest::qWaitFor([this] { return fixture().messages.size() == 1; }));
        QCOMPARE(OptionPath(), folder);
    }

    // The submenu stands before the separator above 終了; every other item
    // keeps its place.
    void theRecentFoldersMenuStandsBeforeTheSeparatorAboveExit() {
        QMenu& file = *window_->menuBar()->findChild<QMenu*>("File1");
        QCOMPARE(ActionNames(file), QStringList({"Open1", "QuickOpen1", "Print2",
                                                 "RecentFoldersMenu1", "N2", "Exit1"}));
        QCOMPARE(RecentMenu().title(), QString::fromUtf8("最近使ったフォルダ(&R)"));
        QVERIFY(!RecentMenu().isEnabled());
    }

    void openedFoldersAreListedNewestFirstUpToEight() {
        std::vector<std::string> folders;
        for (int index = 1; index <= 9; ++index) {
            folders.push_back(MakeFolder("a&" + std::to_string(index)));
            Open(folders.back());
        }
        Open(folders[4]);
        QVERIFY(fixture().messages.empty());
        const QString home = QString::fromStdString(fixture().Home());
        QStringList expected;
        int key = 1;
        for (const int index : {5, 9, 8, 7, 6, 4, 3, 2}) {
            expected.append(QString("&%1 %2a&&%3").arg(key++).arg(home).arg(index));
        }
        QCOMPARE(RecentCaptions(), expected);
        QVERIFY(RecentMenu().isEnabled());
        // Kept in Window.ini: a new window lists them as they were.
        window_ = std::make_unique<MainWindow>();
        QCOMPARE(RecentCaptions(), expected);
        QVERIFY(ReadFile(fixture().HomeFile("Window.ini"))
                    .find("[RecentFolders]\r\nFolder1=" + folders[4] + "\r\n") !=
                std::string::npos);
    }

    void aChosenFolderOpensAndAGoneOneIsRemovedWithAMessage() {
        const std::string first = MakeFolder("first");
        const std::string second = MakeFolder("second");
        Open(first);
        Open(second);
        QVERIFY(QTest::qWaitFor([this] { return AnalysisEnded(); }));
        RecentMenu().actions()[1]->trigger();
        QVERIFY(QTest::qWaitFor([&] { return OptionPath() == first; }));
        QCOMPARE(RecentMenu().actions()[0]->text().toStdString(),
                 "&1 " + fixture().Home() + "first");
        QVERIFY(QTest::qWaitFor([this] { return AnalysisEnded(); }));

        std::filesystem::remove_all(second);
        RecentMenu().actions()[1]->trigger();
        QVERIFY(QTest::qWaitFor([this] { return fixture().messages.size() == 1; }));
        QCOMPARE(fixture().messages[0].text.toStdString(),
                 "ﾌｫﾙﾀﾞ " + second + " はありません。最近使ったフォルダの一覧から削除しました");
        QCOMPARE(RecentMenu().actions().size(), 1);
        QCOMPARE(OptionPath(), first);
        QVERIFY(ReadFile(fixture().HomeFile("Window.ini")).find(second) == std::string::npos);
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::OpenFolderTest)
#include "open_folder_test.moc"
