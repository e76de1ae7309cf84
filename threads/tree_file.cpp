#include "threads/tree_file.h"

#include "base/cp932.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "threads/tree_builder.h"

namespace teluri {
namespace {

constexpr std::string_view kInvalidLevel = "%d 行目の項目 \"%s\" のレベル (%l) が正しくありません";

std::string InvalidLevelMessage(std::size_t lineNumber, std::string_view text, std::size_t level) {
    std::string message(kInvalidLevel);
    message.replace(message.find("%d"), 2, std::to_string(lineNumber));
    message.replace(message.find("%l"), 2, std::to_string(level));
    return msg::Format(message, Cp932ForDisplay(text));
}

}  // namespace

std::string FormatTreeLine(const TreeLine& line) {
    std::string text(line.depth, '\t');
    text += line.text;
    text += "\r\n";
    return text;
}

std::string FormatTreeDat(const std::vector<TreeLine>& lines) {
    std::string content;
    for (const TreeLine& line : lines) {
        content += FormatTreeLine(line);
    }
    return content;
}

void WriteTreeDat(const std::string& path, const std::vector<TreeLine>& lines) {
    if (WriteFileAtomically(path, FormatTreeDat(lines))) {
        throw IoError(msg::Format(msg::kCannotCreateFile, path));
    }
}

void ReadTreeDat(std::string_view content, TreeSink& sink) {
    // The nodes on the path from a root down to the previous node; its size
    // is the previous node's depth + 1.
    std::vector<TreeSink::NodeId> path;
    std::size_t lineNumber = 0;
    ForEachLine(content, [&](std::string_view line) {
        ++lineNumber;
        const std::size_t indent = line.find_first_not_of("\t ");
        const std::size_t level = indent == std::string_view::npos ? line.size() : indent;
        const std::string text(line.substr(level));
        if (path.empty()) {
            path.push_back(sink.AppendRoot(text));
            return;
        }
        if (level > path.size()) {
            throw TreeLevelError(InvalidLevelMessage(lineNumber, text, level));
        }
        path.resize(level);
        path.push_back(level == 0 ? sink.AppendRoot(text) : sink.AppendChild(path.back(), text));
    });
}

void CheckTreeDatSize(std::string_view content, const std::string& file) {
    std::size_t lines = 0;
    ForEachLine(content, [&lines](std::string_view) { ++lines; });
    if (lines > kMaxTreeNodes) {
        throw TreeTooLargeError::TooManyNodes(file);
    }
}

}  // namespace teluri
