// The single-copy socket: in a private folder, never one another user can
// squat; a stale socket of this user's killed copy is replaced; requests
// that are not whole, not known or too long get no answer.
#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTest>
#include <QWidget>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/single_copy_place.h"
#include "app/ui/program_folder_lock.h"
#include "app/ui/single_copy_channel.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class SingleCopySocketTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;
    std::string runtime_;

    test::UiFixture& fixture() { return *fixture_; }

    // Runs a second start in another process while this one answers, as the
    // running copy does; its exit status: 0 ended silently, 1 with a message.
    int secondStart() {
        const pid_t child = ::fork();
        if (child == 0) {
            const ProgramFolderLock second;
            ::_exit(second.Taken() ? 2 : fixture().messages.empty() ? 0 : 1);
        }
        int status = 0;
        if (!QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 8000)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

  private slots:
    void init() {
        fixture_ = std::make_unique<test::UiFixture>();
        runtime_ = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    }
    void cleanup() {
        fixture_.reset();
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }

    // Another user could make the runtime folder's socket, or the one in a
    // shared temporary folder, and answer "brought to the front": the second
    // start ended silently and no window came. Now such a folder is not
    // used: the socket lives in the program folder's private folder.
    void aSquatterInAFolderOthersMayEnterIsNeverAsked() {
        test::TempFolder shared;
        const std::string sharedFolder = shared.Path().substr(0, shared.Path().size() - 1);
        ::setenv("XDG_RUNTIME_DIR", sharedFolder.c_str(), 1);
        ::chmod(sharedFolder.c_str(), 0700);
        const QString squatted = QString::fromStdString(SingleCopySocketPath(fixture().Home()));
        ::chmod(sharedFolder.c_str(), 0777);
        QLocalServer squatter;
        QVERIFY(squatter.listen(squatted));
        int asked = 0;
        connect(&squatter, &QLocalServer::newConnection, this, [&] {
            while (QLocalSocket* socket = squatter.nextPendingConnection()) {
                ++asked;
                socket->write("1");
                socket->flush();
            }
        });
        // A copy runs without answering: the start must say so.
        {
            QLockFile running(QString::fromStdString(fixture().HomeFile(kLockFileName)));
            QVERIFY(running.tryLock());
            QCOMPARE(secondStart(), 1);
        }
        // A copy runs and answers from its private folder.
        const ProgramFolderLock first;
        QVERIFY(first.Taken());
        QVERIFY(std::filesystem::is_socket(SingleCopySocketPath(fixture().Home())));
        QVERIFY(
            SingleCopySocketPath(fixture().Home()).starts_with(fixture().HomeFile("Teluri.run/")));
        QWidget mainWindow;
        mainWindow.setObjectName("frmMain");
        mainWindow.show();
        QCOMPARE(secondStart(), 0);
        QCOMPARE(asked, 0);
    }

    // A copy killed with its socket left behind: the next copy that takes
    // the lock replaces it, and later starts reach that copy.
    void aStaleSocketOfThisUserIsReplaced() {
        const std::string path = SingleCopySocketPath(fixture().Home());
        QVERIFY(!path.empty());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);  // bound, never listening, never removed: as a killed copy leaves it
        QVERIFY(std::filesystem::is_socket(path));
        const ProgramFolderLock first;
        QVERIFY(first.Taken());
        QWidget mainWindow;
        mainWindow.setObjectName("frmMain");
        mainWindow.show();
        QCOMPARE(secondStart(), 0);
    }

    // Only whole requests of known verbs are answered.
    void requestsThatAreNotWholeOrNotKnownGetNoAnswer() {
        SingleCopyServer server;
        int raised = 0;
        server.Handle(kRaiseRequest, [&raised](const std::string& argument) {
            ++raised;
            return argument.empty();
        });
        QVERIFY(server.Listen());
        const QString path = QString::fromStdString(SingleCopySocketPath(fixture().Home()));
        const auto send = [&path](const QByteArray& request) {
            QLocalSocket socket;
            socket.connectToServer(path);
            if (!socket.waitForConnected(2000)) {
                return QByteArray("not connected");
            }
            socket.write(request);
            socket.flush();
            // The answer, or the server closing the connection.
            QByteArray answer;
            QTest::qWaitFor(
                [&] {
                    answer += socket.readAll();
                    return !answer.isEmpty() || socket.state() != QLocalSocket::ConnectedState;
                },
                4000);
            return answer;
        };
        QCOMPARE(send("raise\n"), QByteArray("1"));
        QCOMPARE(send("raise now\n"), QByteArray("0"));
        QCOMPARE(raised, 2);
        QCOMPARE(send("open /x\n"), QByteArray());
        QCOMPARE(send("raise"), QByteArray());  // never ended: let go after a while
        QCOMPARE(send(QByteArray(100'000, 'r') + "\n"), QByteArray());
        QCOMPARE(raised, 2);
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::SingleCopySocketTest)
#include "single_copy_socket_test.moc"
