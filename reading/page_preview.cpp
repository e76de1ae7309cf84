#include "reading/page_preview.h"

#include "analysis/page_reader.h"
#include "base/lines.h"
#include "htmlview/plain_text.h"

namespace teluri {
namespace {

// Ten lines stand near a page's start: a huge page is not read to its end.
constexpr std::size_t kPreviewBytes = 64 * 1024;

}  // namespace

std::string PagePreview(std::string_view number, std::string_view content, std::size_t maxLines) {
    PageReader page;
    page.LoadContent(std::string(number) + ".msg", content);
    std::string preview = std::string(number) + " " + page.Title();

    content = ContentBeforeNul(content);
    const std::size_t firstLineEnd = content.find_first_of("\r\n");
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
