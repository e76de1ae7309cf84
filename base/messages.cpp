#include "base/messages.h"

#include "base/errors.h"

namespace teluri::msg {

std::string Format(std::string_view pattern, std::string_view argument) {
    std::string result(pattern);
    const auto at = result.find("%s");
    if (at != std::string::npos) {
        result.replace(at, 2, argument);
    }
    return result;
}

}  // namespace teluri::msg

namespace teluri {

ListIndexError::ListIndexError(int index)
    : TeluriError(msg::Format(msg::kListIndexOutOfBounds, std::to_string(index))) {}

}  // namespace teluri
