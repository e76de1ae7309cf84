// Conversions between cp932 bytes and Unicode, through ICU's "windows-31j"
// converter (the Windows table, in which 0x5C is the backslash).
#pragma once

#include <string>
#include <string_view>

namespace teluri {

// For display: bytes that do not convert become U+FFFD.
std::u16string Cp932ToUtf16(std::string_view bytes);
std::string Cp932ToUtf8(std::string_view bytes);

// Exact: text that has no cp932 form throws EncodingError.
std::string Utf16ToCp932(std::u16string_view text);
std::string Utf8ToCp932(std::string_view text);

// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// Cp932ToUtf8 with control bytes written as \r, \n, \t or \xNN, so that a
// quoted page text keeps an error message on one line.
std::string Cp932ForDisplay(std::string_view bytes);

}  // namespace teluri
