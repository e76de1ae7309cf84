#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/lines.h"
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

// The mode a new file gets from the process's umask.
mode_t ModeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file that a write to `path` replaces: `path` itself, or, for a
// symbolic link, the file the chain of links ends at, so that the link stays
// a link and its target gets the content. A chain that never ends is ELOOP.
std::error_code ResolveWriteTarget(std::string& path) {
    constexpr int kMaxLinks = 40;  // as the system follows links when opening
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return {};
        }
        std::vector<char> target(static_cast<std::size_t>(info.st_size) + 256);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return LastError();
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        if (next.starts_with('/')) {
            path = next;
        } else {
            const auto slash = path.rfind('/');
            path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
    }
    return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

// True when the regular file `path`, of the status `info`, holds exactly
// `data`. Read in pieces, so that comparing a large file costs no memory.
bool HoldsExactly(const std::string& path, const struct stat& info, std::string_view data) {
    if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) != data.size()) {
        return false;
    }
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    std::size_t compared = 0;
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return compared == data.size();
        }
        const auto size = static_cast<std::size_t>(got);
        if (size > data.size() - compared ||
            data.substr(compared, size) != std::string_view(buffer.data(), size)) {
            return false;
        }
        compared += size;
    }
}

// True when the user may write the existing file: the rename that replaces
// it needs only the folder's permission, so the file's own is checked here.
// Root passes every permission test, but not a file that has no write
// permission bit at all: such a file was made read-only on purpose.
bool MayReplace(const std::string& path, const struct stat& info) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 && (info.st_mode & 0222) != 0;
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

// A file as the functions below open it: `name` in the open folder
// `folder` (AT_FDCWD: `name` is the path). Its whole path, which only a
// message needs, is made when one is: a run opens thousands of files.
struct FileAt {
    int folder;
    const char* name;
    std::string_view folderPath;  // empty when `name` is the path

    std::string Path() const { return std::string(folderPath) + name; }
};

// Opens a regular file for reading and fills `info`: -1 when there is no
// such file; throws IoError "ﾌｧｲﾙ %s は開けません" for one that cannot be read.
int OpenRegularFile(const FileAt& file, struct stat& info) {
    FileDescriptor fd(::openat(file.folder, file.name, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return -1;
        }
        if (errno == EACCES && !FileExists(file.Path())) {
            return -1;  // a folder on the way cannot be searched
        }
        throw IoError(msg::Format(msg::kCannotOpenFile, file.Path()));
    }
    if (::fstat(fd.get(), &info) != 0) {
        throw IoError(msg::Format(msg::kCannotOpenFile, file.Path()));
    }
    if (!S_ISREG(info.st_mode)) {
        return -1;  // folders, pipes and devices are no pages
    }
    return fd.release();
}

// Reads into data[0, size) until it is full or the file ends; the count
// read. Reading also stops once `complete` bytes (when not 0) are in: a
// file holding as many bytes as its status said needs no read that would
// only find its end (one that grew since gives more in the same reads, as
// the room is larger).
std::size_t ReadUpTo(int fd, char* data, std::size_t size, const FileAt& file,
                     std::size_t complete = 0) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, data + filled, size - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(msg::Format(msg::kCannotOpenFile, file.Path()));
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
        if (filled == complete) {
            break;
        }
    }
    return filled;
}

// ReadFileInto for `file`.
std::optional<std::string_view> ReadFileIntoAt(const FileAt& file, std::string& buffer,
                                               FileStamp* stamp) {
    struct stat info {};
    FileDescriptor fd(OpenRegularFile(file, info));
    if (fd.get() < 0) {
        return std::nullopt;
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
        const std::size_t room = buffer.size() - filled;
        const auto size = static_cast<std::size_t>(info.st_size);
        const std::size_t rest = filled < size ? size - filled : 0;
        const std::size_t got = ReadUpTo(fd.get(), buffer.data() + filled, room, file, rest);
        filled += got;
        if (got < room) {
            break;
        }
    }
    return std::string_view(buffer.data(), filled);
}

}  // namespace

