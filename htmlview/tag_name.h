// The element name of an HTML tag, for the readers of page markup.
#pragma once

#include <cctype>
#include <cstddef>
#include <string_view>

namespace teluri {

// The element name at the start of `text` (what follows "<" or "</"): its
// letters and digits, in the case they are written. "<" never stands inside
// a double-byte character of cp932 or UTF-8, so a tag found by it is one.
inline std::string_view TagName(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])) != 0) {
        ++end;
    }
    return text.substr(0, end);
}

}  // namespace teluri
