#include "base/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

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

// Sets an environment variable for the length of a scope (unset: nothing),
// and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }

  private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

// A prefix with bin/ and, when `installed`, share/teluri-explorer/.
struct Prefix {
    explicit Prefix(bool installed) {
        std::filesystem::create_directories(root / "bin");
        if (installed) {
            std::filesystem::create_directories(root / "share/teluri-explorer");
        }
    }
    std::string Bin() const { return root / "bin/"; }
    std::string Share() const { return root / "share/teluri-explorer/"; }
    test::TempFolder root;
};

TEST(ProgramLayoutTest, InstalledCopyKeepsItsFilesInTheUsersDataFolder) {
    const Prefix prefix(true);
    const ScopedEnv home("HOME", "/home/someone");
    const ScopedEnv teluriHome("TELURI_HOME", std::nullopt);
    {
        const ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
        const ProgramLayout layout = ProgramLayoutFor(prefix.Bin());
        EXPECT_EQ(layout.folder, "/home/someone/.local/share/teluri-explorer/");
        EXPECT_EQ(layout.deliveredFolder, prefix.Share());
        EXPECT_TRUE(layout.perUser);
    }
    {
        const ScopedEnv xdg("XDG_DATA_HOME", "/data/home/");
        EXPECT_EQ(ProgramLayoutFor(prefix.Bin()).folder, "/data/home/teluri-explorer/");
    }
    for (const char* ignored : {"relative/data", ""}) {
        const ScopedEnv xdg("XDG_DATA_HOME", ignored);
        EXPECT_EQ(ProgramLayoutFor(prefix.Bin()).folder,
                  "/home/someone/.local/share/teluri-explorer/")
            << ignored;
    }
}

TEST(ProgramLayoutTest, TeluriHomeComesFirstButTheTutorialStaysInstalled) {
    const ScopedEnv teluriHome("TELURI_HOME", "/opt/teluri");
    const Prefix installed(true);
    ProgramLayout layout = ProgramLayoutFor(installed.Bin());
    EXPECT_EQ(layout.folder, "/opt/teluri/");
    EXPECT_EQ(layout.deliveredFolder, installed.Share());
    EXPECT_FALSE(layout.perUser);
    const Prefix portable(false);
    layout = ProgramLayoutFor(portable.Bin());
    EXPECT_EQ(layout.folder, "/opt/teluri/");
    EXPECT_EQ(layout.deliveredFolder, "/opt/teluri/");
}

TEST(ProgramLayoutTest, BuildFolderAndPortableCopyUseTheExecutablesFolder) {
    const ScopedEnv teluriHome("TELURI_HOME", std::nullopt);
    const Prefix portable(false);
    ProgramLayout layout = ProgramLayoutFor(portable.Bin());
    EXPECT_EQ(layout.folder, portable.Bin());
    EXPECT_EQ(layout.deliveredFolder, portable.Bin());
    EXPECT_FALSE(layout.perUser);
    // A file of that name is no installed layout.
    std::filesystem::create_directories(portable.root / "share");
    test::WriteFile(portable.root / "share/teluri-explorer", "");
    EXPECT_EQ(ProgramLayoutFor(portable.Bin()).folder, portable.Bin());
}

}  // namespace
}  // namespace teluri
