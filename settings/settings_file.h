// The settings accessor: reads and writes one INI file directly, with no
// cache. Every read sees the file as it is on disk; every write goes to disk
// at once, atomically.
//
// Section and key names are compared without regard to the case of ASCII
// letters. A value is the text after the first "=" of its line, blanks
// around it removed, at most 1023 bytes (longer values are read cut and
// never written). Values are bytes, written and read
// unchanged.
#pragma once

#include <string>
#include <string_view>

#include "base/errors.h"

namespace teluri {

inline constexpr std::string_view kSettingsFileName = "Teluri.ini";

// The longest value a read gives back whole.
inline constexpr std::size_t kMaxSettingsValueLength = 1023;

// A write of a value longer than kMaxSettingsValueLength, refused.
class SettingTooLongError : public IoError {
  public:
    using IoError::IoError;
};

// "Teluri.ini" in the program's folder.
std::string SettingsFilePath();

class SettingsFile {
  public:
    explicit SettingsFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // The value, or `defaultValue` when the file, the section or the key is
    // missing or the file cannot be read.
    std::string ReadText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

    // The value as an integer: "0x"/"0X" followed by hexadecimal digits,
    // "$" and hexadecimal digits, or decimal digits, with optional leading
    // spaces and sign; `defaultValue` for anything else.
    int ReadNumber(std::string_view section, std::string_view key, int defaultValue) const;

    // ReadNumber with the default 1 or 0; true unless the number is 0.
    bool ReadFlag(std::string_view section, std::string_view key, bool defaultValue) const;

    // Writes the entry: creates the file if needed, appends a missing
    // section at the end of the file and a missing key at the end of its
    // section, or replaces the value of the existing entry in place. Every
    // other line stays byte for byte. A refused write throws IoError
    // "%s に書き込めません" with the file's full path; a value longer than
    // kMaxSettingsValueLength throws SettingTooLongError "値が長すぎるため %s
    // に書き込めません" and leaves the file as it is.
    void WriteText(std::string_view section, std::string_view key, std::string_view value);
    void WriteNumber(std::string_view section, std::string_view key, int value);
    void WriteFlag(std::string_view section, std::string_view key, bool value);

  private:
    std::string fileName_;
};

}  // namespace teluri
