#include "threads/page_file_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
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
    std::vector<std::string> found;
    std::vector<std::string> keys;  // each name with ASCII folded to lower case
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.' || !MatchesMask(name, mask) || !IsRegularFile(folder, *entry)) {
            continue;
        }
        found.emplace_back(name);
        keys.push_back(AsciiLowerCase(name));
    }
    // A folder lists thousands of names: small entries are sorted, each
    // with the first eight bytes of its key as one number, so that most
    // pairs are told apart without comparing strings. A name holds no NUL
    // byte, so the zeros that fill a short key sort it as the strings do.
    struct Entry {
        std::uint64_t head;
        std::uint32_t index;
    };
    std::vector<Entry> entries;
    entries.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        std::uint64_t head = 0;
        for (std::size_t at = 0; at < sizeof head; ++at) {
            const auto byte = at < keys[i].size() ? static_cast<unsigned char>(keys[i][at]) : 0U;
            head = head << 8 | byte;
        }
        entries.push_back({head, static_cast<std::uint32_t>(i)});
    }
    std::sort(entries.begin(), entries.end(), [&keys, &found](const Entry& a, const Entry& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        const int byKey = keys[a.index].compare(keys[b.index]);
        return byKey != 0 ? byKey < 0 : found[a.index] < found[b.index];
    });
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const Entry& entry : entries) {
        names.push_back(std::move(found[entry.index]));
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
