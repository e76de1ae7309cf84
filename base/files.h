// File-system access shared by every subsystem: existence tests, whole-file
// reads and the atomic replacement through which every file the program
// writes goes.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace teluri {

// True when `path` names a regular file (links followed).
bool FileExists(const std::string& path);

// True when `path` names a folder (links followed).
bool DirectoryExists(const std::string& path);

// What tells one version of a file from another: the file (device and
// inode), its size and its modification and status-change times. Writing,
// truncating, replacing, renaming over or changing the permissions of a
// file gives it a new stamp.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
};

// The whole content of a regular file, or nothing when no such file exists
// (also when the name is a folder or vanishes while being opened). A file
// that exists but cannot be read throws IoError "ﾌｧｲﾙ %s は開けません".
// `stamp`, when given, receives the stamp of the file as it was opened.
std::optional<std::string> ReadFileIfExists(const std::string& path, FileStamp* stamp = nullptr);

// As ReadFileIfExists, into `buffer`: the content is the view returned, at
// the start of the buffer. The buffer only grows, so that reading many files
// one after the other into one buffer allocates and clears memory only for
// a file larger than all before it.
std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& buffer,
                                             FileStamp* stamp = nullptr);

// A folder held open, so that its files are opened by their bare names: the
// system then looks up one name for each file rather than every folder on
// the way to it. A folder that cannot be held open (gone, or no permission)
// has its files opened by their paths, with the same outcomes.
class OpenFolder {
  public:
    // `path` ends with the delimiter; empty for the current folder.
    explicit OpenFolder(std::string path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // ReadFileInto(path + name, buffer, stamp), `name` a bare file name.
    std::optional<std::string_view> ReadFileInto(const std::string& name, std::string& buffer,
                                                 FileStamp* stamp = nullptr) const;

  private:
    std::string path_;
    int fd_;
};

// At most `limit` bytes from the start of a regular file, by the rules of
// ReadFileIfExists; a file larger than the limit is not read beyond it.
std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit);

// The result of looking at a file's status without reading it.
enum class FileCheck {
    kSameStamp,  // a regular file with the given stamp
    kAbsent,     // no such file: ReadFileIfExists would give nothing
    kOther,      // anything else: only reading the file tells
};

// Compares the file's status now with `stamp`, in one status call.
FileCheck CheckFileStamp(const std::string& path, const FileStamp& stamp);

// The temporary file of a write is the file's name followed by this pattern,
// whose six X become letters and digits.
inline constexpr std::string_view kTemporarySuffix = ".XXXXXX";

// Replaces the content of `path` atomically: the data goes to a temporary
// file in the same folder, which is flushed and then renamed over `path`.
// On failure the previous file is intact, the temporary file is removed and
// the error is returned.
//
// A file that already holds exactly `data` is not touched (no error, no new
// modification time). An existing file the user may not write (for root: one
// without any write permission bit) is refused with permission_denied, and
// anything but a regular file (a device, a pipe, a folder) with
// invalid_argument. For a
// symbolic link the file the link names is replaced, beside itself, and the
// link stays.
std::error_code WriteFileAtomically(const std::string& path, std::string_view data);

// `path` + `suffix`, or with 1, 2, ... appended when that name is taken: a
// name beside the file that nothing has yet (a dangling link counts as
// taken).
std::string FreeNameBeside(const std::string& path, std::string_view suffix);

// A list file (bookmarks, search history) is read up to its first NUL byte,
// so writing the list back drops whatever follows it. When the file at
// `path` holds a NUL byte, its bytes are copied to FreeNameBeside(path,
// ".nul") before that happens. An error means no copy was made, and the file
// must not be replaced; a missing file is no error.
std::error_code KeepCopyIfItHoldsNul(const std::string& path);

// Writes a list file (bookmarks, search history): the lines, each followed by
// CR LF; a file holding a NUL byte is first copied aside
// (KeepCopyIfItHoldsNul). A refused write of a file that already reads as
// these lines (its line ends differ: a lone CR or LF, no end after the last
// line) is no error: nothing that is read back would change, and a
// read-only program folder must not turn that into a failure. Returns the
// error of a refused write or copy.
std::error_code WriteListFile(const std::string& path, const std::vector<std::string>& lines);

// Makes WriteFileAtomically fail after writing the temporary file and before
// the rename, as a full disk or a crash would. For tests only.
void SetAtomicWriteFailureForTesting(bool fail);

}  // namespace teluri
