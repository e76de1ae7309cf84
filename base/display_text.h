// How much of a text a window shows. Titles, node texts and bookmark lines
// are kept and saved whole; a window lays out only their first part, so that
// a hostile page with a title of megabytes cannot hold the window for
// minutes. Real titles are a few dozen bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace teluri {

// The most bytes of a one-line text that a window shows.
inline constexpr std::size_t kShownTextBytes = 512;

// The first `limit` bytes of cp932 text, shortened by one byte where the
// limit would cut a double-byte character in two; the whole text when it is
// no longer.
std::string_view LeadingCp932(std::string_view text, std::size_t limit);

// The part of a one-line text that a window shows: LeadingCp932 with
// kShownTextBytes.
std::string_view ShownPart(std::string_view text);

}  // namespace teluri
