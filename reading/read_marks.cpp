#include "reading/read_marks.h"

#include <charconv>

#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/paths.h"

namespace teluri {
namespace {

// A page number's line: decimal digits only, no sign, no blanks.
std::optional<int> NumberLine(std::string_view line) {
    int number = 0;
    const char* end = line.data() + line.size();
    const auto [stop, error] = std::from_chars(line.data(), end, number);
    if (line.empty() || line.front() == '-' || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
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
            folder->numbers.insert(*number);
        } else {
            (folder ? folder->otherLines : marks.leadingLines_).emplace_back(line);
        }
    });
    return marks;
}

std::string ReadMarks::Format() const {
    std::vector<std::string> lines = leadingLines_;
    for (const Folder& folder : folders_) {
        lines.push_back("[" + folder.path + "]");
        for (const int number : folder.numbers) {
            lines.push_back(std::to_string(number));
        }
        lines.insert(lines.end(), folder.otherLines.begin(), folder.otherLines.end());
    }
    return JoinLines(lines);
}

const ReadMarks::Folder* ReadMarks::Find(std::string_view folder) const {
    for (const Folder& entry : folders_) {
        if (entry.path == folder) {
            return &entry;
        }
    }
    return nullptr;
}

ReadMarks::Folder& ReadMarks::FindOrAdd(std::string_view folder) {
    if (const Folder* found = Find(folder)) {
        return const_cast<Folder&>(*found);
    }
    return folders_.emplace_back(Folder{std::string(folder), {}, {}});
}

bool ReadMarks::IsRead(std::string_view folder, int number) const {
    const Folder* found = Find(folder);
    return found != nullptr && found->numbers.contains(number);
}

bool ReadMarks::MarkRead(std::string_view folder, int number) {
    return FindOrAdd(folder).numbers.insert(number).second;
}

bool ReadMarks::MarkUnread(std::string_view folder, int number) {
    const Folder* found = Find(folder);
    return found != nullptr && const_cast<Folder*>(found)->numbers.erase(number) > 0;
}

bool ReadMarks::MarkAllRead(std::string_view folder, const std::vector<int>& numbers) {
    Folder& entry = FindOrAdd(folder);
    const std::size_t before = entry.numbers.size();
    entry.numbers.insert(numbers.begin(), numbers.end());
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
