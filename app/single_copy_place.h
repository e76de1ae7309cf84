// Where the copies of the program on one program folder find each other: a
// local socket in a folder only this user can enter, so that no other user
// can take its name or listen in its place.
#pragma once

#include <sys/types.h>

#include <string>

namespace teluri {

// The name of the private folder made in the program folder when the
// session has no private runtime folder.
inline constexpr const char* kSocketFolderName = "Teluri.run";

// The socket's path for the program folder `programFolder` (ending with the
// delimiter): in XDG_RUNTIME_DIR when it is set and private (a folder of
// this user that nobody else may enter), otherwise in the folder
// kSocketFolderName of the program folder, made (or made private) if need
// be. Empty when neither is a private folder of this user.
std::string SingleCopySocketPath(const std::string& programFolder);

// True when the process at the other end of the connected local socket `fd`
// runs as `user`.
bool PeerRunsAs(int fd, uid_t user);

}  // namespace teluri
