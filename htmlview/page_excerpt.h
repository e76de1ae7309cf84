// What the page display lays out of a page file. Message pages are a few
// kilobytes; a hostile or damaged one may be hundreds of megabytes, or hold
// a line of megabytes without a blank, which the layout takes minutes to
// break into lines. The display shows only the first part of a large page,
// and breaks lines anywhere in a page with a very long unbroken run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace teluri {

// The most bytes of a page that the display lays out.
inline constexpr std::size_t kShownPageBytes = 128 * 1024;

// The deepest nesting of elements, and of tables among them, that is laid
// out as HTML. The layout's time grows steeply with depth (twice for each
// table level): a page nested deeper is shown as its source text.
inline constexpr std::size_t kDeepestLaidOutNesting = 200;
inline constexpr std::size_t kDeepestLaidOutTables = 8;

// The largest picture or style sheet file that a page may draw in.
inline constexpr std::size_t kLargestResourceBytes = 8 * 1024 * 1024;

// The longest run of text without a blank that is broken at word boundaries;
// a longer one makes the display break lines anywhere.
inline constexpr std::size_t kLongestWordWrappedRun = 10000;

struct ShownPage {
    // The page's bytes, at most kShownPageBytes, never ending inside a
    // double-byte character.
    std::string bytes;
    // The page holds more than `bytes`.
    bool cut = false;
    // `bytes` holds a run of text longer than kLongestWordWrappedRun.
    bool breakAnywhere = false;
    // `bytes` nests elements too deep to be laid out as HTML.
    bool asText = false;
};

// The part of the page file at `path` that is shown, or nothing when there
// is no such file. A file that cannot be read throws IoError.
std::optional<ShownPage> ReadShownPage(const std::string& path);

// True when elements in `html` nest deeper than kDeepestLaidOutNesting, or
// tables deeper than kDeepestLaidOutTables. Elements that end by themselves
// (br, img, p, li, td and the like) do not nest; an end tag closes the
// innermost open element of its name and those inside it, and is ignored
// when none is open, as a browser reads it.
bool NestsTooDeep(std::string_view html);

// The content of a picture or style sheet file of a page, or nothing when
// there is no such regular file, it cannot be read or it is larger than
// kLargestResourceBytes.
std::optional<std::string> ReadPageResource(const std::string& path);

// The longest run of text bytes in HTML without a blank (space, TAB, CR or
// LF). Markup neither counts nor ends a run: "a<b>b" is one run of two.
std::size_t LongestUnbrokenRun(std::string_view html);

}  // namespace teluri
