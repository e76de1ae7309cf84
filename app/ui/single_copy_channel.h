// The conversation between two copies of the program on one program folder:
// a later start connects to the running copy's local socket and sends one
// request, a line "<verb>" or "<verb> <argument>"; the running copy answers
// with one byte, '1' when it did what was asked, '0' when it could not. Each
// verb has its handler in the running copy; a peer of another user, an
// unknown verb or a request that does not end within its size or time is
// answered with nothing.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class QLocalServer;
class QLocalSocket;

namespace teluri {

// Asks the running copy to bring its main window to the front.
inline constexpr std::string_view kRaiseRequest = "raise";
// Asks the running copy to open the folder given as the argument (a local
// path) and to come to the front.
inline constexpr std::string_view kOpenFolderRequest = "open-folder";

enum class CopyAnswer {
    kDone,     // the running copy did it
    kNotDone,  // the running copy could not
    kNoCopy,   // no copy of this user answered
};

// Sends `verb` (and `argument`, when given) to the copy running on the
// program folder and waits a moment for its answer.
CopyAnswer AskRunningCopy(std::string_view verb, std::string_view argument = {});

// The running copy's end: listens on the program folder's socket.
class SingleCopyServer : public QObject {
  public:
    // Does what a request asks; returns whether it was done.
    using Handler = std::function<bool(const std::string& argument)>;

    SingleCopyServer();
    ~SingleCopyServer() override;

    void Handle(std::string_view verb, Handler handler);
    // Listens, after removing a socket a killed copy of this user left;
    // false when no private place for the socket exists or the socket
    // cannot be made.
    bool Listen();

  private:
    void Accept();
    void Answer(QLocalSocket& socket);

    std::unique_ptr<QLocalServer> server_;
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace teluri
