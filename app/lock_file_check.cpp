#include "app/lock_file_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "base/lines.h"

namespace teluri {
namespace {

// A lock of the program is a few dozen bytes; more is no lock of it.
constexpr std::size_t kLargestLock = 4096;

bool IsProcessId(std::string_view text) {
    return !text.empty() && text.size() <= 10 && text.front() != '0' &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

LockFileKind CheckLockFile(const std::string& path, std::string_view hostName) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? LockFileKind::kAbsent : LockFileKind::kUnusable;
    }
    if (!S_ISREG(status.st_mode)) {
        return LockFileKind::kNotARegularFile;
    }
    // Opened without blocking and without following a link, in case the name
    // changed since the look above.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        return LockFileKind::kUnusable;
    }
    std::string content(kLargestLock + 1, '\0');
    std::size_t size = 0;
    ssize_t got = 0;
    while (size < content.size() &&
           (got = ::read(fd, content.data() + size, content.size() - size)) > 0) {
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (got < 0 || size > kLargestLock ||
        std::string_view(content.data(), size).find('\0') != std::string_view::npos) {
        return LockFileKind::kUnusable;
    }
    content.resize(size);
    const std::vector<std::string> lines = SplitLines(content);
    if (lines.size() < 3 || !IsProcessId(lines[0]) || lines[2] != hostName) {
        return LockFileKind::kUnusable;
    }
    return LockFileKind::kOfThisHost;
}

}  // namespace teluri
