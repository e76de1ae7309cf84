// Runs the teluri command in the test's own process.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace teluri::test {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline CliResult Teluri(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::Run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace teluri::test
