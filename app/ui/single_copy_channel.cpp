#include "app/ui/single_copy_channel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

#include "app/single_copy_place.h"
#include "base/paths.h"

namespace teluri {
namespace {

constexpr int kAnswerTimeout = 2000;           // milliseconds
constexpr qint64 kLargestRequest = 64 * 1024;  // bytes, the line end included
constexpr char kDone = '1';
constexpr char kNotDone = '0';

QString SocketPath() {
    return QString::fromStdString(SingleCopySocketPath(ExeFolder()));
}

}  // namespace

CopyAnswer AskRunningCopy(std::string_view verb, std::string_view argument) {
    const QString path = SocketPath();
    if (path.isEmpty()) {
        return CopyAnswer::kNoCopy;
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kAnswerTimeout) ||
        !PeerRunsAs(static_cast<int>(socket.socketDescriptor()), ::geteuid())) {
        return CopyAnswer::kNoCopy;
    }
    std::string request(verb);
    if (!argument.empty()) {
        request += ' ';
        request += argument;
    }
    request += '\n';
    socket.write(request.data(), static_cast<qint64>(request.size()));
    if (!socket.waitForBytesWritten(kAnswerTimeout) || !socket.waitForReadyRead(kAnswerTimeout)) {
        return CopyAnswer::kNoCopy;
    }
    const QByteArray answer = socket.read(1);
    return answer == QByteArray(1, kDone)      ? CopyAnswer::kDone
           : answer == QByteArray(1, kNotDone) ? CopyAnswer::kNotDone
                                               : CopyAnswer::kNoCopy;
}

SingleCopyServer::SingleCopyServer() = default;
SingleCopyServer::~SingleCopyServer() = default;

void SingleCopyServer::Handle(std::string_view verb, Handler handler) {
    handlers_.insert_or_assign(std::string(verb), std::move(handler));
}

bool SingleCopyServer::Listen() {
    const QString path = SocketPath();
    if (path.isEmpty()) {
        return false;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // The caller holds the program folder's lock: a socket of this name in
    // this user's private folder is left by a copy that no longer runs.
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        return false;
    }
    server_ = std::move(server);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] { Accept(); });
    return true;
}

void SingleCopyServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!PeerRunsAs(static_cast<int>(socket->socketDescriptor()), ::geteuid())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // A peer that sends no whole request in time is let go.
        QTimer::singleShot(kAnswerTimeout, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(*socket); });
    }
}

void SingleCopyServer::Answer(QLocalSocket& socket) {
    if (!socket.canReadLine()) {
        if (socket.bytesAvailable() >= kLargestRequest) {
            socket.abort();
        }
        return;
    }
    QByteArray line = socket.readLine(kLargestRequest);
    if (!line.endsWith('\n')) {
        socket.abort();
        return;
    }
    line.chop(1);
    const qsizetype blank = line.indexOf(' ');
    const std::string verb = line.left(blank < 0 ? line.size() : blank).toStdString();
    const std::string argument = blank < 0 ? std::string() : line.mid(blank + 1).toStdString();
    const auto handler = handlers_.find(verb);
    if (handler == handlers_.end()) {
        socket.abort();
        return;
    }
    socket.write(QByteArray(1, handler->second(argument) ? kDone : kNotDone));
    socket.flush();
    socket.disconnectFromServer();
}

}  // namespace teluri
