#include "reading/remembered_pages.h"

#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(RememberedPagesTest, WrittenInASectionOfTheirOwnAndReadBack) {
    TempFolder folder;
    const std::string path = folder / "Window.ini";
    WriteFile(path, "[Window]\r\nWidth=600\r\n");
    SettingsFile ini(path);
    RememberedPages pages;
    pages.Remember("/a/", "1234");
    pages.Remember("/b/", "42");
    pages.Write(ini);
    const std::string content = ReadFile(path);
    EXPECT_TRUE(
        content.starts_with("[Window]\r\nWidth=600\r\n[LastPage]\r\n"
                            "Folder1=/b/\r\nPage1=0042\r\nFolder2=/a/\r\nPage2=1234\r\n"
                            "Folder3=\r\nPage3=\r\n"));
    const RememberedPages again = RememberedPages::Read(ini);
    EXPECT_EQ(again.PageOf("/a/"), "1234");
    EXPECT_EQ(again.PageOf("/b/"), "0042");
    EXPECT_FALSE(again.PageOf("/c/"));
    EXPECT_FALSE(again.PageOf("/a"));
}

TEST(RememberedPagesTest, TheLatestFolderComesFirstAndTheOldestGo) {
    RememberedPages pages;
    for (int i = 0; i < RememberedPages::kMaxFolders + 2; ++i) {
        pages.Remember("/f" + std::to_string(i) + "/", "1000");
    }
    pages.Remember("/f5/", "2000");  // moves to the front, not twice
    EXPECT_EQ(pages.PageOf("/f5/"), "2000");
    EXPECT_FALSE(pages.PageOf("/f0/"));
    EXPECT_FALSE(pages.PageOf("/f1/"));
    EXPECT_EQ(pages.PageOf("/f2/"), "1000");
    EXPECT_EQ(pages.PageOf("/f11/"), "1000");
}

TEST(RememberedPagesTest, DamagedEntriesAreLeftOut) {
    TempFolder folder;
    const std::string path = folder / "Window.ini";
    WriteFile(path,
              "[LastPage]\r\nFolder1=/a/\r\nPage1=12345\r\nFolder2=\r\nPage2=1000\r\n"
              "Folder3=/b/\r\nPage3=-1\r\nFolder4=/c/\r\nPage4=0x10\r\nFolder5=/d/\r\nPage5=7\r\n"
              "Folder6=/d/\r\nPage6=8\r\n");
    const RememberedPages pages = RememberedPages::Read(SettingsFile(path));
    EXPECT_FALSE(pages.PageOf("/a/"));
    EXPECT_FALSE(pages.PageOf("/b/"));
    EXPECT_FALSE(pages.PageOf("/c/"));
    EXPECT_FALSE(pages.PageOf(""));
    EXPECT_EQ(pages.PageOf("/d/"), "0007");
    RememberedPages none;
    none.Remember("/a/", "abcd");
    none.Remember("", "1000");
    EXPECT_FALSE(none.PageOf("/a/"));
    EXPECT_FALSE(none.PageOf(""));
}

TEST(RememberedPagesTest, MessageNumbersAreOneToFourDigits) {
    EXPECT_EQ(MessageNumberOf("7"), "0007");
    EXPECT_EQ(MessageNumberOf("0042"), "0042");
    EXPECT_EQ(MessageNumberOf("9999"), "9999");
    EXPECT_FALSE(MessageNumberOf(""));
    EXPECT_FALSE(MessageNumberOf("12345"));
    EXPECT_FALSE(MessageNumberOf(" 12"));
    EXPECT_FALSE(MessageNumberOf("+12"));
    EXPECT_FALSE(MessageNumberOf("１２"));
}

}  // namespace
}  // namespace teluri
