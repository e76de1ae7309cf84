#include "tests/support/trees.h"

namespace teluri::test {

std::vector<std::string> Outline(const std::vector<TreeLine>& lines, bool pictures) {
    std::vector<std::string> outline;
    outline.reserve(lines.size());
    for (const TreeLine& line : lines) {
        std::string entry(line.depth, '.');
        entry += line.text;
        if (pictures) {
            entry += " " + std::to_string(line.picture);
        }
        outline.push_back(std::move(entry));
    }
    return outline;
}

}  // namespace teluri::test
