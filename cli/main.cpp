#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "cli/commands.h"

namespace {

// A closed standard output stays unusable: a file the command opens later
// must not take its descriptor and receive the output. A read-only
// descriptor in its place makes every write to it fail.
void KeepClosedOutputClosed() {
    if (::fcntl(STDOUT_FILENO, F_GETFD) >= 0 || errno != EBADF) {
        return;
    }
    const int placeholder = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (placeholder >= 0 && placeholder != STDOUT_FILENO) {
        ::dup2(placeholder, STDOUT_FILENO);
        ::close(placeholder);
    }
}

}  // namespace

int main(int argc, char** argv) {
    KeepClosedOutputClosed();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return teluri::cli::Run(args, std::cout, std::cerr);
}
