// Builders of message pages in the board's format, for tests: the number at
// bytes 18-21 of the first line, the title from byte 49 up to the end marker,
// parent and reply links in the relative or the absolute form. All texts are
// cp932; the Japanese lead-ins are converted once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace teluri::test {

enum class LinkForm { kRelative, kAbsolute };

// The first line of a page, without its line end.
std::string FirstLine(std::string_view number, std::string_view title);

std::string ParentLink(std::string_view number, LinkForm form = LinkForm::kRelative);
std::string ReplyLink(std::string_view number, LinkForm form = LinkForm::kRelative);

// A whole page: first line, an optional parent link, a body line, and one
// reply link per entry, each on its own line, CR LF line ends.
std::string Page(std::string_view number, std::string_view title, std::string_view parent = {},
                 const std::vector<std::string>& replies = {}, LinkForm form = LinkForm::kRelative);

// Lines enough for a page to scroll in any test window: 200 short ones.
std::string ManyLines();

// cp932 bytes of UTF-8 source text.
std::string Sjis(std::string_view utf8);

}  // namespace teluri::test
