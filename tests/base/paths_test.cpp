#include "base/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace teluri {
namespace {

TEST(PathsTest, TrailingDelimiterRespectsTrailBytes) {
    EXPECT_TRUE(EndsWithDelimiter("/data/"));
    EXPECT_FALSE(EndsWithDelimiter("/data"));
    EXPECT_FALSE(EndsWithDelimiter(""));
    EXPECT_EQ(IncludeTrailingDelimiter("/data"), "/data/");
    EXPECT_EQ(IncludeTrailingDelimiter("/data/"), "/data/");
}

TEST(PathsTest, TrailByteIsNoDelimiterWithCp932LeadBytes) {
#ifndef _WIN32
    // With cp932's lead bytes "/" as a trail byte does not end the path. (On
    // a UTF-8 system this cannot arise: 0x2F is never a trail byte there.)
    EXPECT_FALSE(EndsWithDelimiter("/a\x81/", Cp932LeadBytes()));
    EXPECT_TRUE(EndsWithDelimiter("/a\x81\x40/", Cp932LeadBytes()));
    EXPECT_EQ(IncludeTrailingDelimiter("/a\x81/", Cp932LeadBytes()), "/a\x81//");
#endif
}

TEST(PathsTest, PageFileIsPlainConcatenation) {
    EXPECT_EQ(PageFile("/data/", "1234"), "/data/1234.msg");
    EXPECT_EQ(PageFile("/data/", "12\">"), "/data/12\">.msg");
}

TEST(PathsTest, PageNumbersBelow1000GetFourDigits) {
    EXPECT_EQ(PageNumberOf("1234:title"), "1234");
    EXPECT_EQ(PageNumberOf("42:small"), "0042");
    EXPECT_EQ(PageNumberOf("42"), "0042");
    EXPECT_EQ(PageNumberOf("7 name"), "0007");
    EXPECT_EQ(PageNumberOf("12345:x"), "1234");
    EXPECT_EQ(PageNumberOf("-1:"), "-1:");
    EXPECT_EQ(PageNumberOf("42x"), "42x");
    EXPECT_EQ(PageNumberOf(""), "");
}

TEST(PathsTest, PageUrlEncodesWhatAUrlNeeds) {
    EXPECT_EQ(PageUrl("/data/1234.msg"), "file:///data/1234.msg");
    EXPECT_EQ(PageUrl("/my data/#1%.msg"), "file:///my%20data/%231%25.msg");
    // A multi-byte folder name: each byte encoded.
    EXPECT_EQ(PageUrl("/\xE8\xA1\xA8/1234.msg"), "file:///%E8%A1%A8/1234.msg");
}

TEST(PathsTest, ExeFolderFollowsTeluriHome) {
    ::setenv("TELURI_HOME", "/opt/teluri", 1);
    EXPECT_EQ(ExeFolder(), "/opt/teluri/");
    EXPECT_EQ(ProgramFile("Tree.dat"), "/opt/teluri/Tree.dat");
    ::setenv("TELURI_HOME", "relative/home", 1);
    EXPECT_EQ(ExeFolder(), std::filesystem::current_path().string() + "/relative/home/");
    ::unsetenv("TELURI_HOME");
    const std::string folder = ExeFolder();
    EXPECT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
}

}  // namespace
}  // namespace teluri
