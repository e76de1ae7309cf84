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

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string ExeFolder() {
    if (const char* home = std::getenv("TELURI_HOME"); home != nullptr && *home != '\0') {
        // Kept absolute, so that messages name the program's files in full.
        std::error_code error;
        const auto absolute = std::filesystem::absolute(home, error);
        return IncludeTrailingDelimiter(error ? std::string(home) : absolute.string());
    }
    return FolderOf(ExecutablePath());
}

std::string ProgramFile(std::string_view name) {
    return ExeFolder() + std::string(name);
}

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

std::size_t ShortNumberLength(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits == 4) {
        return 0;
    }
    const bool ends = digits == text.size() || text[digits] == ':' || text[digits] == ' ';
    return ends ? digits : 0;
}

std::string PageNumberOf(std::string_view text) {
    if (const std::size_t digits = ShortNumberLength(text); digits != 0) {
        return std::string(4 - digits, '0') + std::string(text.substr(0, digits));
    }
    return std::string(text.substr(0, 4));
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

std::string LocalPathOfUrl(std::string_view url) {
    constexpr std::string_view kScheme = "file://";
    if (url.substr(0, kScheme.size()) != kScheme) {
        return {};
    }
    url.remove_prefix(kScheme.size());
    std::string path;
    path.reserve(url.size());
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && HexValue(url[i + 1]) >= 0 &&
            HexValue(url[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

}  // namespace teluri
