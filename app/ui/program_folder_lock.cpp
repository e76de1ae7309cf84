#include "app/ui/program_folder_lock.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
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

// Asks the copy that holds the lock to bring its window to the front.
bool AskRunningCopyToRaise() {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kAnswerTimeout) || !socket.waitForReadyRead(kAnswerTimeout)) {
        return false;
    }
    return socket.read(1) == QByteArray(1, kRaised);
}

}  // namespace

ProgramFolderLock::ProgramFolderLock() : lock_(QString::fromStdString(ProgramFile(kLockFileName))) {
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
    if (!AskRunningCopyToRaise()) {
        ShowErrorMessage(nullptr, QString::fromUtf8("すでに起動しています"));
    }
}

ProgramFolderLock::~ProgramFolderLock() = default;

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
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->write(QByteArray(1, RaiseMainWindow() ? kRaised : kNotRaised));
            socket->flush();
            socket->disconnectFromServer();
        }
    });
}

}  // namespace teluri
