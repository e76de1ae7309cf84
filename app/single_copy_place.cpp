#include "app/single_copy_place.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace teluri {
namespace {

// A folder (not a link to one) of this user that nobody else may enter.
bool IsPrivateFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

// The folder in the program folder, made private: made when missing, its
// permissions taken back when it is this user's own folder.
bool MakePrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return false;
    }
    return (status.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
}

// A name of the program folder that stays the same from run to run and
// build to build (FNV-1a), so that copies on different folders share a
// runtime folder without meeting.
std::string FolderKey(const std::string& folder) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : folder) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

std::string SingleCopySocketPath(const std::string& programFolder) {
    const std::string name = "teluri-" + FolderKey(programFolder);
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && *runtime == '/' && IsPrivateFolder(runtime)) {
        return std::string(runtime) + "/" + name;
    }
    const std::string folder = programFolder + kSocketFolderName;
    return MakePrivateFolder(folder) ? folder + "/" + name : std::string();
}

bool PeerRunsAs(int fd, uid_t user) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           size == sizeof credentials && credentials.uid == user;
}

}  // namespace teluri
