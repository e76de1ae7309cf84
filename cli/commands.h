// The `teluri` command: the viewer's own logic for scripts, tests and
// benchmarks.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace teluri::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// Runs the command with its arguments (without the program name). Output
// goes to `out` only when the command succeeds; errors and the usage go to
// `err` as one line of UTF-8.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace teluri::cli
