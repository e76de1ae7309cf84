// One running copy per program folder: the lock file, the second start
// turned away, a stale lock taken over, the clean-up of the first start.
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/ui/program_folder_lock.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class ProgramFolderLockTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;

    test::UiFixture& fixture() { return *fixture_; }
    std::string temporary() const { return fixture_->HomeFile("Tree.dat.AbC123"); }

  private slots:
    void init() { fixture_ = std::make_unique<test::UiFixture>(); }
    void cleanup() { fixture_.reset(); }

    void firstCopyRemovesStaleTemporaryFiles() {
        test::WriteFile(temporary(), "left by a killed run");
        const ProgramFolderLock first;
        QVERIFY(first.Taken());
        QVERIFY(fixture().messages.empty());
        QVERIFY(!std::filesystem::exists(temporary()));
        QVERIFY(std::filesystem::exists(fixture().HomeFile(kLockFileName)));
    }

    // A copy holds the lock but does not answer (it is busy, or of a kind
    // that cannot): the second start says so and touches nothing.
    void secondCopyIsTurnedAwayTouchingNothing() {
        QLockFile running(QString::fromStdString(fixture().HomeFile(kLockFileName)));
        QVERIFY(running.tryLock());
        // The running copy is writing: its temporary file is not touched.
        test::WriteFile(temporary(), "being written");
        const ProgramFolderLock second;
        QVERIFY(!second.Taken());
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text, QString::fromUtf8("すでに起動しています"));
        QCOMPARE(fixture().messages[0].caption, QString::fromUtf8("ｴﾗｰ"));
        QCOMPARE(test::ReadFile(temporary()), std::string("being written"));
    }

    // The running copy brings its main window to the front for a second
    // start, which then ends without a message.
    void secondStartBringsTheRunningWindowToTheFront() {
        const ProgramFolderLock first;
        QVERIFY(first.Taken());
        QWidget mainWindow;
        mainWindow.setObjectName("frmMain");
        mainWindow.show();
        mainWindow.showMinimized();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);

        // The second start is another process; this one runs its event loop
        // meanwhile, as the running copy does.
        const pid_t child = ::fork();
        if (child == 0) {
            const ProgramFolderLock second;
            ::_exit(second.Taken() ? 2 : fixture().messages.empty() ? 0 : 1);
        }
        // Reaped once: the wait tests its condition again once it holds.
        int status = 0;
        bool ended = false;
        QTRY_VERIFY(ended || (ended = ::waitpid(child, &status, WNOHANG) == child));
        QCOMPARE(WEXITSTATUS(status), 0);
        QTRY_COMPARE(QApplication::activeWindow(), &mainWindow);
        QVERIFY(!mainWindow.isMinimized());
    }

    // A second start with a folder hands it over: the running copy reports
    // it and comes to the front; the second start ends without a message.
    void secondStartHandsItsFolderOver() {
        const ProgramFolderLock first;
        QSignalSpy handed(&first, &ProgramFolderLock::folderHandedOver);
        QWidget mainWindow;
        mainWindow.setObjectName("frmMain");
        mainWindow.show();
        const std::string folder = fixture().Data() + "データ";
        const pid_t child = ::fork();
        if (child == 0) {
            const ProgramFolderLock second(folder);
            ::_exit(second.Taken() ? 2 : fixture().messages.empty() ? 0 : 1);
        }
        int status = 0;
        QVERIFY(QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 5000));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(QTest::qWaitFor([&] { return handed.size() == 1; }));
        QCOMPARE(handed[0][0].toString().toStdString(), folder);
    }

    void lockOfACopyThatNoLongerRunsIsTakenOver() {
        const pid_t child = ::fork();
        if (child == 0) {
            // A copy that ends without giving the lock back, as a crash does.
            QLockFile lock(QString::fromStdString(fixture().HomeFile(kLockFileName)));
            ::_exit(lock.tryLock() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(std::filesystem::exists(fixture().HomeFile(kLockFileName)));
        test::WriteFile(temporary(), "left by the crashed copy");
        const ProgramFolderLock lock;
        QVERIFY(lock.Taken());
        QVERIFY(fixture().messages.empty());
        QVERIFY(!std::filesystem::exists(temporary()));
    }

    // No lock file can be made where nothing can be written; the program
    // starts all the same (and can write nothing there either).
    void readOnlyFolderStartsWithoutALock() {
        std::filesystem::permissions(fixture().Home(), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec |
                                                           std::filesystem::perms::others_read |
                                                           std::filesystem::perms::others_exec);
        QVERIFY(test::RunWithoutPrivileges([this] {
            const ProgramFolderLock lock;
            return lock.Taken() && fixture().messages.empty();
        }));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ProgramFolderLockTest)
#include "program_folder_lock_test.moc"
