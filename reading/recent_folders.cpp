#include "reading/recent_folders.h"

#include <algorithm>

#include "base/lines.h"
#include "settings/settings_file.h"

namespace teluri {
namespace {

constexpr std::string_view kSection = "RecentFolders";
// The longest value the settings file reads back whole.
constexpr std::size_t kLongestValue = 1023;

std::string KeyOf(std::size_t index) {
    return "Folder" + std::to_string(index + 1);
}

// A value is one line with no blanks around it: those are lost on the way
// back.
bool CanBeStored(const std::string& folder) {
    return !folder.empty() && folder.size() <= kLongestValue &&
           folder.find_first_of("\r\n") == std::string::npos && TrimBlanks(folder) == folder;
}

}  // namespace

std::vector<std::string> WithRecentFolder(std::vector<std::string> folders,
                                          const std::string& folder) {
    if (!CanBeStored(folder)) {
        return folders;
    }
    folders = WithoutRecentFolder(std::move(folders), folder);
    folders.insert(folders.begin(), folder);
    if (folders.size() > kRecentFolderCount) {
        folders.resize(kRecentFolderCount);
    }
    return folders;
}

std::vector<std::string> WithoutRecentFolder(std::vector<std::string> folders,
                                             const std::string& folder) {
    folders.erase(std::remove(folders.begin(), folders.end(), folder), folders.end());
    return folders;
}

std::vector<std::string> ReadRecentFolders(const SettingsFile& ini) {
    std::vector<std::string> folders;
    for (std::size_t index = 0; index < kRecentFolderCount; ++index) {
        const std::string folder = ini.ReadText(kSection, KeyOf(index), "");
        if (CanBeStored(folder) &&
            std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

void WriteRecentFolders(SettingsFile& ini, const std::vector<std::string>& folders) {
    for (std::size_t index = 0; index < kRecentFolderCount; ++index) {
        ini.WriteText(kSection, KeyOf(index), index < folders.size() ? folders[index] : "");
    }
}

}  // namespace teluri
