#include "reading/page_preview.h"

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/display_text.h"
#include "base/lines.h"
#include "htmlview/plain_text.h"

namespace teluri {
namespace {

constexpr std::string_view kEllipsis = "\x81\x63";  // "…" in cp932

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
