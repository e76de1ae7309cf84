// The text of page markup as a reader sees it, for the previews of pages
// and of search hits: tags left out, the common entities replaced.
#pragma once

#include <string>
#include <string_view>

namespace teluri {

// `markup` with its tags dropped, a line break, paragraph, rule, division,
// list item, table row or preformatted block turned into a line end, and
// "&lt;", "&gt;", "&amp;", "&quot;", "&nbsp;" and "&#39;" replaced. A tag
// left open runs to the end. "<" and "&" are never the second byte of a
// cp932 character.
std::string PlainText(std::string_view markup);

}  // namespace teluri
