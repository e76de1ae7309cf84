// The data folders opened last, newest first, kept in Window.ini in a
// section of their own ("RecentFolders": Folder1 to Folder8). A folder is
// named as the program opened it, with its trailing delimiter.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace teluri {

class SettingsFile;

inline constexpr std::size_t kRecentFolderCount = 8;

// `folder` first, its earlier place in the list dropped, at most
// kRecentFolderCount folders kept. A folder the settings file cannot hold
// (a line break in its name, or longer than a value may be) leaves the list
// as it is.
std::vector<std::string> WithRecentFolder(std::vector<std::string> folders,
                                          const std::string& folder);

// The list without `folder`.
std::vector<std::string> WithoutRecentFolder(std::vector<std::string> folders,
                                             const std::string& folder);

// The list in the file: empty, repeated and unstorable entries skipped,
// at most kRecentFolderCount.
std::vector<std::string> ReadRecentFolders(const SettingsFile& ini);

// Writes every key of the section: the folders, and empty values for the
// places the list does not fill, so that a shorter list leaves no old entry.
void WriteRecentFolders(SettingsFile& ini, const std::vector<std::string>& folders);

}  // namespace teluri
