#include "reading/recent_folders.h"

#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using Folders = std::vector<std::string>;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

Folders Numbered(int count) {
    Folders folders;
    for (int index = 1; index <= count; ++index) {
        folders.push_back("/data/" + std::to_string(index) + "/");
    }
    return folders;
}

TEST(RecentFoldersTest, TheNewestComesFirstOnceAndTheOldestFallsOffAtEight) {
    Folders folders;
    for (const std::string& folder : Numbered(9)) {
        folders = WithRecentFolder(folders, folder);
    }
    ASSERT_EQ(folders.size(), kRecentFolderCount);
    EXPECT_EQ(folders.front(), "/data/9/");
    EXPECT_EQ(folders.back(), "/data/2/");
    // Opened again: moved to the front, not listed twice.
    folders = WithRecentFolder(folders, "/data/5/");
    EXPECT_EQ(folders, (Folders{"/data/5/", "/data/9/", "/data/8/", "/data/7/", "/data/6/",
                                "/data/4/", "/data/3/", "/data/2/"}));
    EXPECT_EQ(WithoutRecentFolder(folders, "/data/9/").size(), kRecentFolderCount - 1);
    EXPECT_EQ(WithoutRecentFolder(folders, "/elsewhere/"), folders);
}

TEST(RecentFoldersTest, AFolderTheFileCannotHoldLeavesTheListAsItIs) {
    const Folders folders{"/data/1/"};
    for (const std::string& folder :
         {std::string("/data/two\nlines/"), std::string("/data/cr\r/"), std::string(" /lead/"),
          std::string("/trail/ "), std::string("/") + std::string(1100, 'x') + "/",
          std::string()}) {
        EXPECT_EQ(WithRecentFolder(folders, folder), folders) << folder;
    }
    // Non-ASCII names are bytes like any other.
    EXPECT_EQ(WithRecentFolder(folders, "/データ/")[0], "/データ/");
}

TEST(RecentFoldersTest, WrittenInItsOwnSectionAndReadBack) {
    TempFolder folder;
    const std::string path = folder / "Window.ini";
    WriteFile(path, "[Window]\r\nWidth=800\r\n");
    SettingsFile ini(path);
    EXPECT_TRUE(ReadRecentFolders(ini).empty());
    WriteRecentFolders(ini, {"/b/", "/a/"});
    EXPECT_EQ(ReadFile(path),
              "[Window]\r\nWidth=800\r\n[RecentFolders]\r\nFolder1=/b/\r\nFolder2=/a/\r\n"
              "Folder3=\r\nFolder4=\r\nFolder5=\r\nFolder6=\r\nFolder7=\r\nFolder8=\r\n");
    EXPECT_EQ(ReadRecentFolders(ini), (Folders{"/b/", "/a/"}));
    // A shorter list leaves no old entry behind.
    WriteRecentFolders(ini, {"/a/"});
    EXPECT_EQ(ReadRecentFolders(ini), (Folders{"/a/"}));
    WriteRecentFolders(ini, Numbered(8));
    EXPECT_EQ(ReadRecentFolders(ini), Numbered(8));
}

TEST(RecentFoldersTest, AnEditedSectionIsReadWithoutGapsOrRepeats) {
    TempFolder folder;
    const std::string path = folder / "Window.ini";
    WriteFile(path,
              "[RecentFolders]\r\nFolder2=/a/\r\nFolder3=/a/\r\nFolder5=/b/\r\nFolder9=/c/\r\n"
              "Folder1=\r\n");
    EXPECT_EQ(ReadRecentFolders(SettingsFile(path)), (Folders{"/a/", "/b/"}));
}

}  // namespace
}  // namespace teluri
