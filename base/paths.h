// Paths of the program's own files and of message pages, and the page URL
// of a path.
#pragma once

#include <string>
#include <string_view>

#include "base/bytes.h"

namespace teluri {

#ifdef _WIN32
inline constexpr char kPathDelimiter = '\\';
#else
inline constexpr char kPathDelimiter = '/';
#endif

// The program folder, where all the program's own files live, always ending
// with the path delimiter:
// - the folder named by the environment variable TELURI_HOME when it is set;
// - else, when the executable stands in an installed layout (its folder's
//   "../share/teluri-explorer/" exists), the per-user folder
//   "$XDG_DATA_HOME/teluri-explorer/" ("~/.local/share/teluri-explorer/" when
//   XDG_DATA_HOME is unset or not absolute), made when it is missing;
// - else the executable's own folder (a build folder or a portable copy).
std::string ExeFolder();

// The program's own files in ExeFolder().
std::string ProgramFile(std::string_view name);

// A file delivered with the program (the tutorial page): from the installed
// "share/teluri-explorer/" in an installed layout, else from ExeFolder().
std::string DeliveredFile(std::string_view name);

// Where the rules above lead for an executable in `exeFolder` (ending with
// the delimiter), under the current environment; nothing is made.
struct ProgramLayout {
    std::string folder;           // the program folder
    std::string deliveredFolder;  // where the delivered files are
    bool perUser = false;         // the folder is the per-user data folder
};
ProgramLayout ProgramLayoutFor(const std::string& exeFolder);

// True when the last character of `path` is the delimiter; a trail byte of a
// double-byte character does not count.
bool EndsWithDelimiter(std::string_view path, const LeadByteSet& leadBytes = SystemLeadBytes());

// `path` with the delimiter appended unless it ends with one.
std::string IncludeTrailingDelimiter(std::string_view path,
                                     const LeadByteSet& leadBytes = SystemLeadBytes());

// The page file of a message: `dataPath` + number + ".msg". `dataPath` ends
// with the delimiter; `number` is the message number's text as it stands.
std::string PageFile(std::string_view dataPath, std::string_view number);

// True when a link's number text can name a page file in the data folder: a
// path separator would lead out of it, and a NUL would cut the name short.
bool NamesPageFile(std::string_view number);

// The length of the number a text begins with when it is shorter than four
// digits: 1 to 3 digits followed by the text's end, ":" (a node text
// "42:title") or a blank (a bookmark line "42 name"); 0 for any other text.
std::size_t ShortNumberLength(std::string_view text);

// The message number's text in a node text ("1234:title"), a search hit's
// number column or a bookmark line, as page files are named: its first four
// bytes; a number below 1000 ("42:title", "42") is written with four digits
// ("0042"), so that such pages open too.
std::string PageNumberOf(std::string_view text);

// The file:// URL of a path: "file://" and the absolute path, percent-encoded
// where a URL needs it. A relative path is taken from the current folder.
std::string PageUrl(std::string_view path);

// The local path a file:// URL names, the inverse of PageUrl; empty for a URL
// of another scheme.
std::string LocalPathOfUrl(std::string_view url);

}  // namespace teluri
