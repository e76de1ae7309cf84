// One running copy per program folder. Two copies on one folder would each
// write back their own bookmarks, history and settings over the other's, so
// a second start is turned away before it reads or writes any file.
#pragma once

#include <QLockFile>
#include <QObject>

#include <memory>
#include <optional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace teluri {

inline constexpr const char* kLockFileName = "Teluri.lock";

class ProgramFolderLock : public QObject {
    Q_OBJECT

  public:
    // Takes the lock file in the program's folder; a lock left by a copy
    // that no longer runs is taken over. A folder where no lock file can be
    // made (read-only) is taken without one: no copy can write there.
    // Once taken, the temporary files that interrupted writes left in the
    // folder are removed, and a later start on the same folder can ask this
    // copy to bring its main window ("frmMain") to the front.
    //
    // When another copy runs on the folder, that copy is asked to bring its
    // window to the front; where it cannot (no such copy answers, or the
    // platform does not let a program activate its window), the message
    // "すでに起動しています" is shown.
    //
    // With a `folder` (absolute), the running copy is also asked to open
    // it: it then emits folderHandedOver. The message shows only when no
    // copy took the folder.
    explicit ProgramFolderLock(const std::optional<std::string>& folder = std::nullopt);
    ~ProgramFolderLock() override;

    // False when another copy runs on the folder: the program should end.
    bool Taken() const { return taken_; }

    // Gives the lock and the socket back before the object's end: for a
    // program that ends without unwinding (an exit from within the toolkit).
    void Release();

  signals:
    // A later start asked this copy to open `folder` (a local path).
    void folderHandedOver(const QString& folder);

  private:
    void ListenForLaterStarts();
    // Emits folderHandedOver when the later start on `socket` asks for a
    // folder, then closes the socket.
    void TakeFolderRequest(QLocalSocket& socket);

    QLockFile lock_;
    bool taken_ = false;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace teluri
