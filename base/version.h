// The program's version, as the package's build names it.
#pragma once

#include <string>
#include <string_view>

namespace teluri {

inline constexpr std::string_view kPackageName = "Teluri Explorer";
inline constexpr std::string_view kVersion = TELURI_VERSION;

// The answer to "--version" in the usual form: "PROGRAM (PACKAGE) VERSION".
inline std::string VersionText(std::string_view program) {
    return std::string(program) + " (" + std::string(kPackageName) + ") " + std::string(kVersion) +
           "\n";
}

}  // namespace teluri
