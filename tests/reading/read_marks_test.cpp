#include "reading/read_marks.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "base/errors.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(ReadMarksTest, MarksAreKeptPerFolderAndWrittenAscending) {
    ReadMarks marks;
    EXPECT_FALSE(marks.IsRead("/a/", 1001));
    EXPECT_TRUE(marks.MarkRead("/a/", 1003));
    EXPECT_TRUE(marks.MarkRead("/a/", 1001));
    EXPECT_FALSE(marks.MarkRead("/a/", 1001));
    EXPECT_TRUE(marks.MarkRead("/b/", 1001));
    EXPECT_TRUE(marks.IsRead("/a/", 1001));
    EXPECT_FALSE(marks.IsRead("/b/", 1003));
    EXPECT_FALSE(marks.IsRead("/a", 1001));  // paths compare as they stand
    EXPECT_EQ(marks.Format(), "[/a/]\r\n1001\r\n1003\r\n[/b/]\r\n1001\r\n");
}

TEST(ReadMarksTest, MarkAllReadTellsWhetherAnythingChanged) {
    ReadMarks marks;
    EXPECT_TRUE(marks.MarkAllRead("/a/", {1002, 1001, 1002}));
    EXPECT_FALSE(marks.MarkAllRead("/a/", {1001}));
    EXPECT_FALSE(marks.MarkAllRead("/a/", {}));
    EXPECT_EQ(marks.Format(), "[/a/]\r\n1001\r\n1002\r\n");
}

TEST(ReadMarksTest, UnknownAndDamagedLinesAreKept) {
    const ReadMarks marks = ReadMarks::Parse(
        "; written by hand\n"
        "[/a/]\r\n"
        "1005\r\n"
        "12ab\r\n"
        "-3\r\n"
        "\r\n"
        "1001\r"
        "[broken\r\n"
        "[/b/]\r\n"
        "42\r\n"
        "[/a/]\r\n"
        "1002");
    EXPECT_TRUE(marks.IsRead("/a/", 1001));
    EXPECT_TRUE(marks.IsRead("/a/", 1002));
    EXPECT_TRUE(marks.IsRead("/b/", 42));
    EXPECT_FALSE(marks.IsRead("/a/", -3));
    EXPECT_EQ(marks.Format(),
              "; written by hand\r\n"
              "[/a/]\r\n1001\r\n1002\r\n1005\r\n12ab\r\n-3\r\n[broken\r\n"
              "[/b/]\r\n42\r\n");
    // Read back, the file stays as it is.
    EXPECT_EQ(ReadMarks::Parse(marks.Format()).Format(), marks.Format());
}

TEST(ReadMarksTest, FolderPathsKeepTheirBytes) {
    // A cp932 folder name whose trail byte is "]".
    const std::string folder = "/d/\x83\x5D/";
    ReadMarks marks;
    marks.MarkRead(folder, 1001);
    const ReadMarks again = ReadMarks::Parse(marks.Format());
    EXPECT_TRUE(again.IsRead(folder, 1001));
}

TEST(ReadMarksTest, FileIsLoadedAndReplaced) {
    TempFolder folder;
    const std::string path = folder / "Read.dat";
    EXPECT_EQ(LoadReadMarks(path).Format(), "");
    ReadMarks marks;
    marks.MarkRead("/a/", 1001);
    SaveReadMarks(path, marks);
    EXPECT_EQ(ReadFile(path), "[/a/]\r\n1001\r\n");
    EXPECT_TRUE(LoadReadMarks(path).IsRead("/a/", 1001));

    std::filesystem::create_directory(folder / "dir.dat");
    EXPECT_THROW(SaveReadMarks(folder / "dir.dat", marks), IoError);
    chmod(path.c_str(), 0);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        try {
            LoadReadMarks(path);
        } catch (const IoError&) {
            return true;
        }
        return false;
    }));
}

// Page files are named with four digits: a number above 9999 (or one too
// large for any integer) names no page, and its line is kept as it stands,
// with the other unknown lines of its folder.
TEST(ReadMarksTest, NumbersNoPageCanHaveAreKeptByteForByte) {
    const ReadMarks marks =
        ReadMarks::Parse("[/a/]\r\n10000\r\n0042\r\n99999999999999999999\r\n9999\r\n00012345\r\n");
    EXPECT_TRUE(marks.IsRead("/a/", 42));
    EXPECT_TRUE(marks.IsRead("/a/", 9999));
    EXPECT_FALSE(marks.IsRead("/a/", 10000));
    EXPECT_FALSE(marks.IsRead("/a/", 12345));
    EXPECT_EQ(marks.Format(),
              "[/a/]\r\n42\r\n9999\r\n10000\r\n99999999999999999999\r\n00012345\r\n");
    ReadMarks marked;
    EXPECT_FALSE(marked.MarkRead("/a/", 10000));
    EXPECT_FALSE(marked.MarkAllRead("/a/", {-1, 10000}));
    EXPECT_FALSE(marked.IsRead("/a/", 10000));
}

// Millions of numbers: memory of the order of the file, no structure per
// number; the file written back is the file read.
TEST(ReadMarksTest, MillionsOfNumbersNeedMemoryOfTheFilesSize) {
    std::string content = "[/a/]\r\n";
    for (int number = 0; number < 10'000; ++number) {
        content += std::to_string(number) + "\r\n";
    }
    for (int number = 100'000'000; number < 104'000'000; ++number) {
        content += std::to_string(number) + "\r\n";
    }
    const std::size_t bound =
        (test::UnderAddressSanitizer() ? 6 : 5) * content.size() / 2 + (16u << 20);
    std::optional<ReadMarks> marks;
    EXPECT_LT(test::PeakMemoryGrowth([&] { marks = ReadMarks::Parse(content); }), bound);
    std::string written;
    EXPECT_LT(test::PeakMemoryGrowth([&] { written = marks->Format(); }), bound);
    EXPECT_EQ(written, content);
    EXPECT_TRUE(marks->IsRead("/a/", 9999));
}

// Folder sections are found in constant time, not by a walk over the ones
// before: 100,000 of them load and save in well under a second.
TEST(ReadMarksTest, HundredThousandFoldersLoadAndSaveInLinearTime) {
    std::string content;
    for (int folder = 0; folder < 100'000; ++folder) {
        content += "[/archive/" + std::to_string(folder) + "/]\r\n1001\r\n";
    }
    const auto start = std::chrono::steady_clock::now();
    ReadMarks marks = ReadMarks::Parse(content);
    EXPECT_TRUE(marks.MarkRead("/archive/99999/", 1002));
    EXPECT_TRUE(marks.IsRead("/archive/12345/", 1001));
    const std::string written = marks.Format();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(written.size(), content.size() + 6);
    EXPECT_TRUE(written.ends_with("[/archive/99999/]\r\n1001\r\n1002\r\n"));
}

}  // namespace
}  // namespace teluri
