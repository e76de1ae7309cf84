// Which pages of each data folder were read, and their file Read.dat in the
// program's folder: for each data folder a line "[" + the folder's path +
// "]", then the numbers of its read pages, ascending, one a line (cp932
// text, CR LF; the path's bytes as they stand in the settings). Lines that
// are neither are kept where they stood: before the first folder, or at the
// end of their folder's lines.
#pragma once

#include <set>
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

    bool IsRead(std::string_view folder, int number) const;
    // True when the page was not marked before.
    bool MarkRead(std::string_view folder, int number);
    // True when the page was marked before.
    bool MarkUnread(std::string_view folder, int number);
    // True when any of the pages was not marked before.
    bool MarkAllRead(std::string_view folder, const std::vector<int>& numbers);

  private:
    struct Folder {
        std::string path;
        std::set<int> numbers;
        std::vector<std::string> otherLines;
    };
    const Folder* Find(std::string_view folder) const;
    Folder& FindOrAdd(std::string_view folder);

    std::vector<std::string> leadingLines_;
    std::vector<Folder> folders_;
};

// The marks of a Read.dat; none when there is no such file. A file that
// cannot be read throws IoError "ﾌｧｲﾙ %s は開けません".
ReadMarks LoadReadMarks(const std::string& path);

// Replaces the file atomically; throws IoError "ﾌｧｲﾙ %s を作成できません".
void SaveReadMarks(const std::string& path, const ReadMarks& marks);

}  // namespace teluri
