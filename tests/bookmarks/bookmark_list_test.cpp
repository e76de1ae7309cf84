#include "bookmarks/bookmark_list.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "base/paths.h"
#include "tests/support/errors.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using namespace std::string_literals;
using test::ReadFile;
using test::Sjis;
using test::TempFolder;
using test::Thrown;
using test::WriteFile;

TEST(BookmarkDatTest, ReadsByTheSharedLineRulesAndWritesCrLf) {
    const struct {
        std::string content;
        BookmarkList lines;
    } cases[] = {
        {"", {}},
        {"1234 a\n5678 b\n", {"1234 a", "5678 b"}},
        {"1234 a\r5678 b", {"1234 a", "5678 b"}},  // no line end after the last
        {"1234 a\r\n\r\n\n 5678  b \r\n", {"1234 a", "", "", " 5678  b "}},
        {"1234 a\r\n5678\0 b\r\n9999 c\r\n"s, {"1234 a", "5678"}},  // NUL ends it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseBookmarkDat(c.content), c.lines) << c.content;
    }
    EXPECT_EQ(FormatBookmarkDat({"1234 a", "", " 5678  b "}), "1234 a\r\n\r\n 5678  b \r\n");
    EXPECT_EQ(FormatBookmarkDat({}), "");
}

TEST(BookmarkDatTest, FileRoundTripKeepsBytes) {
    TempFolder folder;
    const std::string path = folder / "Bookmark.dat";
    EXPECT_FALSE(ReadBookmarkDat(path).has_value());
    // "表" and "ソ" have a backslash as trail byte.
    const BookmarkList lines = {Sjis("1234 表示ソフト"), "0042 R&D && more", "",
                                Sjis("1234 表示ソフト")};
    WriteBookmarkDat(path, lines);
    EXPECT_EQ(ReadFile(path),
              Sjis("1234 表示ソフト\r\n0042 R&D && more\r\n\r\n1234 表示ソフト\r\n"));
    EXPECT_EQ(ReadBookmarkDat(path), lines);
}

TEST(BookmarkDatTest, WriteIntoReadOnlyFolderKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder / "Bookmark.dat";
    WriteFile(path, "1234 old\r\n");
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        const auto error = Thrown<IoError>([&] { WriteBookmarkDat(path, {"5678 new"}); });
        return error && error->what() == "ﾌｧｲﾙ " + path + " を作成できません";
    }));
    EXPECT_EQ(ReadFile(path), "1234 old\r\n");
}

TEST(BookmarkLineTest, NumberAndName) {
    const struct {
        std::string line, number, pageNumber, name;
    } cases[] = {
        {Sjis("1234 Re: 質問"), "1234", "1234", Sjis("Re: 質問")},
        {"1234  two", "1234", "1234", " two"},
        {"1234", "1234", "1234", ""},
        {"", "", "", ""},
        // Written for a page below 1000: the name starts after the blank.
        {"42 small", "42", "0042", "small"},
        {"0042 small", "0042", "0042", "small"},
        {"12345 name", "1234", "1234", " name"},
        {Sjis("表示 ソフト"), Sjis("表示"), Sjis("表示"), Sjis("ソフト")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BookmarkNumber(c.line), c.number) << c.line;
        EXPECT_EQ(PageNumberOf(c.line), c.pageNumber) << c.line;
        EXPECT_EQ(BookmarkName(c.line), c.name) << c.line;
    }
}

TEST(BookmarkLineTest, MadeAndRetitledLinesKeepTheNumberAndStayOneLine) {
    EXPECT_EQ(MakeBookmarkLine(42, ""), "42 ");
    EXPECT_EQ(MakeBookmarkLine(1234, "a\r\nb\0c"s), "1234 a  b c");
    EXPECT_EQ(RetitledBookmarkLine("42 small", "New"), "42 New");
    EXPECT_EQ(RetitledBookmarkLine("1234", "a\nb"), "1234 a b");
}

}  // namespace
}  // namespace teluri

namespace teluri {
namespace {

// Reading stops at a NUL byte; the lines after it would be lost by the next
// write, so the file is kept as it was before it is first replaced.
TEST(BookmarkFileTest, FileWithANulIsKeptBeforeTheFirstWrite) {
    test::TempFolder folder;
    const std::string file = folder / "Bookmark.dat";
    const std::string original = "1234 a\r\n5678\0 b\r\n9999 c\r\n"s;
    test::WriteFile(file, original);
    const std::optional<BookmarkList> lines = ReadBookmarkDat(file);
    ASSERT_TRUE(lines);
    WriteBookmarkDat(file, *lines);
    EXPECT_EQ(test::ReadFile(file), "1234 a\r\n5678\r\n");
    EXPECT_EQ(test::ReadFile(file + ".nul"), original);
    WriteBookmarkDat(file, {"1234 a"});
    EXPECT_FALSE(std::filesystem::exists(file + ".nul1"));
    // No copy, no write: the file stays as it is.
    test::WriteFile(file, original);
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_TRUE(test::RunWithoutPrivileges(
        [&] { return Thrown<IoError>([&] { WriteBookmarkDat(file, {"1234 a"}); }).has_value(); }));
    EXPECT_EQ(test::ReadFile(file), original);
}

TEST(BookmarkFileTest, UnreadableFileIsSetAsideUnderAFreeName) {
    test::TempFolder folder;
    const std::string file = folder / "Bookmark.dat";
    test::WriteFile(file + ".unreadable", "older");
    test::WriteFile(file, "old");
    EXPECT_EQ(SetUnreadableFileAside(file), file + ".unreadable1");
    EXPECT_EQ(test::ReadFile(file + ".unreadable1"), "old");
    EXPECT_EQ(test::ReadFile(file + ".unreadable"), "older");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_THROW(SetUnreadableFileAside(file), IoError);
}

}  // namespace
}  // namespace teluri
