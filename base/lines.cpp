#include "base/lines.h"

namespace teluri {

std::string_view ContentBeforeNul(std::string_view content) {
    const auto nul = content.find('\0');
    return nul == std::string_view::npos ? content : content.substr(0, nul);
}

std::vector<std::string> SplitLines(std::string_view content) {
    std::vector<std::string> lines;
    ForEachLine(content, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string WholeText(std::string_view content) {
    std::string text;
    text.reserve(content.size() + 2);
    ForEachLine(content, [&text](std::string_view line) {
        text += line;
        text += "\r\n";
    });
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace teluri
