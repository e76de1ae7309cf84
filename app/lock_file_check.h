// What the file in the place of the program folder's lock holds, looked at
// without blocking and without trusting it: a power cut, a copy killed on
// another machine sharing the folder or a hostile user may leave anything
// there.
#pragma once

#include <string>
#include <string_view>

namespace teluri {

enum class LockFileKind {
    kAbsent,           // no such name
    kNotARegularFile,  // a pipe, a folder, a link, a device: never opened
    kUnusable,         // empty, unreadable, damaged, too large, or written on another host
    kOfThisHost,       // a lock written on this host: whether its copy runs is the lock's to tell
};

// Looks at the file at `path` (links not followed, a pipe never opened for
// reading). A lock holds the locking process's id, the program's name and
// the host name, a line each; `hostName` is this host's.
LockFileKind CheckLockFile(const std::string& path, std::string_view hostName);

}  // namespace teluri
