// One running copy per program folder. Two copies on one folder would each
// write back their own bookmarks, history and settings over the other's, so
// a second start is turned away before it reads or writes any file.
#pragma once

#include <QLockFile>
#include <QObject>

#include <memory>
#include <optional>
#include <string>

namespace teluri {

inline constexpr const char* kLockFileName = "Teluri.lock";

class SingleCopyServer;

class ProgramFolderLock : public QObject {
    Q_OBJECT

  public:
    // Takes the lock file in the program's folder. A folder where no lock
    // file can be made (read-only) is taken without one: no copy can write
    // there. Once taken, the temporary files that interrupted writes left in
    // the folder are removed, and a later start on the same folder can ask
    // this copy to bring its main window ("frmMain") to the front.
    //
    // A lock left by a copy that no longer runs is taken over: one whose
    // process is gone on this host, and, when no copy answers on the
    // single-copy socket, one that is empty, damaged, unreadable or written
    // on another host. Anything but a regular file in the lock's place is
    // never opened: "ﾌｧｲﾙ %s は開けません" names it and the program ends.
    //
    // When another copy runs on the folder, that copy is asked to bring its
    // window to the front; where it cannot (no such copy answers, or the
    // platform does not let a program activate its window), the message
    // "すでに起動しています" is shown.
    //
    // With a `folder` (absolute), the running copy is asked to open it
    // instead: it then emits folderHandedOver and comes to the front. The
    // message shows only when no copy took the folder.
    explicit ProgramFolderLock(const std::optional<std::string>& folder = std::nullopt);
    ~ProgramFolderLock() override;

    // False when the program should end: another copy runs on the folder,
    // or the lock's place holds something else.
    bool Taken() const { return taken_; }

    // Gives the lock and the socket back before the object's end: for a
    // program that ends without unwinding (an exit from within the toolkit).
    void Release();

  signals:
    // A later start asked this copy to open `folder` (a local path).
    void folderHandedOver(const QString& folder);

  private:
    void Take();

    QLockFile lock_;
    bool taken_ = false;
    std::unique_ptr<SingleCopyServer> server_;
};

}  // namespace teluri
