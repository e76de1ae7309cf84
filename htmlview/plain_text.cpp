#include "htmlview/plain_text.h"

#include <array>
#include <utility>

#include "base/bytes.h"
#include "htmlview/tag_name.h"

namespace teluri {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kEntities = {{
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&amp;", "&"},
    {"&quot;", "\""},
    {"&nbsp;", " "},
    {"&#39;", "'"},
}};

// True for the tags after which the text goes on on a new line.
bool BreaksLine(std::string_view tag) {
    const std::string name = AsciiLowerCase(TagName(tag.substr(tag.starts_with("</") ? 2 : 1)));
    return name == "br" || name == "p" || name == "hr" || name == "div" || name == "li" ||
           name == "tr" || name == "pre";
}

}  // namespace

std::string PlainText(std::string_view markup) {
    std::string text;
    std::size_t i = 0;
    while (i < markup.size()) {
        if (markup[i] == '<') {
            const std::size_t close = markup.find('>', i);
            const std::size_t end = close == std::string_view::npos ? markup.size() : close + 1;
            if (BreaksLine(markup.substr(i, end - i))) {
                text += '\n';
            }
            i = end;
            continue;
        }
        if (markup[i] == '&') {
            bool replaced = false;
            for (const auto& [entity, character] : kEntities) {
                if (markup.substr(i, entity.size()) == entity) {
                    text += character;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced) {
                continue;
            }
        }
        text += markup[i++];
    }
    return text;
}

}  // namespace teluri
