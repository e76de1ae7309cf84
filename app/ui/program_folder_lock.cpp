#include "app/ui/program_folder_lock.h"

#include "app/stale_temporaries.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"

namespace teluri {

ProgramFolderLock::ProgramFolderLock() : lock_(QString::fromStdString(ProgramFile(kLockFileName))) {
    // Only a lock whose copy no longer runs is stale, however old it is.
    lock_.setStaleLockTime(0);
    if (lock_.tryLock()) {
        taken_ = true;
        RemoveStaleTemporaryFiles(ExeFolder());
        return;
    }
    if (lock_.error() == QLockFile::LockFailedError) {
        ShowErrorMessage(nullptr, QString::fromUtf8("すでに起動しています"));
        return;
    }
    taken_ = true;
}

}  // namespace teluri
