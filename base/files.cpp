#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/messages.h"

namespace teluri {
namespace {

bool g_failBeforeRename = false;

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    stamp.changed = info.st_ctim;
    return stamp;
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The mode a new file gets from the process's umask; an existing file keeps
// its own mode.
mode_t ModeForReplacement(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

FileCheck CheckFileStamp(const std::string& path, const FileStamp& stamp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        // As ReadFileIfExists sees a failed open: these errors mean no file.
        return errno == ENOENT || errno == ENOTDIR ? FileCheck::kAbsent : FileCheck::kOther;
    }
    return S_ISREG(info.st_mode) && StampOf(info) == stamp ? FileCheck::kSameStamp
                                                           : FileCheck::kOther;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// Opens a regular file for reading and fills `info`: -1 when there is no
// such file; throws IoError "ﾌｧｲﾙ %s は開けません" for one that cannot be read.
int OpenRegularFile(const std::string& path, struct stat& info) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return -1;
        }
        if (errno == EACCES && !FileExists(path)) {
            return -1;  // a folder on the way cannot be searched
        }
        throw IoError(msg::Format(msg::kCannotOpenFile, path));
    }
    if (::fstat(fd.get(), &info) != 0) {
        throw IoError(msg::Format(msg::kCannotOpenFile, path));
    }
    if (!S_ISREG(info.st_mode)) {
        return -1;  // folders, pipes and devices are no pages
    }
    return fd.release();
}

// Reads into data[0, size) until it is full or the file ends; the count read.
std::size_t ReadUpTo(int fd, char* data, std::size_t size, const std::string& path) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, data + filled, size - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(msg::Format(msg::kCannotOpenFile, path));
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

}  // namespace

std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& buffer,
                                             FileStamp* stamp) {
    struct stat info {};
    FileDescriptor fd(OpenRegularFile(path, info));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    if (stamp != nullptr) {
        *stamp = StampOf(info);
    }
    // Room for the file and one byte more, so that the read which finds the
    // end of the file needs no growth either.
    const std::size_t expected = static_cast<std::size_t>(info.st_size) + 1;
    if (buffer.size() < expected) {
        buffer.resize(expected);
    }
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.size()) {
            buffer.resize(buffer.size() + 4096);  // the file may have grown
        }
        const std::size_t room = buffer.size() - filled;
        const std::size_t got = ReadUpTo(fd.get(), buffer.data() + filled, room, path);
        filled += got;
        if (got < room) {
            break;
        }
    }
    return std::string_view(buffer.data(), filled);
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    struct stat info {};
    FileDescriptor fd(OpenRegularFile(path, info));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    std::string head(std::min(limit, static_cast<std::size_t>(info.st_size) + 1), '\0');
    head.resize(ReadUpTo(fd.get(), head.data(), head.size(), path));
    return head;
}

std::optional<std::string> ReadFileIfExists(const std::string& path, FileStamp* stamp) {
    std::string content;
    const std::optional<std::string_view> read = ReadFileInto(path, content, stamp);
    if (!read) {
        return std::nullopt;
    }
    content.resize(read->size());
    return content;
}

std::error_code WriteFileAtomically(const std::string& path, std::string_view data) {
    std::string temporary = path + ".XXXXXX";
    std::vector<char> pattern(temporary.begin(), temporary.end());
    pattern.push_back('\0');
    FileDescriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) {
        return LastError();
    }
    temporary.assign(pattern.data());
    std::error_code error;
    if (::fchmod(fd.get(), ModeForReplacement(path)) != 0 || !WriteAll(fd.get(), data) ||
        ::fsync(fd.get()) != 0) {
        error = LastError();
    }
    if (::close(fd.release()) != 0 && !error) {
        error = LastError();
    }
    if (!error && g_failBeforeRename) {
        error = std::make_error_code(std::errc::io_error);
    }
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = LastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
    }
    return error;
}

void SetAtomicWriteFailureForTesting(bool fail) {
    g_failBeforeRename = fail;
}

}  // namespace teluri
