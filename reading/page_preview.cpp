#include "reading/page_preview.h"

#include <array>
#include <vector>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/display_text.h"
#include "base/lines.h"
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

constexpr std::string_view kEllipsis = "\x81\x63";  // "…" in cp932

// True for the tags after which the text goes on on a new line.
bool BreaksLine(std::string_view tag) {
    const std::string name = AsciiLowerCase(TagName(tag.substr(tag.starts_with("</") ? 2 : 1)));
    return name == "br" || name == "p" || name == "hr" || name == "div" || name == "li" ||
           name == "tr" || name == "pre";
}

// The text of markup: tags dropped or turned into line ends, entities
// replaced. "<" and "&" are never the second byte of a cp932 character.
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

}  // namespace

std::string PagePreview(std::string_view number, std::string_view content, std::size_t maxLines) {
    PageReader page;
    page.LoadContent(std::string(number) + ".msg", content);
    // Only the page's start may have been read (kPreviewBytes), ending
    // inside a first line longer than that: its title shown as far as read.
    const bool headOnly = content.size() >= kPreviewBytes;
    content = ContentBeforeNul(content);
    const std::size_t firstLineEnd = content.find_first_of("\r\n");
    std::string_view title = page.Title();
    if (title.empty() && headOnly && firstLineEnd == std::string_view::npos &&
        content.size() > kTitleOffset) {
        title = content.substr(kTitleOffset);
    }
    const std::string_view shownTitle = ShownPart(title);
    std::string preview = std::string(number) + " " + std::string(shownTitle);
    if (shownTitle.size() < title.size()) {
        preview += kEllipsis;
    }

    const std::string_view body = firstLineEnd == std::string_view::npos
                                      ? std::string_view()
                                      : content.substr(firstLineEnd, kPreviewBytes);
    std::size_t taken = 0;
    ForEachLine(PlainText(body), [&](std::string_view line) {
        line = TrimBlanks(line);
        if (!line.empty() && taken < maxLines) {
            preview += "\n";
            preview += line;
            ++taken;
        }
    });
    return preview;
}

}  // namespace teluri
