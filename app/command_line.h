// The window program's command line: it answers "--help" and "--version",
// takes a data folder to open, and leaves every other argument to the
// toolkit (-platform, -style, ...).
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

// The data folder to open: the first argument that is no option (or the
// first after "--"), made absolute against `currentFolder`, since a running
// copy elsewhere may be the one to open it; nothing without one. Call it
// with the arguments the toolkit left.
std::optional<std::string> FolderArgument(const std::vector<std::string>& args,
                                          const std::string& currentFolder);

}  // namespace teluri
