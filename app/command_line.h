// The window program's command line: it answers "--help" and "--version" and
// leaves every other argument to the toolkit (-platform, -style, ...).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace teluri {

// When an argument before "--" is "--help" or "--version", writes the answer
// to `out` and returns the exit status: 0, or 1 with a line on `err` when the
// answer cannot be written (a full disk, a closed output); otherwise nothing,
// and the program starts.
std::optional<int> AnswerInformationOption(const std::vector<std::string>& args, std::ostream& out,
                                           std::ostream& err);

}  // namespace teluri
