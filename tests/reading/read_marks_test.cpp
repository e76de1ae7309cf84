#include "reading/read_marks.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
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

}  // namespace
}  // namespace teluri
