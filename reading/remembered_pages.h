// The page last on show in each data folder, so that reading picks up there
// after a restart or after another folder was open. Kept in Window.ini,
// section "LastPage": Folder1 with a folder's path (as the settings name
// it) and Page1 with its page's number, Folder2 and Page2 for the folder
// before, and so on, at most kMaxFolders folders, the latest first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace teluri {

class SettingsFile;

class RememberedPages {
  public:
    static constexpr int kMaxFolders = 10;

    // The entries of the file; an entry without a folder or whose page is
    // not 1 to 4 digits is left out.
    static RememberedPages Read(const SettingsFile& ini);
    // Writes every slot, the unused ones empty; throws IoError.
    void Write(SettingsFile& ini) const;

    // The page's four-digit number ("0042" for 42).
    std::optional<std::string> PageOf(std::string_view folder) const;
    // `number`: 1 to 4 digits; anything else is not remembered.
    void Remember(std::string_view folder, std::string_view number);

  private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// A message number as typed or remembered: 1 to 4 digits, given with four
// ("0042"); nothing for any other text.
std::optional<std::string> MessageNumberOf(std::string_view text);

}  // namespace teluri
