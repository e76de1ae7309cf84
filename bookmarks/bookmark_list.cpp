#include "bookmarks/bookmark_list.h"

#include <algorithm>
#include <cstdio>

#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/paths.h"

namespace teluri {
namespace {

constexpr std::size_t kNumberLength = 4;

std::string OneLineName(std::string_view name) {
    std::string result(name);
    // cp932 trail bytes are 0x40 and above: these bytes are always characters
    // of their own.
    std::replace_if(
        result.begin(), result.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; },
        ' ');
    return result;
}

void CheckIndex(const BookmarkList& lines, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) {
        throw ListIndexError(index);
    }
}

}  // namespace

std::string FormatBookmarkDat(const BookmarkList& lines) {
    return JoinLines(lines);
}

BookmarkList ParseBookmarkDat(std::string_view content) {
    return SplitLines(content);
}

std::optional<BookmarkList> ReadBookmarkDat(const std::string& path) {
    const std::optional<std::string> content = ReadFileIfExists(path);
    if (!content) {
        return std::nullopt;
    }
    return ParseBookmarkDat(*content);
}

std::string SetUnreadableFileAside(const std::string& path) {
    const std::string aside = FreeNameBeside(path, ".unreadable");
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        throw IoError(msg::Format(msg::kCannotCreateFile, path));
    }
    return aside;
}

void WriteBookmarkDat(const std::string& path, const BookmarkList& lines) {
    if (WriteListFile(path, lines)) {
        throw IoError(msg::Format(msg::kCannotCreateFile, path));
    }
}

std::string_view BookmarkNumber(std::string_view line) {
    const std::size_t shortLength = ShortNumberLength(line);
    return line.substr(0, shortLength != 0 ? shortLength : kNumberLength);
}

std::string_view BookmarkName(std::string_view line) {
    const std::size_t shortLength = ShortNumberLength(line);
    const std::size_t start = (shortLength != 0 ? shortLength : kNumberLength) + 1;
    return start < line.size() ? line.substr(start) : std::string_view();
}

std::string MakeBookmarkLine(int number, std::string_view name) {
    return std::to_string(number) + " " + OneLineName(name);
}

std::string RetitledBookmarkLine(std::string_view line, std::string_view name) {
    return std::string(BookmarkNumber(line)) + " " + OneLineName(name);
}

int MoveBookmarkUp(BookmarkList& lines, int index) {
    if (lines.empty()) {
        return -1;
    }
    CheckIndex(lines, index);
    if (index == 0) {
        std::rotate(lines.begin(), lines.begin() + 1, lines.end());
        return static_cast<int>(lines.size()) - 1;
    }
    std::swap(lines[index], lines[index - 1]);
    return index - 1;
}

int MoveBookmarkDown(BookmarkList& lines, int index) {
    if (lines.empty()) {
        return -1;
    }
    CheckIndex(lines, index);
    if (static_cast<std::size_t>(index) == lines.size() - 1) {
        std::rotate(lines.begin(), lines.end() - 1, lines.end());
        return 0;
    }
    std::swap(lines[index], lines[index + 1]);
    return index + 1;
}

void RetitleBookmark(BookmarkList& lines, int index, std::string_view name) {
    CheckIndex(lines, index);
    lines[index] = RetitledBookmarkLine(lines[index], name);
}

}  // namespace teluri
