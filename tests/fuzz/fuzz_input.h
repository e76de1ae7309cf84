// Helpers for the fuzz targets: the input as a file the readers can open,
// and a way to split one input into several texts.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace teluri::fuzz {

// A file in memory whose content is replaced for every input; its path is
// opened by the readers like any file.
class MemoryFile {
  public:
    MemoryFile() : fd_(::memfd_create("teluri-fuzz", 0)) {}
    ~MemoryFile() { ::close(fd_); }

    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

    void Write(std::string_view content) const {
        if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, content.data(), content.size(), 0) !=
                                            static_cast<ssize_t>(content.size())) {
            __builtin_trap();
        }
    }

  private:
    int fd_;
};

// The input split at NUL bytes into at most `count` parts; missing parts
// are empty.
inline std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size,
                                      std::size_t count) {
    std::vector<std::string> parts(count);
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part + 1 < count) {
            ++part;
        } else {
            parts[part] += static_cast<char>(data[i]);
        }
    }
    return parts;
}

}  // namespace teluri::fuzz
