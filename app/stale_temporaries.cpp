#include "app/stale_temporaries.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/files.h"

namespace teluri {

bool IsOwnTemporaryName(std::string_view name) {
    const std::size_t randomLength = kTemporarySuffix.size() - 1;  // the X after the dot
    if (name.size() <= kTemporarySuffix.size() ||
        name[name.size() - kTemporarySuffix.size()] != '.') {
        return false;
    }
    const std::string_view random = name.substr(name.size() - randomLength);
    if (!std::all_of(random.begin(), random.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
        return false;
    }
    const std::string_view file = name.substr(0, name.size() - kTemporarySuffix.size());
    return file == "finddata.txt" ||
           (file.size() > 4 && (file.ends_with(".dat") || file.ends_with(".ini")));
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statusError;
        if (it->is_regular_file(statusError) && !it->is_symlink(statusError) &&
            IsOwnTemporaryName(it->path().filename().string())) {
            std::filesystem::remove(it->path(), statusError);
        }
    }
}

}  // namespace teluri
