#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(OpenFolderTest, ReadsByNameWhatThePathGivesAndNamesThePath) {
    TempFolder folder;
    WriteFile(folder / "1234.msg", "page");
    std::filesystem::create_directory(folder / "9999.msg");
    WriteFile(folder / "locked.msg", "x");
    ::chmod((folder / "locked.msg").c_str(), 0);
    // Held open, and gone before it is read from: each file by its path.
    std::filesystem::create_directory(folder / "gone");
    const OpenFolder gone(folder / "gone/");
    std::filesystem::remove(folder / "gone");
    // Search permission only: the folder is held open all the same.
    ::chmod(folder.Path().c_str(), 0111);
    EXPECT_TRUE(test::RunWithoutPrivileges([&folder, &gone] {
        const OpenFolder open(folder.Path() + "/");
        std::string buffer;
        bool same = open.ReadFileInto("1234.msg", buffer) == std::string_view("page") &&
                    !open.ReadFileInto("none", buffer) && !open.ReadFileInto("9999.msg", buffer) &&
                    !gone.ReadFileInto("1234.msg", buffer);
        try {
            open.ReadFileInto("locked.msg", buffer);
            same = false;
        } catch (const IoError& error) {
            same = same && std::string(error.what()) ==
                               "ﾌｧｲﾙ " + folder.Path() + "/locked.msg は開けません";
        }
        return same;
    }));
    ::chmod(folder.Path().c_str(), 0777);
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

// Writing back the bytes a file already holds leaves it alone: same inode,
// same modification time, and no error where it could not be replaced.
TEST(AtomicWriteTest, SameBytesLeaveTheFileUntouched) {
    TempFolder folder;
    const std::string path = folder / "Bookmark.dat";
    WriteFile(path, "1234 name\r\n");
    const timespec old[2] = {{1'000'000, 0}, {1'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
    struct stat before {};
    ::stat(path.c_str(), &before);
    EXPECT_FALSE(WriteFileAtomically(path, "1234 name\r\n"));
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, 1'000'000);
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_TRUE(
        test::RunWithoutPrivileges([&] { return !WriteFileAtomically(path, "1234 name\r\n"); }));
    // A change of one byte, or of the length, is written.
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_FALSE(WriteFileAtomically(path, "1234 namf\r\n"));
    EXPECT_EQ(ReadFile(path), "1234 namf\r\n");
    EXPECT_FALSE(WriteFileAtomically(path, "1234 namf\r\n\r\n"));
    EXPECT_EQ(ReadFile(path), "1234 namf\r\n\r\n");
}

TEST(AtomicWriteTest, ReadOnlyFilesAndOtherKindsAreRefusedEvenForRoot) {
    TempFolder folder;
    const std::string path = folder / "Teluri.ini";
    WriteFile(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(WriteFileAtomically(path, "new"), std::errc::permission_denied);
    EXPECT_TRUE(test::RunWithoutPrivileges(
        [&] { return static_cast<bool>(WriteFileAtomically(path, "new")); }));
    EXPECT_EQ(ReadFile(path), "old");
    // Nor is anything but a regular file replaced by one.
    const std::string pipe = folder / "Tree.dat";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    EXPECT_EQ(WriteFileAtomically(pipe, "tree"), std::errc::invalid_argument);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    std::filesystem::create_directory(folder / "Bookmark.dat");
    EXPECT_TRUE(WriteFileAtomically(folder / "Bookmark.dat", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Bookmark.dat"));
}

// A link keeps being a link: the file it names (through a chain of links,
// relative or absolute) gets the content, replaced beside itself.
TEST(AtomicWriteTest, SymbolicLinksKeepPointingAtTheWrittenFile) {
    TempFolder folder;
    TempFolder elsewhere;
    const std::string target = elsewhere / "real.ini";
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0600);
    std::filesystem::create_symlink(target, elsewhere / "middle");
    std::filesystem::create_symlink(
        "../" + std::filesystem::path(elsewhere.Path()).parent_path().filename().string() +
            "/middle",
        folder / "Teluri.ini");
    const std::string link = folder / "Teluri.ini";
    EXPECT_FALSE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_symlink(elsewhere / "middle"));
    EXPECT_EQ(ReadFile(target), "new");
    struct stat info {};
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // No temporary file stays in either folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere.Path()),
                            std::filesystem::directory_iterator()),
              2);
    // A dangling link creates the file it names; a loop is an error.
    std::filesystem::create_symlink("fresh.dat", folder / "Tree.dat");
    EXPECT_FALSE(WriteFileAtomically(folder / "Tree.dat", "tree"));
    EXPECT_EQ(ReadFile(folder / "fresh.dat"), "tree");
    std::filesystem::create_symlink("loop", folder / "loop");
    EXPECT_TRUE(WriteFileAtomically(folder / "loop", "x"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "loop"));
}

TEST(KeepCopyTest, FileWithANulIsCopiedUnderAFreeName) {
    TempFolder folder;
    const std::string path = folder / "finddata.txt";
    EXPECT_FALSE(KeepCopyIfItHoldsNul(path));  // no file: nothing to keep
    WriteFile(path, "a\r\nb\r\n");
    EXPECT_FALSE(KeepCopyIfItHoldsNul(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".nul"));
    const std::string withNul("a\r\n\0b\r\n", 6);
    WriteFile(path, withNul);
    WriteFile(path + ".nul", "taken");
    EXPECT_FALSE(KeepCopyIfItHoldsNul(path));
    EXPECT_EQ(ReadFile(path + ".nul"), "taken");
    EXPECT_EQ(ReadFile(path + ".nul1"), withNul);
    EXPECT_EQ(ReadFile(path), withNul);
    std::filesystem::create_symlink("nowhere", path + ".nul2");
    EXPECT_EQ(FreeNameBeside(path, ".nul"), path + ".nul3");
}

TEST(ListFileTest, RefusedWriteOfWhatTheFileAlreadyReadsAsIsNoError) {
    TempFolder folder;
    const std::string path = folder / "Bookmark.dat";
    // Other line ends, read as the same lines, in a file the user may not
    // write (as in a read-only program folder): left as it is, no error.
    WriteFile(path, "1001 a\n1002 b\r1003 c");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_FALSE(WriteListFile(path, {"1001 a", "1002 b", "1003 c"}));
    EXPECT_EQ(ReadFile(path), "1001 a\n1002 b\r1003 c");
    // A real change is still refused.
    EXPECT_TRUE(WriteListFile(path, {"1001 a"}));
    EXPECT_TRUE(WriteListFile(path, {"1001 a", "1002 b", "1003 c", ""}));
    // Where the file may be written, it is written with CR LF.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    EXPECT_FALSE(WriteListFile(path, {"1001 a", "1002 b", "1003 c"}));
    EXPECT_EQ(ReadFile(path), "1001 a\r\n1002 b\r\n1003 c\r\n");
    // A file with a NUL reads as fewer lines than it holds: refused as any
    // change, and copied aside before it is written.
    const std::string withNul(
        "1001 a\n\0"
        "1002 b\n",
        9);
    WriteFile(path, withNul);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_TRUE(WriteListFile(path, {"1001 a"}));
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    std::filesystem::remove(path + ".nul");
    EXPECT_FALSE(WriteListFile(path, {"1001 a"}));
    EXPECT_EQ(ReadFile(path + ".nul"), withNul);
    EXPECT_EQ(ReadFile(path), "1001 a\r\n");
}

}  // namespace
}  // namespace teluri
