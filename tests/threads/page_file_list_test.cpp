#include "threads/page_file_list.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

#include "base/bytes.h"
#include "base/errors.h"
#include "tests/support/errors.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::TempFolder;
using test::Thrown;
using test::WriteFile;
using Names = std::vector<std::string>;

TEST(MatchesMaskTest, PageFileMask) {
    for (const std::string_view name :
         {"1234.msg", "1234.bak", ".msg", "a.Bak", "X.MSG", "a.b.msg"}) {
        EXPECT_TRUE(MatchesMask(name, kPageFileMask)) << name;
    }
    for (const std::string_view name :
         {"x.msgx", "msg", ".msg.txt", "1234.ms", "1234msg", "", "bak"}) {
        EXPECT_FALSE(MatchesMask(name, kPageFileMask)) << name;
    }
}

TEST(MatchesMaskTest, Wildcards) {
    const struct {
        std::string_view name;
        std::string_view mask;
        bool matches;
    } cases[] = {
        {"1234.msg", "????.msg", true},
        {"123.msg", "????.msg", false},
        {"12345.msg", "????.msg", false},
        {"abc", "a*c", true},
        {"ac", "a*c", true},
        {"abcbc", "a*bc", true},
        {"abcbd", "a*bc", false},
        {"anything", "*", true},
        {"", "*", true},
        {"a.msg", "*.*", true},
        {"a?c", "a?c", true},
        {"\x95\x5C.msg", "??.MSG", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " " << c.mask;
    }
}

TEST(MatchesMaskTest, PatternsAreTrimmedAndEmptyOnesIgnored) {
    EXPECT_TRUE(MatchesMask("a.txt", "  *.txt  ;*.msg"));
    EXPECT_TRUE(MatchesMask("a.msg", "*.txt;   *.msg   "));
    EXPECT_TRUE(MatchesMask("a.msg", ";;*.msg;"));
    EXPECT_FALSE(MatchesMask("", ""));
    EXPECT_FALSE(MatchesMask("", ";  ;"));
    EXPECT_FALSE(MatchesMask("a", " ; "));
}

TEST(ListFilesTest, SortsNamesWithAsciiFoldedToLowerCase) {
    TempFolder folder;
    for (const char* name : {"b.msg", "Z.msg", "a.msg", "_.msg", "A.msg", "1234.msg", "1234.bak",
                             "0999.MSG", "notes.txt"}) {
        WriteFile(folder / name, "");
    }
    // "_" lies between "Z" and "a": folding puts "Z.msg" after it.
    EXPECT_EQ(ListFiles(folder.Path()), (Names{"0999.MSG", "1234.bak", "1234.msg", "_.msg", "A.msg",
                                               "a.msg", "b.msg", "Z.msg"}));
    EXPECT_EQ(ListFiles(folder.Path(), "*.txt"), Names{"notes.txt"});
}

TEST(ListFilesTest, ManyNamesSortAsTheirFoldedFormsAndThenTheirBytes) {
    // Random names over few letters, so that many share their first eight
    // bytes or differ only in case; high bytes and short names among them.
    TempFolder folder;
    const std::string letters[] = {"a", "A", "b", "B", "_", "0", "9", ".", "\xe3\x81\x82", "\xff"};
    std::mt19937 random(7);
    std::set<std::string> made;
    while (made.size() < 1500) {
        std::string name = random() % 3 == 0 ? "AbAbAbAb" : "";
        for (std::size_t length = 1 + random() % 12; name.size() < length;) {
            name += letters[random() % std::size(letters)];
        }
        if (name[0] != '.' && made.insert(name).second) {
            WriteFile(folder / name, "");
        }
    }
    Names expected(made.begin(), made.end());
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        const std::string foldedA = AsciiLowerCase(a);
        const std::string foldedB = AsciiLowerCase(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    EXPECT_EQ(ListFiles(folder.Path(), "*"), expected);
}

TEST(ListFilesTest, OnlyRegularFilesLinksFollowed) {
    TempFolder folder;
    TempFolder elsewhere;
    WriteFile(folder / "1001.msg", "");
    WriteFile(folder / ".1002.msg", "");
    WriteFile(folder / ".msg", "");
    std::filesystem::create_directory(folder / "9999.msg");
    WriteFile(elsewhere / "target", "");
    std::filesystem::create_symlink(elsewhere / "target", folder / "1003.msg");
    std::filesystem::create_symlink(folder / "gone", folder / "1004.msg");
    std::filesystem::create_directory_symlink(elsewhere.Path(), folder / "1005.msg");
    EXPECT_EQ(ListFiles(folder.Path()), (Names{"1001.msg", "1003.msg"}));
    // The folder's name may lack the delimiter.
    std::string bare = folder.Path();
    bare.pop_back();
    EXPECT_EQ(ListFiles(bare), (Names{"1001.msg", "1003.msg"}));
}

TEST(ListFilesTest, EmptyFolderNameIsTheCurrentFolder) {
    TempFolder folder;
    WriteFile(folder / "target", "");
    WriteFile(folder / "1001.msg", "");
    std::filesystem::create_symlink(folder / "target", folder / "1002.msg");
    struct InFolder {
        explicit InFolder(const std::string& path) { std::filesystem::current_path(path); }
        ~InFolder() { std::filesystem::current_path(previous); }
        std::filesystem::path previous = std::filesystem::current_path();
    } inFolder(folder.Path());
    EXPECT_EQ(ListFiles(""), (Names{"1001.msg", "1002.msg"}));
}

TEST(ListFilesTest, FolderThatCannotBeListedThrowsNamingIt) {
    TempFolder folder;
    const std::string missing = folder / "none";
    const auto error = Thrown<IoError>([&] { ListFiles(missing); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what(), "ﾌｫﾙﾀﾞ " + missing + " は開けません");

    const std::string locked = folder / "locked/";
    std::filesystem::create_directory(locked);
    WriteFile(locked + "1001.msg", "");
    ::chmod(locked.c_str(), 0);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        const auto error = Thrown<IoError>([&] { ListFiles(locked); });
        return error && error->what() == "ﾌｫﾙﾀﾞ " + locked + " は開けません";
    }));
}

}  // namespace
}  // namespace teluri
