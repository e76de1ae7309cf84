// The window with damaged or extreme state files: a saved size far larger
// than any screen, a saved tree beyond the analysis run's node limit, a data
// folder whose path the settings cannot hold.
#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>

#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "threads/tree_builder.h"

namespace teluri {

class DamagedStateTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    void createActiveWindow() {
        createWindow();
        QApplication::setActiveWindow(&window());
    }

  private slots:
    // Width=100000 made a 32767 x 32767 window (4 GB of pixels) that crashed
    // at every start. Sizes are cut to the screen; a tree pane wider than
    // any screen is no width; the file written at closing holds the cut size.
    void hugeSavedSizesAreCutToTheScreen() {
        for (const char* size : {"100000", "1000000000", "2147483647"}) {
            test::WriteFile(fixture().HomeFile("Window.ini"),
                            std::string("[Window]\r\nLeft=0\r\nTop=0\r\nWidth=") + size +
                                "\r\nHeight=" + size + "\r\nMaximized=0\r\nTreeWidth=" + size +
                                "\r\n");
            createActiveWindow();
            const QRect screen = window().screen()->availableGeometry();
            // The inside at the screen's corner; the frame is the window
            // system's (two pixels here).
            QVERIFY((window().pos() - screen.topLeft()).manhattanLength() <= 4);
            QCOMPARE(window().size(), screen.size());
            const QList<int> panes = window().findChild<QSplitter*>("Splitter1")->sizes();
            QVERIFY(panes.value(0) < screen.width());
            QVERIFY(panes.value(1) > 0);
            window().close();
            const std::string saved = test::ReadFile(fixture().HomeFile("Window.ini"));
            QVERIFY(saved.find("Width=" + std::to_string(screen.width()) + "\r\n") !=
                    std::string::npos);
            destroyWindow();
        }
        QVERIFY(fixture().messages.empty());
    }

    // A Tree.dat of more lines than the analysis may make nodes (a 3 million
    // line one took 1 GB): refused before anything is read, with the run's
    // message naming the file; the tree shown stays.
    void draftOpenBeyondTheNodeLimitKeepsTheTree() {
        createActiveWindow();
        test::WriteFile(fixture().HomeFile("Tree.dat"), "1001:a\r\n\t1002:b\r\n");
        window().findChild<QAction*>("QuickOpen1")->trigger();
        QCOMPARE(test::ThreadCount(tree()), 1);
        std::string content;
        for (std::size_t i = 0; i <= kMaxTreeNodes; ++i) {
            content += "1003:c\r\n";
        }
        test::WriteFile(fixture().HomeFile("Tree.dat"), content);
        window().findChild<QAction*>("QuickOpen1")->trigger();
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text,
                 QString::fromUtf8("ツリーのノードが %1 個を超えるため、解析を中止しました\n")
                         .arg(kMaxTreeNodes) +
                     QString::fromStdString(fixture().HomeFile("Tree.dat")));
        QCOMPARE(test::ThreadCount(tree()), 1);
        QCOMPARE(test::TextOf(test::Thread(tree(), 0)), QString("1001:a"));
        QCOMPARE(test::TextOf(test::Child(test::Thread(tree(), 0), 0)), QString("1002:b"));
        QVERIFY(tree().updatesEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // A data folder whose path is longer than a settings value can be: it
    // is analysed and kept for the run, the message says once that it cannot
    // be written, and the settings keep the folder they had.
    void dataFolderTooLongToRememberIsKeptForTheRun() {
        std::string folder = fixture().Data();
        while (folder.size() <= 1100) {
            folder += std::string(200, 'd') + "/";
        }
        std::filesystem::create_directories(folder);
        test::WriteFile(folder + "1001.msg", test::Page("1001", "long"));
        const std::string ini = fixture().HomeFile("Teluri.ini");
        test::WriteFile(ini, "[Option]\r\nPath=" + fixture().Data() + "\r\n");
        createActiveWindow();
        fixture().folderAnswers.push_back(QString::fromStdString(folder));
        window().findChild<QAction*>("Open1")->trigger();
        QVERIFY(QTest::qWaitFor(
            [this] { return !window().findChild<QTimer*>("tmrAnalyze")->isActive(); }));
        QVERIFY(QTest::qWaitFor([this] { return test::ThreadCount(tree()) == 1; }));
        QCOMPARE(test::TextOf(test::Thread(tree(), 0)), QString("1001:long"));
        QCOMPARE(window().CurrentArchive().dataFolder, folder);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text,
                 QString::fromStdString("値が長すぎるため " + ini + " に書き込めません"));
        QCOMPARE(test::ReadFile(ini), "[Option]\r\nPath=" + fixture().Data() + "\r\n");
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::DamagedStateTest)
#include "damaged_state_test.moc"
