// Catching an expected error in a test, so that its message and its file can
// be checked. Any other exception goes on to the test framework.
#pragma once

#include <optional>
#include <utility>

namespace teluri::test {

// The error of type `Error` that `body` throws, or nothing when it returns.
template <typename Error, typename Body>
std::optional<Error> Thrown(Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const Error& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace teluri::test
