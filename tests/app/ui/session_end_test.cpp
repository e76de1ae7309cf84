// The end from outside: SIGTERM, SIGINT and SIGHUP close the window as the
// Exit command does, over any dialog open at the time; the window's shape
// and the read marks are saved and the lock can be given back.
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <csignal>
#include <filesystem>

#include "activity/ui/panel_status_bar.h"
#include "app/ui/main_window.h"
#include "app/ui/program_folder_lock.h"
#include "app/ui/session_end.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class SessionEndTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;

    test::UiFixture& fixture() { return *fixture_; }

    // The window with the data folder's page 1001 on show, as the program
    // wires it.
    struct Program {
        ProgramFolderLock lock;
        MainWindow window;
        Program() { new SessionEnd(window, lock); }
    };

    void ShowPage(Program& program) {
        program.window.show();
        test::OpenDataFolder(program.window, fixture());
        auto* tree = program.window.findChild<QTreeView*>("trvTeluri");
        QVERIFY(test::ThreadCount(*tree) > 0);
        tree->setCurrentIndex(test::Thread(*tree, 0));
        QVERIFY(program.window.Page().DocumentUrl().endsWith("1001.msg"));
        // A page counts as read after a second on show.
        auto* status = program.window.findChild<PanelStatusBar*>("StatusBar1");
        QTRY_VERIFY(status->TextAt(3).contains(QString::fromUtf8("全体 0")));
    }

    void ExpectSaved() {
        QCOMPARE(test::ReadFile(fixture().HomeFile("Read.dat")),
                 "[" + fixture().Data() + "]\r\n1001\r\n");
        QVERIFY(test::ReadFile(fixture().HomeFile("Window.ini")).find("[Window]") !=
                std::string::npos);
    }

  private slots:
    void init() {
        fixture_ = std::make_unique<test::UiFixture>();
        test::WriteFile(fixture().DataFile("1001.msg"), test::Page("1001", "title"));
    }
    void cleanup() { fixture_.reset(); }

    void eachEndingSignalClosesTheWindowAndSaves_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void eachEndingSignalClosesTheWindowAndSaves() {
        QFETCH(int, signal);
        {
            Program program;
            ShowPage(program);
            // Before the read marks' timed save.
            QVERIFY(!std::filesystem::exists(fixture().HomeFile("Read.dat")));
            ::kill(::getpid(), signal);
            QVERIFY(QTest::qWaitFor([&] { return !program.window.isVisible(); }));
            ExpectSaved();
        }
        QVERIFY(!std::filesystem::exists(fixture().HomeFile(kLockFileName)));
    }

    // A modal dialog runs a loop of its own: it is closed first.
    void aSignalClosesAnOpenDialogFirst() {
        Program program;
        ShowPage(program);
        QDialog dialog(&program.window);
        QTimer::singleShot(0, &dialog, [] { ::kill(::getpid(), SIGTERM); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(QTest::qWaitFor([&] { return !program.window.isVisible(); }));
        ExpectSaved();
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::SessionEndTest)
#include "session_end_test.moc"
