// The lines of a page around the first occurrences of a searched text: what
// the search window shows of a hit before it is opened. The occurrences are
// found by the search's own rule (text_match) in the page's text as a
// reader sees it (after its first line, tags left out), so that a text
// found only in markup has no context.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace teluri {

// At most this many lines are shown for a hit.
inline constexpr std::size_t kContextLines = 3;
// The bytes of a page read for its context: a huge page is not read whole.
inline constexpr std::size_t kContextReadBytes = 256 * 1024;
// A longer line is cut to about this many bytes around its first
// occurrence, with this many bytes kept before it.
inline constexpr std::size_t kContextLineBytes = 160;
inline constexpr std::size_t kContextBytesBefore = 48;

// One line of context: cp932 bytes, blanks at both ends removed.
struct ContextLine {
    std::string text;
    // Where the occurrences stand in `text`: [first, second) byte ranges,
    // widened to whole characters (the rule may match from a trail byte).
    std::vector<std::pair<std::size_t, std::size_t>> marks;
    // The line goes on before / after `text` (it was cut).
    bool cutBefore = false;
    bool cutAfter = false;
};

// The first `maxLines` lines of `content` (a page file's bytes, up to its
// first NUL) that hold `text`; none for an empty text.
std::vector<ContextLine> HitContext(std::string_view content, std::string_view text,
                                    std::size_t maxLines = kContextLines);

}  // namespace teluri
