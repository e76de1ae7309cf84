// The list of a data folder's page files, as the analysis run and the
// search read it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace teluri {

// The list's mask: patterns separated by ";", each trimmed of blanks.
inline constexpr std::string_view kPageFileMask = "*.msg; *.bak";

// True when `name` matches one of the mask's patterns ("*" any run of bytes,
// "?" one byte), ASCII letters compared without regard to case.
bool MatchesMask(std::string_view name, std::string_view mask);

// The bare names of the folder's regular files (links followed; folders and
// names beginning with "." left out) that match the mask, sorted by name with
// ASCII letters folded to lower case, ties by the raw bytes. A folder that
// does not exist or cannot be read throws IoError naming it.
std::vector<std::string> ListFiles(const std::string& folder,
                                   std::string_view mask = kPageFileMask);

// The page files of one folder, listed when the folder is set.
class PageFileList {
  public:
    // Lists the folder's names afresh, also when it held the same folder
    // before. A folder that cannot be read throws IoError; the list keeps
    // what it held.
    void SetFolder(const std::string& folder);
    // The folder whose names the list holds, without a closing delimiter
    // (except for the root folder); empty before the first SetFolder.
    const std::string& Folder() const { return folder_; }
    const std::vector<std::string>& Names() const { return names_; }

  private:
    std::string folder_;
    std::vector<std::string> names_;
};

// The list of the process's current folder; empty when that folder cannot
// be read.
PageFileList ListOfCurrentFolder();

}  // namespace teluri
