// Conversion of text to a 32-bit integer, used for message numbers, parent
// numbers and settings values. Accepted: optional leading spaces, an optional
// "+" or "-", then decimal digits or "$" followed by hexadecimal digits,
// nothing after, within the range of a signed 32-bit integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace teluri {

std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt; throws ConvertError "'%s' は整数ではありません" for any
// other text, the empty text too. The text is cp932.
std::int32_t StrToInt(std::string_view text);

}  // namespace teluri
