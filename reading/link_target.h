// What a link of a shown page leads to. The board's pages link to each
// other as "./view3.cgi?1234" or as an absolute URL on the board's host
// ending the same way; the archive holds those pages as "1234.msg" beside
// the page that links them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace teluri {

struct LinkTarget {
    enum class Kind {
        kBoardPage,  // value: the page's number, the four bytes after "view3.cgi?"
        kAnchor,     // value: the anchor's name in the same page
        kWeb,        // value: the http: or https: URL
        kNone,       // any other link: not followed
    };
    Kind kind = Kind::kNone;
    std::string value;
};

// The target of a link's href as written in the page. A board link whose
// four bytes could name a file elsewhere (a "/", "\" or NUL among them)
// leads nowhere.
LinkTarget LinkTargetOf(std::string_view href);

// The folder of a file path: everything up to and including its last "/".
std::string FolderOfPath(std::string_view path);

// The four bytes of a page file's number when the path's file name is a
// page's ("1234.msg"); nothing for any other file.
std::optional<std::string> PageNumberOfPath(std::string_view path);

// A page number's four bytes as an integer, when they are all digits.
std::optional<int> PageNumberValue(std::string_view number);

}  // namespace teluri
