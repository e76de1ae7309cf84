#include "htmlview/page_excerpt.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/bytes.h"
#include "base/display_text.h"
#include "base/errors.h"
#include "base/files.h"
#include "htmlview/tag_name.h"

namespace teluri {
namespace {

// Elements without content, and those that the next of their kind or their
// container's end closes.
bool EndsByItself(std::string_view name) {
    static constexpr std::array<std::string_view, 26> kNames = {
        "area", "base",  "br",     "col",   "embed", "hr",     "img",     "input", "link",
        "meta", "param", "source", "track", "wbr",   "frame",  "isindex", "p",     "li",
        "dt",   "dd",    "tr",     "td",    "th",    "option", "thead",   "tbody"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

}  // namespace

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
    page.asText = NestsTooDeep(page.bytes);
    return page;
}

bool NestsTooDeep(std::string_view html) {
    std::vector<std::string> open;
    std::size_t tables = 0;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        ++at;
        const bool closing = at < html.size() && html[at] == '/';
        const std::string name = AsciiLowerCase(TagName(html.substr(closing ? at + 1 : at)));
        if (name.empty() || EndsByItself(name)) {
            continue;
        }
        if (!closing) {
            open.push_back(name);
            tables += name == "table" ? 1 : 0;
            if (open.size() > kDeepestLaidOutNesting || tables > kDeepestLaidOutTables) {
                return true;
            }
            continue;
        }
        const auto innermost = std::find(open.rbegin(), open.rend(), name);
        if (innermost == open.rend()) {
            continue;
        }
        const auto first = innermost.base() - 1;
        tables -= static_cast<std::size_t>(std::count(first, open.end(), "table"));
        open.erase(first, open.end());
    }
    return false;
}

std::optional<std::string> ReadPageResource(const std::string& path) {
    try {
        std::optional<std::string> bytes = ReadFileHead(path, kLargestResourceBytes + 1);
        if (bytes && bytes->size() > kLargestResourceBytes) {
            return std::nullopt;
        }
        return bytes;
    } catch (const IoError&) {
        return std::nullopt;
    }
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
