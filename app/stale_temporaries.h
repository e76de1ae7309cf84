// The temporary files that an interrupted write leaves in the program's
// folder: a copy killed while it replaced one of its files leaves the
// temporary file beside it (the file itself stays intact).
#pragma once

#include <string>
#include <string_view>

namespace teluri {

// True for the name of a temporary file of one of the program's own files:
// "Teluri.ini", "finddata.txt" or a name ending in ".dat" or ".ini",
// followed by the temporary pattern (a dot and six letters or digits).
bool IsOwnTemporaryName(std::string_view name);

// Removes the regular files of the folder `folder` whose names are
// IsOwnTemporaryName. Only for a folder no running copy writes into.
// Files that cannot be removed stay; nothing is reported.
void RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace teluri
