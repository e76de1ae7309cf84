// Which pages of each data folder were read, and their file Read.dat in the
// program's folder: for each data folder a line "[" + the folder's path +
// "]", then the numbers of its read pages, ascending, one a line (cp932
// text, CR LF; the path's bytes as they stand in the settings). Lines that
// are neither, and numbers that no page file can have (page files are named
// with four digits), are kept byte for byte where they stood: before the
// first folder, or at the end of their folder's lines.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace teluri {

inline constexpr std::string_view kReadMarksFileName = "Read.dat";

// "Read.dat" in the program's folder.
std::string ReadMarksFilePath();

class ReadMarks {
  public:
    // The marks of a file's content. A folder named twice has the numbers
    // of both.
    static ReadMarks Parse(std::string_view content);
    // The file's content.
    std::string Format() const;

    // Numbers no page file can have (below 0, above 9999) are never read
    // and not marked.
    bool IsRead(std::string_view folder, int number) const;
    // True when the page was not marked before.
    bool MarkRead(std::string_view folder, int number);
    // True when the page was marked before.
    bool MarkUnread(std::string_view folder, int number);
    // True when any of the pages was not marked before.
    bool MarkAllRead(std::string_view folder, const std::vector<int>& numbers);

  private:
    // Page numbers have four digits.
    using PageNumber = std::uint16_t;
    struct Folder {
        std::string path;
        // Ascending, each once: two bytes a read page.
        std::vector<PageNumber> numbers;
        // The other lines, each followed by CR LF: one string, however many
        // lines a damaged file holds.
        std::string otherLines;
    };
    const Folder* Find(std::string_view folder) const;
    Folder& FindOrAdd(std::string_view folder);

    std::string leadingLines_;     // each followed by CR LF
    std::vector<Folder> folders_;  // in the order of the file
    // Where each folder stands in folders_, so that a file of many folders
    // loads in linear time.
    std::map<std::string, std::size_t, std::less<>> folderIndex_;
};

// The marks of a Read.dat; none when there is no such file. A file that
// cannot be read throws IoError "ﾌｧｲﾙ %s は開けません".
ReadMarks LoadReadMarks(const std::string& path);

// Replaces the file atomically; throws IoError "ﾌｧｲﾙ %s を作成できません".
void SaveReadMarks(const std::string& path, const ReadMarks& marks);

}  // namespace teluri
