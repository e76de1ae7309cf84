// The bookmark file's reader and the line helpers on arbitrary bytes: the
// list writes and reads back unchanged, and a new line keeps its name.
#include <cstdint>

#include "bookmarks/bookmark_list.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // content \0 name
    const auto parts = teluri::fuzz::Parts(data, size, 2);
    const teluri::BookmarkList lines = teluri::ParseBookmarkDat(parts[0]);
    if (teluri::ParseBookmarkDat(teluri::FormatBookmarkDat(lines)) != lines) {
        __builtin_trap();
    }
    for (const std::string& line : lines) {
        teluri::BookmarkNumber(line);
        teluri::BookmarkName(line);
    }
    const std::string line = teluri::MakeBookmarkLine(1234, parts[1]);
    if (teluri::ParseBookmarkDat(teluri::FormatBookmarkDat({line})).size() != 1 ||
        teluri::BookmarkName(line).size() != parts[1].size() ||
        teluri::BookmarkNumber(line) != "1234") {
        __builtin_trap();
    }
    return 0;
}
