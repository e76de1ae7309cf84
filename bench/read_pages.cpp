// A reference for the benchmarks: reads every file named on the command
// line once, as the page reader does (open, status, read to the end, close),
// and keeps nothing. Its time is the floor for any run over the same pages.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string buffer;
    unsigned long long total = 0;
    for (int i = 1; i < argc; ++i) {
        const int fd = ::open(argv[i], O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            std::perror(argv[i]);
            return 1;
        }
        if (buffer.size() < static_cast<std::size_t>(info.st_size) + 1) {
            buffer.resize(static_cast<std::size_t>(info.st_size) + 1);
        }
        ssize_t got = 0;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {
            total += static_cast<unsigned long long>(got);
        }
        ::close(fd);
        if (got < 0) {
            std::perror(argv[i]);
            return 1;
        }
    }
    std::printf("%llu\n", total);
    return 0;
}
