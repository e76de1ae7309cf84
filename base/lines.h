// The one set of line rules for every text file the program reads: pages,
// the saved tree, the bookmark list, the search history and search logs.
//
// A NUL byte ends the content. Lines end at CR LF, at a lone CR or at a lone
// LF. A last line without a line end is a line; content that ends with a line
// end has no empty line after it; empty content has no lines.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace teluri {

// The content up to its first NUL byte.
std::string_view ContentBeforeNul(std::string_view content);

// Calls `visit(line)` for every line of `content`, in order.
template <typename Visit>
void ForEachLine(std::string_view content, Visit&& visit) {
    content = ContentBeforeNul(content);
    const std::size_t size = content.size();
    // The next CR and the next LF, each found with a byte search (many bytes
    // at a step) and kept until the lines have passed it.
    std::size_t cr = content.find('\r');
    std::size_t lf = content.find('\n');
    std::size_t start = 0;
    while (start < size) {
        if (cr < start) {
            cr = content.find('\r', start);
        }
        if (lf < start) {
            lf = content.find('\n', start);
        }
        const std::size_t end = std::min({cr, lf, size});
        visit(content.substr(start, end - start));
        start = end < size && content[end] == '\r' && end + 1 < size && content[end + 1] == '\n'
                    ? end + 2
                    : end + 1;
    }
}

std::vector<std::string> SplitLines(std::string_view content);

// Every line followed by CR LF: the form in which the program writes its
// list files, and a page's whole text.
std::string JoinLines(const std::vector<std::string>& lines);

// JoinLines(SplitLines(content)) without building the list.
std::string WholeText(std::string_view content);

// `text` without the blanks and TABs at its start and its end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace teluri
