// The short preview of a page shown over a link to it: the page's number
// and title, then the first lines of its text without markup.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace teluri {

inline constexpr std::size_t kPreviewLines = 10;
// Ten lines stand near a page's start: only this much of a page is read
// for its preview, however large the file.
inline constexpr std::size_t kPreviewBytes = 64 * 1024;

// `number`: the page's number as linked; `content`: the page file's bytes,
// or their first kPreviewBytes. The result is cp932 lines joined by "\n":
// "1234 title" (a title longer than the tree shows cut as there, with "…"),
// then at most
// `maxLines` non-empty lines of the page's text after its first line, tags
// left out (a line break, paragraph, rule, division, list item, table row
// or preformatted block starts a new line), the common entities replaced,
// blanks at both ends removed.
std::string PagePreview(std::string_view number, std::string_view content,
                        std::size_t maxLines = kPreviewLines);

}  // namespace teluri
