// One running copy per program folder. Two copies on one folder would each
// write back their own bookmarks, history and settings over the other's, so
// a second start is turned away before it reads or writes any file.
#pragma once

#include <QLockFile>

#include <memory>

class QLocalServer;

namespace teluri {

inline constexpr const char* kLockFileName = "Teluri.lock";

class ProgramFolderLock {
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
    ProgramFolderLock();
    ~ProgramFolderLock();

    // False when another copy runs on the folder: the program should end.
    bool Taken() const { return taken_; }

  private:
    void ListenForLaterStarts();

    QLockFile lock_;
    bool taken_ = false;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace teluri
