#include "threads/page_file_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "base/bytes.h"
#include "base/errors.h"
#include "base/messages.h"
#include "base/paths.h"

namespace teluri {
namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Wildcard match with backtracking to the last "*".
bool MatchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            nameAtStar = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Links are followed; the directory's own type field saves a stat call for
// plain files.
bool IsRegularFile(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_REG) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    // An empty folder name is the current folder, as for the listing itself.
    const std::string path = folder.empty() ? std::string(entry.d_name)
                                            : IncludeTrailingDelimiter(folder) + entry.d_name;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    std::size_t start = 0;
    while (start <= mask.size()) {
        auto end = mask.find(';', start);
        if (end == std::string_view::npos) {
            end = mask.size();
        }
        const std::string_view pattern = TrimBlanks(mask.substr(start, end - start));
        if (!pattern.empty() && MatchesPattern(name, pattern)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view mask) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) {
        throw IoError(msg::Format(msg::kCannotOpenFolder, folder));
    }
    struct Entry {
        std::string key;
        std::string name;
    };
    std::vector<Entry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.' || !MatchesMask(name, mask) || !IsRegularFile(folder, *entry)) {
            continue;
        }
        entries.push_back({AsciiLowerCase(name), name});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (auto& entry : entries) {
        names.push_back(std::move(entry.name));
    }
    return names;
}

void PageFileList::SetFolder(const std::string& folder) {
    names_ = ListFiles(folder);
    folder_ = folder;
    while (folder_.size() > 1 && EndsWithDelimiter(folder_)) {
        folder_.pop_back();
    }
}

PageFileList ListOfCurrentFolder() {
    PageFileList list;
    std::error_code error;
    const std::string current = std::filesystem::current_path(error).string();
    if (!error) {
        try {
            list.SetFolder(current);
        } catch (const IoError&) {
            // An unreadable current folder leaves the list empty.
        }
    }
    return list;
}

}  // namespace teluri