std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& buffer,
                                             FileStamp* stamp) {
    return ReadFileIntoAt({AT_FDCWD, path.c_str(), {}}, buffer, stamp);
}

OpenFolder::OpenFolder(std::string path)
    : path_(std::move(path)),
#ifdef O_PATH
      fd_(::open(path_.empty() ? "." : path_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
#else
      fd_(::open(path_.empty() ? "." : path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
#endif
{
}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::optional<std::string_view> OpenFolder::ReadFileInto(const std::string& name,
                                                         std::string& buffer,
                                                         FileStamp* stamp) const {
    if (fd_ < 0) {
        const std::string path = path_ + name;
        return ReadFileIntoAt({AT_FDCWD, path.c_str(), {}}, buffer, stamp);
    }
    return ReadFileIntoAt({fd_, name.c_str(), path_}, buffer, stamp);
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    const FileAt file{AT_FDCWD, path.c_str(), {}};
    struct stat info {};
    FileDescriptor fd(OpenRegularFile(file, info));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    std::string head(std::min(limit, static_cast<std::size_t>(info.st_size) + 1), '\0');
    head.resize(ReadUpTo(fd.get(), head.data(), head.size(), file));
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
    std::string target = path;
    if (const std::error_code error = ResolveWriteTarget(target)) {
        return error;
    }
    mode_t mode = ModeForNewFile();
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        // Writing back what the file holds changes nothing: the file is left
        // untouched, also where it could not be written.
        if (HoldsExactly(target, info, data)) {
            return {};
        }
        // A device, pipe or folder in the file's place is not replaced by a
        // plain file (as root, /dev/full would be).
        if (!S_ISREG(info.st_mode)) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        if (!MayReplace(target, info)) {
            return std::make_error_code(std::errc::permission_denied);
        }
        mode = info.st_mode & 07777;
    }
    std::string temporary = target + std::string(kTemporarySuffix);
    std::vector<char> pattern(temporary.begin(), temporary.end());
    pattern.push_back('\0');
    FileDescriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) {
        return LastError();
    }
    temporary.assign(pattern.data());
    std::error_code error;
    if (::fchmod(fd.get(), mode) != 0 || !WriteAll(fd.get(), data) || ::fsync(fd.get()) != 0) {
        error = LastError();
    }
    if (::close(fd.release()) != 0 && !error) {
        error = LastError();
    }
    if (!error && g_failBeforeRename) {
        error = std::make_error_code(std::errc::io_error);
    }
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = LastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
    }
    return error;
}

std::string FreeNameBeside(const std::string& path, std::string_view suffix) {
    std::string name = path + std::string(suffix);
    for (int i = 1;
         std::filesystem::symlink_status(name).type() != std::filesystem::file_type::not_found;
         ++i) {
        name = path + std::string(suffix) + std::to_string(i);
    }
    return name;
}

namespace {

// True when the file at `path` holds no NUL byte and reads as `lines`.
bool ReadsAsTheLines(const std::string& path, const std::vector<std::string>& lines) {
    try {
        const std::optional<std::string> content = ReadFileIfExists(path);
        return content && content->find('\0') == std::string::npos && SplitLines(*content) == lines;
    } catch (const IoError&) {
        return false;
    }
}

}  // namespace

std::error_code KeepCopyIfItHoldsNul(const std::string& path) {
    std::optional<std::string> content;
    try {
        content = ReadFileIfExists(path);
    } catch (const IoError&) {
        return std::make_error_code(std::errc::permission_denied);
    }
    if (!content || content->find('\0') == std::string::npos) {
        return {};
    }
    return WriteFileAtomically(FreeNameBeside(path, ".nul"), *content);
}

std::error_code WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    std::error_code error = KeepCopyIfItHoldsNul(path);
    if (!error) {
        error = WriteFileAtomically(path, JoinLines(lines));
    }
    if (error && ReadsAsTheLines(path, lines)) {
        return {};
    }
    return error;
}

void SetAtomicWriteFailureForTesting(bool fail) {
    g_failBeforeRename = fail;
}

}  // namespace teluri
