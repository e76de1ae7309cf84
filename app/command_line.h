// The window program's command line: it answers "--help" and "--version" and
// leaves every other argument to the toolkit (-platform, -style, ...).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace teluri {

// When an argument before "--" is "--help" or "--version", writes the answer
// to `out` and returns the exit status (0); otherwise nothing, and the
// program starts.
std::optional<int> AnswerInformationOption(const std::vector<std::string>& args, std::ostream& out);

}  // namespace teluri
