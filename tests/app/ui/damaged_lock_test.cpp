// The program folder's lock in every damaged form: anything but a regular
// file ends the start naming it, touching nothing; a lock that tells
// nothing (empty, NUL bytes, garbage, huge, another host's) is taken over
// when no copy answers on the single-copy socket, and left alone when one
// does or when a running copy still holds it.
#include <QApplication>
#include <QLockFile>
#include <QTest>
#include <QWidget>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/ui/program_folder_lock.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class DamagedLockTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;

    test::UiFixture& fixture() { return *fixture_; }
    std::string lockPath() const { return fixture_->HomeFile(kLockFileName); }
    std::string temporary() const { return fixture_->HomeFile("Tree.dat.AbC123"); }

  private slots:
    void init() { fixture_ = std::make_unique<test::UiFixture>(); }
    void cleanup() { fixture_.reset(); }

    // A pipe held the start for ever in open(); a folder or a link blocked
    // every start with "すでに起動しています".
    void lockThatIsNoRegularFileEndsTheStartNamingIt() {
        test::WriteFile(fixture().HomeFile("target"), "");
        const std::vector<std::function<void()>> makers = {
            [this] { QCOMPARE(::mkfifo(lockPath().c_str(), 0600), 0); },
            [this] { std::filesystem::create_directory(lockPath()); },
            [this] { std::filesystem::create_symlink(fixture().HomeFile("target"), lockPath()); },
            [this] { std::filesystem::create_symlink(fixture().HomeFile("none"), lockPath()); },
        };
        for (const auto& make : makers) {
            std::filesystem::remove(lockPath());
            make();
            test::WriteFile(temporary(), "left by a killed run");
            fixture().messages.clear();
            const ProgramFolderLock lock;
            QVERIFY(!lock.Taken());
            QCOMPARE(fixture().messages.size(), std::size_t{1});
            QCOMPARE(fixture().messages[0].text,
                     QString::fromStdString("ﾌｧｲﾙ " + lockPath() + " は開けません"));
            // Nothing else is touched: not the lock, not the temporary file.
            QVERIFY(std::filesystem::exists(std::filesystem::symlink_status(lockPath())));
            QVERIFY(std::filesystem::exists(temporary()));
        }
    }

    // What a power cut, a crash on another machine or a hostile user leaves:
    // taken over when no copy answers.
    void lockThatTellsNothingIsTakenOverWhenNoCopyAnswers() {
        const std::vector<std::string> contents = {
            "",
            std::string(64, '\0'),
            "garbage",
            "123\nteluri-explorer\n",
            "0\nteluri-explorer\n" + QSysInfo::machineHostName().toStdString() + "\n",
            "999999\nteluri-explorer\nanother-host-" + QSysInfo::machineHostName().toStdString() +
                "\n",
            std::string(1 << 20, '7'),
        };
        for (const std::string& content : contents) {
            test::WriteFile(lockPath(), content);
            test::WriteFile(temporary(), "left by a killed run");
            fixture().messages.clear();
            {
                const ProgramFolderLock lock;
                QVERIFY(lock.Taken());
                QVERIFY(fixture().messages.empty());
                QVERIFY(!std::filesystem::exists(temporary()));
            }
        }
    }

    // A copy runs, but its lock was damaged (or names another host, as on a
    // folder shared over the network): it answers, and no second copy starts.
    void damagedLockOfARunningCopyIsNotTakenOver() {
        const ProgramFolderLock first;
        QVERIFY(first.Taken());
        QWidget mainWindow;
        mainWindow.setObjectName("frmMain");
        mainWindow.show();
        for (const std::string content : {"", "1\nteluri-explorer\nanother-host\n"}) {
            test::WriteFile(lockPath(), content);
            const pid_t child = ::fork();
            if (child == 0) {
                const ProgramFolderLock second;
                ::_exit(second.Taken() ? 2 : fixture().messages.empty() ? 0 : 1);
            }
            int status = 0;
            QVERIFY(
                QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 5000));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
    }

    // No copy answers, yet one on this host still holds the lock (its socket
    // could not be made): the lock stays and the start says a copy runs.
    void heldLockIsNeverRemoved() {
        QLockFile running(QString::fromStdString(lockPath()));
        QVERIFY(running.tryLock());
        test::WriteFile(lockPath(), "");
        const ProgramFolderLock second;
        QVERIFY(!second.Taken());
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text, QString::fromUtf8("すでに起動しています"));
        QVERIFY(std::filesystem::exists(lockPath()));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::DamagedLockTest)
#include "damaged_lock_test.moc"
