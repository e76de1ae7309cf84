// How much memory a piece of code needs at most: for the tests that hold
// the readers of damaged or huge files to memory of the order of the input.
#pragma once

#include <cstddef>
#include <functional>

namespace teluri::test {

// The most resident memory the process held while `body` ran, beyond what
// it held when `body` began, in bytes (Linux's peak counter, reset first).
std::size_t PeakMemoryGrowth(const std::function<void()>& body);

// True when the tests run under AddressSanitizer, whose shadow memory and
// quarantine of freed blocks add to every figure.
bool UnderAddressSanitizer();

}  // namespace teluri::test
