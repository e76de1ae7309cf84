#include "base/files.h"

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

TEST(ReadFileTest, MissingFilesAndFoldersAreAbsent) {
    TempFolder folder;
    EXPECT_FALSE(ReadFileIfExists(folder / "none").has_value());
    EXPECT_FALSE(ReadFileIfExists(folder / "none/deeper").has_value());
    std::filesystem::create_directory(folder / "9999.msg");
    EXPECT_FALSE(ReadFileIfExists(folder / "9999.msg").has_value());
    EXPECT_FALSE(FileExists(folder / "9999.msg"));
    EXPECT_TRUE(DirectoryExists(folder / "9999.msg"));
}

TEST(ReadFileTest, ReadsBytesUnchanged) {
    TempFolder folder;
    const std::string bytes("a\0b\r\n\xFF", 6);
    WriteFile(folder / "x", bytes);
    EXPECT_EQ(ReadFileIfExists(folder / "x"), bytes);
    WriteFile(folder / "empty", "");
    EXPECT_EQ(ReadFileIfExists(folder / "empty"), "");
}

TEST(ReadFileTest, UnreadableFileThrowsNamingIt) {
    TempFolder folder;
    const std::string path = folder / "1234.msg";
    WriteFile(path, "page");
    ::chmod(path.c_str(), 0);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        try {
            ReadFileIfExists(path);
        } catch (const IoError& error) {
            return std::string(error.what()) == "ﾌｧｲﾙ " + path + " は開けません";
        }
        return false;
    }));
}

TEST(ReadFileTest, ReadErrorThrows) {
    // Reading this file fails with an input/output error even for root.
    EXPECT_THROW(ReadFileIfExists("/proc/self/mem"), IoError);
}

TEST(AtomicWriteTest, ReplacesContentAndKeepsMode) {
    TempFolder folder;
    const std::string path = folder / "Tree.dat";
    EXPECT_FALSE(WriteFileAtomically(path, "one"));
    EXPECT_EQ(ReadFile(path), "one");
    ::chmod(path.c_str(), 0640);
    EXPECT_FALSE(WriteFileAtomically(path, "two"));
    EXPECT_EQ(ReadFile(path), "two");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicWriteTest, FailureBeforeRenameLeavesOldContent) {
    TempFolder folder;
    const std::string path = folder / "Bookmark.dat";
    WriteFile(path, "old");
    SetAtomicWriteFailureForTesting(true);
    const std::error_code error = WriteFileAtomically(path, "new");
    SetAtomicWriteFailureForTesting(false);
    EXPECT_TRUE(error);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicWriteTest, ReadOnlyFolderIsAnError) {
    TempFolder folder;
    const std::string path = folder / "Teluri.ini";
    WriteFile(path, "old");
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_TRUE(test::RunWithoutPrivileges(
        [&] { return static_cast<bool>(WriteFileAtomically(path, "new")); }));
    EXPECT_EQ(ReadFile(path), "old");
}

}  // namespace
}  // namespace teluri
