#include "search/text_match.h"

#include <string.h>

#include "base/bytes.h"

namespace teluri {
namespace {

const char* Find(std::string_view haystack, std::string_view needle) {
    // glibc's memmem skips ahead on byte pairs and turns to a linear-time
    // search on texts that would make the skipping slow.
    return static_cast<const char*>(
        ::memmem(haystack.data(), haystack.size(), needle.data(), needle.size()));
}

}  // namespace

std::string MatchForm(std::string_view text) {
    return UpperCaseCp932(text);
}

bool ContainsText(std::string_view haystack, std::string_view needle) {
    return !needle.empty() && Find(haystack, needle) != nullptr;
}

std::vector<std::size_t> FindEveryText(std::string_view haystack, std::string_view needle) {
    std::vector<std::size_t> offsets;
    if (needle.empty()) {
        return offsets;
    }
    std::size_t from = 0;
    while (from < haystack.size()) {
        const char* found = Find(haystack.substr(from), needle);
        if (found == nullptr) {
            break;
        }
        const auto at = static_cast<std::size_t>(found - haystack.data());
        offsets.push_back(at);
        from = at + needle.size();
    }
    return offsets;
}

}  // namespace teluri
