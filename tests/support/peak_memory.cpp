#include "tests/support/peak_memory.h"

#include <fstream>
#include <string>

namespace teluri::test {
namespace {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 without it.
std::size_t StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field + ":")) {
            return std::stoull(line.substr(field.size() + 1)) * 1024;
        }
    }
    return 0;
}

}  // namespace

std::size_t PeakMemoryGrowth(const std::function<void()>& body) {
    // "5" resets the peak (VmHWM) to the memory held now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const std::size_t before = StatusBytes("VmRSS");
    body();
    const std::size_t peak = StatusBytes("VmHWM");
    return peak > before ? peak - before : 0;
}

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

}  // namespace teluri::test
