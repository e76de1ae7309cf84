#include "reading/read_marks.h"

#include <algorithm>
#include <charconv>

#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/paths.h"

namespace teluri {
namespace {

// Page files are named with four digits.
constexpr int kLargestPageNumber = 9999;

bool IsPageNumber(int number) {
    return number >= 0 && number <= kLargestPageNumber;
}

template <typename Numbers>
void SortUnique(Numbers& numbers) {
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
}

// A page number's line: decimal digits only, no sign, no blanks, a number a
// page file can have.
std::optional<int> NumberLine(std::string_view line) {
    int number = 0;
    const char* end = line.data() + line.size();
    const auto [stop, error] = std::from_chars(line.data(), end, number);
    if (line.empty() || line.front() == '-' || error != std::errc() || stop != end ||
        !IsPageNumber(number)) {
        return std::nullopt;
    }
    return number;
}

void AppendLine(std::string& lines, std::string_view line) {
    lines += line;
    lines += "\r\n";
}

bool IsFolderLine(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

}  // namespace

std::string ReadMarksFilePath() {
    return ProgramFile(kReadMarksFileName);
}

ReadMarks ReadMarks::Parse(std::string_view content) {
    ReadMarks marks;
    Folder* folder = nullptr;
    ForEachLine(content, [&](std::string_view line) {
        if (IsFolderLine(line)) {
            folder = &marks.FindOrAdd(line.substr(1, line.size() - 2));
        } else if (line.empty()) {
            // nothing to keep
        } else if (const std::optional<int> number = NumberLine(line); number && folder) {
            folder->numbers.push_back(static_cast<PageNumber>(*number));
        } else {
            AppendLine(folder ? folder->otherLines : marks.leadingLines_, line);
        }
    });
    for (Folder& folder : marks.folders_) {
        SortUnique(folder.numbers);
    }
    return marks;
}

std::string ReadMarks::Format() const {
    std::string content = leadingLines_;
    for (const Folder& folder : folders_) {
        AppendLine(content, "[" + folder.path + "]");
        for (const int number : folder.numbers) {
            AppendLine(content, std::to_string(number));
        }
        content += folder.otherLines;
    }
    return content;
}

const ReadMarks::Folder* ReadMarks::Find(std::string_view folder) const {
    const auto found = folderIndex_.find(folder);
    return found == folderIndex_.end() ? nullptr : &folders_[found->second];
}

ReadMarks::Folder& ReadMarks::FindOrAdd(std::string_view folder) {
    const auto [found, added] = folderIndex_.try_emplace(std::string(folder), folders_.size());
    if (added) {
        folders_.push_back(Folder{std::string(folder), {}, {}});
    }
    return folders_[found->second];
}

bool ReadMarks::IsRead(std::string_view folder, int number) const {
    const Folder* found = Find(folder);
    return found != nullptr && IsPageNumber(number) &&
           std::binary_search(found->numbers.begin(), found->numbers.end(), number);
}

bool ReadMarks::MarkRead(std::string_view folder, int number) {
    return MarkAllRead(folder, {number});
}

bool ReadMarks::MarkUnread(std::string_view folder, int number) {
    const Folder* found = Find(folder);
    if (found == nullptr || !IsPageNumber(number)) {
        return false;
    }
    std::vector<PageNumber>& numbers =
        folders_[static_cast<std::size_t>(found - folders_.data())].numbers;
    const auto at = std::lower_bound(numbers.begin(), numbers.end(), number);
    if (at == numbers.end() || *at != number) {
        return false;
    }
    numbers.erase(at);
    return true;
}

bool ReadMarks::MarkAllRead(std::string_view folder, const std::vector<int>& numbers) {
    Folder& entry = FindOrAdd(folder);
    const std::size_t before = entry.numbers.size();
    for (const int number : numbers) {
        if (IsPageNumber(number)) {
            entry.numbers.push_back(static_cast<PageNumber>(number));
        }
    }
    SortUnique(entry.numbers);
    return entry.numbers.size() != before;
}

ReadMarks LoadReadMarks(const std::string& path) {
    const std::optional<std::string> content = ReadFileIfExists(path);
    return content ? ReadMarks::Parse(*content) : ReadMarks();
}

void SaveReadMarks(const std::string& path, const ReadMarks& marks) {
    if (WriteFileAtomically(path, marks.Format())) {
        throw IoError(msg::Format(msg::kCannotCreateFile, path));
    }
}

}  // namespace teluri
