#include "base/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace teluri {
namespace {

// The name of the installed data folders (share/, the per-user folder).
constexpr const char* kProgramName = "teluri-explorer";

std::string ExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind(kPathDelimiter);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The installed "share/teluri-explorer/" beside the executable's folder
// ("bin/"), or empty when the executable stands in no installed layout.
std::string InstalledShareFolder(const std::string& exeFolder) {
    if (exeFolder.empty()) {
        return {};
    }
    const std::filesystem::path shared =
        (std::filesystem::path(exeFolder) / ".." / "share" / kProgramName).lexically_normal();
    std::error_code error;
    if (!std::filesystem::is_directory(shared, error)) {
        return {};
    }
    return IncludeTrailingDelimiter(shared.string());
}

// The user's home folder: HOME, else the account's entry.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

// "$XDG_DATA_HOME/teluri-explorer/"; a relative XDG_DATA_HOME is ignored, as
// the base-directory rules ask. Without any home folder the executable's
// folder stays the program folder.
std::string PerUserFolder(const std::string& exeFolder) {
    std::string dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        dataHome = xdg;
    } else if (const std::string home = HomeFolder(); !home.empty()) {
        dataHome = IncludeTrailingDelimiter(home) + ".local/share";
    } else {
        return exeFolder;
    }
    return IncludeTrailingDelimiter(IncludeTrailingDelimiter(dataHome) + kProgramName);
}

// Makes `folder` and the folders above it that are missing, readable by the
// user alone, as the base-directory rules ask. A failure shows later, when a
// file in the folder cannot be written.
void MakeFolders(const std::string& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return;
    }
    std::string path;
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        path = folder.substr(0, slash);
        ::mkdir(path.c_str(), 0700);
    }
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

ProgramLayout ProgramLayoutFor(const std::string& exeFolder) {
    if (const char* home = std::getenv("TELURI_HOME"); home != nullptr && *home != '\0') {
        // Kept absolute, so that messages name the program's files in full.
        std::error_code error;
        const auto absolute = std::filesystem::absolute(home, error);
        const std::string folder =
            IncludeTrailingDelimiter(error ? std::string(home) : absolute.string());
        const std::string shared = InstalledShareFolder(exeFolder);
        return {folder, shared.empty() ? folder : shared, false};
    }
    if (const std::string shared = InstalledShareFolder(exeFolder); !shared.empty()) {
        return {PerUserFolder(exeFolder), shared, true};
    }
    return {exeFolder, exeFolder, false};
}

std::string ExeFolder() {
    const ProgramLayout layout = ProgramLayoutFor(FolderOf(ExecutablePath()));
    if (layout.perUser) {
        MakeFolders(layout.folder);
    }
    return layout.folder;
}

std::string ProgramFile(std::string_view name) {
    return ExeFolder() + std::string(name);
}

std::string DeliveredFile(std::string_view name) {
    return ProgramLayoutFor(FolderOf(ExecutablePath())).deliveredFolder + std::string(name);
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

bool NamesPageFile(std::string_view number) {
    return number.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
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
