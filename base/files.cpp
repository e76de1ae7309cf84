#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& buffer,
                                             FileStamp* stamp) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        if (errno == EACCES && !FileExists(path)) {
            return std::nullopt;  // a folder on the way cannot be searched
        }
        throw IoError(msg::Format(msg::kCannotOpenFile, path));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        throw IoError(msg::Format(msg::kCannotOpenFile, path));
    }
    if (!S_ISREG(info.st_mode)) {
        return std::nullopt;  // folders, pipes and devices are no pages
    }
    if (stamp != nullptr) {
        *stamp = StampOf(info);
    }
    // Room for the file and one byte more, so that a file grown since its
    // status was taken shows it in the first read.
    const std::size_t expected = static_cast<std::size_t>(info.st_size) + 1;
    if (buffer.size() < expected) {
        buffer.resize(expected);
    }
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.size()) {
            buffer.resize(buffer.size() + 4096);  // the file may have grown
        }
        const ssize_t got = ::read(fd.get(), buffer.data() + filled, buffer.size() - filled);
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
        // The file holds as many bytes as its status said: the read that
        // would only find its end is saved. A file that grew before the
        // read gives more and is read on to its end.
        if (filled == static_cast<std::size_t>(info.st_size)) {
            break;
        }
    }
    return std::string_view(buffer.data(), filled);
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
