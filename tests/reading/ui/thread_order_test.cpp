// "新しいスレッドを上に": the tree's threads newest first, in the view only.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include "app/ui/main_window.h"
#include "base/paths.h"
#include "htmlview/ui/page_display.h"
#include "settings/settings_file.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "tests/ui/ui_support.h"

namespace teluri {

using test::Page;
using test::ReadFile;
using test::WriteFile;

class ThreadOrderTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    QString threads() {
        QStringList numbers;
        for (int i = 0; i < test::ThreadCount(tree()); ++i) {
            numbers.append(test::TextOf(test::Thread(tree(), i)).left(4));
        }
        return numbers.join(' ');
    }
    QString shownNumber() { return window().Page().DocumentUrl().right(8).left(4); }
    std::string treeDat() { return ReadFile(fixture().HomeFile("Tree.dat")); }

    void createActiveWindow() {
        createWindow();
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

  private slots:
    void init() {
        MainWindowTestBase::init();
        // Threads 1001 (1002), 1003 and 1005 (1006).
        WriteFile(fixture().DataFile("1001.msg"), Page("1001", "first", {}, {"1002"}));
        WriteFile(fixture().DataFile("1002.msg"), Page("1002", "Re: first", "1001"));
        WriteFile(fixture().DataFile("1003.msg"), Page("1003", "second"));
        WriteFile(fixture().DataFile("1005.msg"), Page("1005", "third", {}, {"1006"}));
        WriteFile(fixture().DataFile("1006.msg"), Page("1006", "Re: third", "1005"));
        createActiveWindow();
        openDataFolder();
    }

    void reversesTheThreadsInTheViewOnly() {
        QCOMPARE(threads(), QString("1001 1003 1005"));
        const std::string saved = treeDat();
        QAction& newest = action("NewestFirst1");
        QCOMPARE(newest.text(), QString::fromUtf8("新しいスレッドを上に"));
        QVERIFY(newest.isCheckable() && !newest.isChecked());
        QVERIFY(window().findChild<QMenu*>("View1")->actions().contains(&newest));
        tree().setExpanded(test::Thread(tree(), 0), true);
        tree().setExpanded(test::Thread(tree(), 2), false);
        tree().setCurrentIndex(test::Thread(tree(), 1));
        newest.trigger();
        QCOMPARE(threads(), QString("1005 1003 1001"));
        QCOMPARE(test::TextOf(test::Child(test::Thread(tree(), 0), 0)).left(4), QString("1006"));
        QVERIFY(tree().isExpanded(test::Thread(tree(), 2)));  // as it was
        QVERIFY(!tree().isExpanded(test::Thread(tree(), 0)));
        QCOMPARE(tree().currentIndex(), test::Thread(tree(), 1));
        QCOMPARE(
            SettingsFile(fixture().HomeFile("Window.ini")).ReadFlag("Tree", "NewestFirst", false),
            true);
        QCOMPARE(treeDat(), saved);
        // A new analysis keeps Tree.dat in the archive's order and shows the
        // threads newest first.
        openDataFolder();
        QTRY_COMPARE(threads(), QString("1005 1003 1001"));
        QCOMPARE(treeDat(), saved);
        newest.trigger();
        QCOMPARE(threads(), QString("1001 1003 1005"));
        QCOMPARE(
            SettingsFile(fixture().HomeFile("Window.ini")).ReadFlag("Tree", "NewestFirst", true),
            false);
    }

    void nextUnreadFollowsTheOrderOnScreen() {
        action("NewestFirst1").trigger();
        tree().setCurrentIndex(QModelIndex());  // from the top
        tree().setFocus();
        const auto next = [this] {
            QApplication::setActiveWindow(&window());
            QTest::keyClick(&tree(), Qt::Key_N);
            return shownNumber();
        };
        QCOMPARE(next(), QString("1005"));
        QCOMPARE(next(), QString("1006"));
        QCOMPARE(next(), QString("1003"));
        QCOMPARE(next(), QString("1001"));
    }

    void theChoiceIsKeptForTheNextRun() {
        action("NewestFirst1").trigger();
        window().close();
        destroyWindow();
        // The next run shows the saved tree newest first.
        SettingsFile(fixture().HomeFile("Teluri.ini"))
            .WriteText("Option", "Path", fixture().Data());
        createActiveWindow();
        QVERIFY(action("NewestFirst1").isChecked());
        action("QuickOpen1").trigger();
        QTRY_COMPARE(threads(), QString("1005 1003 1001"));
        QVERIFY(fixture().messages.empty());
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ThreadOrderTest)
#include "thread_order_test.moc"
