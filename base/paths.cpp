#include "base/paths.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace teluri {
namespace {

std::string ExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind(kPathDelimiter);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Bytes a path keeps unencoded in a URL: the unreserved characters, the
// sub-delimiters, ':', '@' and the path's own '/'.
bool KeepsInUrl(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9')) {
        return true;
    }
    constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
    return kKept.find(static_cast<char>(byte)) != std::string_view::npos;
}

}  // namespace

std::string ExeFolder() {
    if (const char* home = std::getenv("TELURI_HOME"); home != nullptr && *home != '\0') {
        return IncludeTrailingDelimiter(home);
    }
    return FolderOf(ExecutablePath());
}

std::string ProgramFile(std::string_view name) { return ExeFolder() + std::string(name); }

bool EndsWithDelimiter(std::string_view path, const LeadByteSet& leadBytes) {
    // Walk the characters so that a trail byte is never taken for the
    // delimiter.
    bool last = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        last = path[i] == kPathDelimiter;
        if (leadBytes.test(static_cast<unsigned char>(path[i]))) {
            ++i;
            last = false;
        }
    }
    return last;
}

std::string IncludeTrailingDelimiter(std::string_view path, const LeadByteSet& leadBytes) {
    std::string result(path);
    if (!EndsWithDelimiter(path, leadBytes)) {
        result += kPathDelimiter;
    }
    return result;
}

std::string PageFile(std::string_view dataPath, std::string_view number) {
    std::string file(dataPath);
    file += number;
    file += ".msg";
    return file;
}

std::string PageUrl(std::string_view path) {
    std::string absolute(path);
    if (absolute.empty() || absolute.front() != '/') {
        std::error_code error;
        const auto current = std::filesystem::current_path(error);
        if (!error) {
            absolute = IncludeTrailingDelimiter(current.string()) + absolute;
        }
    }
    std::string url = "file://";
    for (const char c : absolute) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeepsInUrl(byte)) {
            url += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            url += escaped;
        }
    }
    return url;
}

}  // namespace teluri
