#include "htmlview/page_excerpt.h"

#include <algorithm>

#include "base/display_text.h"
#include "base/files.h"

namespace teluri {

std::optional<ShownPage> ReadShownPage(const std::string& path) {
    // One byte beyond the limit tells whether the page holds more.
    const std::optional<std::string> head = ReadFileHead(path, kShownPageBytes + 1);
    if (!head) {
        return std::nullopt;
    }
    ShownPage page;
    page.cut = head->size() > kShownPageBytes;
    page.bytes = LeadingCp932(*head, kShownPageBytes);
    page.breakAnywhere = LongestUnbrokenRun(page.bytes) > kLongestWordWrappedRun;
    return page;
}

std::size_t LongestUnbrokenRun(std::string_view html) {
    std::size_t longest = 0;
    std::size_t run = 0;
    bool inTag = false;
    for (const char byte : html) {
        if (inTag) {
            inTag = byte != '>';
        } else if (byte == '<') {
            inTag = true;
        } else if (byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n') {
            run = 0;
        } else {
            longest = std::max(longest, ++run);
        }
    }
    return longest;
}

}  // namespace teluri
