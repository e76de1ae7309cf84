// The rule by which a text is found in another: the find bar and the search
// hits' context lines use these functions, and the matcher of the search
// run and the thread filter (PageMatcher, page_search.h), which stops at a
// page's first match, gives the same answers and is checked against them by
// a randomized test. Both texts are compared in their match form, the
// cp932 upper-casing (a-z become A-Z, bytes of double-byte characters stay
// as they are), and the match is a plain byte match that may start at any
// byte, the trail byte of a double-byte character too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace teluri {

// The text as it is compared.
std::string MatchForm(std::string_view text);

// True when `haystack` contains `needle`, both in match form. An empty
// needle is never contained.
bool ContainsText(std::string_view haystack, std::string_view needle);

// The offsets of the occurrences of `needle` in `haystack`, both in match
// form, from the front: each search goes on after the occurrence before it,
// so occurrences never overlap. None for an empty needle.
std::vector<std::size_t> FindEveryText(std::string_view haystack, std::string_view needle);

}  // namespace teluri
