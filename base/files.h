// File-system access shared by every subsystem: existence tests, whole-file
// reads and the atomic replacement through which every file the program
// writes goes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace teluri {

// True when `path` names a regular file (links followed).
bool FileExists(const std::string& path);

// True when `path` names a folder (links followed).
bool DirectoryExists(const std::string& path);

// The whole content of a regular file, or nothing when no such file exists
// (also when the name is a folder or vanishes while being opened). A file
// that exists but cannot be read throws IoError "ﾌｧｲﾙ %s は開けません".
std::optional<std::string> ReadFileIfExists(const std::string& path);

// Replaces the content of `path` atomically: the data goes to a temporary
// file in the same folder, which is flushed and then renamed over `path`.
// On failure the previous file is intact, the temporary file is removed and
// the error is returned.
std::error_code WriteFileAtomically(const std::string& path, std::string_view data);

// Makes WriteFileAtomically fail after writing the temporary file and before
// the rename, as a full disk or a crash would. For tests only.
void SetAtomicWriteFailureForTesting(bool fail);

}  // namespace teluri
