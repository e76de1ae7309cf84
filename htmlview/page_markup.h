// Markup of a page put into a form that the display lays out in source
// order. The display starts a rule's block but lets the inline text after
// `<hr>` run on in that same block, so that the rule is drawn with that
// text: below the title's rule the first lines of text, above
// "[一覧に戻る]" the link itself, and the rule then shows in the wrong place.
// An empty division right after every rule closes the rule's block.
#pragma once

#include <string>
#include <string_view>

namespace teluri {

// The markup with "<div></div>" after every `<hr ...>` tag (any letter
// case). Works on cp932 and UTF-8 bytes alike: "<" and ">" never stand
// inside a double-byte character of either.
std::string NormalisePageMarkup(std::string_view markup);

}  // namespace teluri
