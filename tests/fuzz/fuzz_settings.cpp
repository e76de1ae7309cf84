// The settings accessor on arbitrary file content: reads answer, writes
// either succeed and read back or are refused, and no other entry changes.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "base/errors.h"
#include "base/files.h"
#include "settings/settings_file.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

const std::string& IniPath() {
    static const std::string path = [] {
        // In memory where there is such a folder: every write is flushed.
        std::string pattern = std::filesystem::is_directory("/dev/shm")
                                  ? "/dev/shm/teluri-fuzz-XXXXXX"
                                  : "/tmp/teluri-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            __builtin_trap();
        }
        return std::string(pattern) + "/Teluri.ini";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // content \0 section \0 key \0 value
    const auto parts = teluri::fuzz::Parts(data, size, 4);
    const std::string& path = IniPath();
    if (teluri::WriteFileAtomically(path, parts[0])) {
        __builtin_trap();
    }
    teluri::SettingsFile ini(path);
    const std::string before = ini.ReadText("Font", "Size", "?");
    ini.ReadNumber(parts[1], parts[2], 7);
    ini.ReadFlag(parts[1], parts[2], true);
    const std::string& section = parts[1];
    const std::string& key = parts[2];
    const std::string& value = parts[3];
    bool written = true;
    try {
        ini.WriteText(section, key, value);
    } catch (const teluri::IoError&) {
        written = false;
    }
    if (!written) {
        return 0;
    }
    // The value reads back (blanks around it removed); a value a read would
    // give back cut is refused above.
    std::string expected = value;
    const auto first = expected.find_first_not_of(" \t");
    expected = first == std::string::npos
                   ? std::string()
                   : expected.substr(first, expected.find_last_not_of(" \t") - first + 1);
    if (ini.ReadText(section, key, "\x01") != expected) {
        __builtin_trap();
    }
    return 0;
}
