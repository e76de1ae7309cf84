#include "app/ui/program_folder_lock.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include "app/stale_temporaries.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"

namespace teluri {
namespace {

constexpr int kAnswerTimeout = 2000;  // milliseconds
constexpr char kRaised = '1';
constexpr char kNotRaised = '0';
// A later start's request to open a folder: the prefix, the folder's path
// (UTF-8) and a line feed. A start without a folder sends nothing.
constexpr QByteArrayView kOpenFolder = "open-folder ";
constexpr qint64 kLongestRequest = 64 * 1024;

// The name of the running copy's local socket: one per program folder and
// user.
QString ServerName() {
    const QByteArray folder = QByteArray::fromStdString(ExeFolder());
    const QByteArray hash = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex();
    return QString("teluri-%1-%2").arg(::geteuid()).arg(QString::fromLatin1(hash.left(24)));
}

// Brings the main window to the front; false where there is none or where
// the platform does not let a program activate its own window.
bool RaiseMainWindow() {
    if (QGuiApplication::platformName() == "wayland") {
        return false;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmMain" && widget->isVisible()) {
            // Out of the task bar as it was before: maximized stays maximized.
            widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
            widget->raise();
            widget->activateWindow();
            return true;
        }
    }
    return false;
}

// Asks the copy that holds the lock to bring its window to the front and,
// with a folder, to open it; true when the window came to the front or the
// folder was handed over.
bool AskRunningCopyToRaise(const std::optional<std::string>& folder) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kAnswerTimeout)) {
        return false;
    }
    if (folder) {
        socket.write(kOpenFolder.toByteArray() + QByteArray::fromStdString(*folder) + '\n');
        if (!socket.waitForBytesWritten(kAnswerTimeout)) {
            return false;
        }
    }
    if (!socket.waitForReadyRead(kAnswerTimeout)) {
        return false;
    }
    return socket.read(1) == QByteArray(1, kRaised) || folder.has_value();
}

// The folder of an "open-folder" request line, without its line feed;
// nothing for any other line.
std::optional<QString> RequestedFolder(const QByteArray& line) {
    if (!line.startsWith(kOpenFolder) || !line.endsWith('\n')) {
        return std::nullopt;
    }
    return QString::fromUtf8(line.sliced(kOpenFolder.size(), line.size() - kOpenFolder.size() - 1));
}

}  // namespace

ProgramFolderLock::ProgramFolderLock(const std::optional<std::string>& folder)
    : lock_(QString::fromStdString(ProgramFile(kLockFileName))) {
    // Only a lock whose copy no longer runs is stale, however old it is.
    lock_.setStaleLockTime(0);
    if (lock_.tryLock()) {
        taken_ = true;
        RemoveStaleTemporaryFiles(ExeFolder());
        ListenForLaterStarts();
        return;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        taken_ = true;
        return;
    }
    if (!AskRunningCopyToRaise(folder)) {
        ShowErrorMessage(nullptr, QString::fromUtf8("すでに起動しています"));
    }
}

ProgramFolderLock::~ProgramFolderLock() = default;

void ProgramFolderLock::Release() {
    server_.reset();
    lock_.unlock();
}

void ProgramFolderLock::ListenForLaterStarts() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the lock: a socket of that name is left by a copy
    // that no longer runs.
    QLocalServer::removeServer(ServerName());
    if (!server_->listen(ServerName())) {
        server_.reset();  // later starts then show the message
        return;
    }
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->write(QByteArray(1, RaiseMainWindow() ? kRaised : kNotRaised));
            socket->flush();
            TakeFolderRequest(*socket);
        }
    });
}

void ProgramFolderLock::TakeFolderRequest(QLocalSocket& socket) {
    // The request comes before the later start closes its end; a socket
    // that sends no request line in time or too long a one is dropped.
    QTimer::singleShot(kAnswerTimeout, &socket, &QLocalSocket::abort);
    const auto readRequest = [this, &socket] {
        if (socket.canReadLine()) {
            if (const std::optional<QString> folder = RequestedFolder(socket.readLine())) {
                emit folderHandedOver(*folder);
            }
            socket.disconnectFromServer();
        } else if (socket.bytesAvailable() > kLongestRequest) {
            socket.abort();
        }
    };
    connect(&socket, &QLocalSocket::readyRead, &socket, readRequest);
}

}  // namespace teluri
