#include "settings/settings_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "base/errors.h"
#include "tests/support/errors.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::Thrown;
using test::WriteFile;

class IniFileTest : public ::testing::Test {
  protected:
    // The settings file holding `content`.
    SettingsFile With(std::string_view content) {
        WriteFile(path_, content);
        return SettingsFile(path_);
    }

    TempFolder folder_;
    const std::string path_ = folder_ / "Teluri.ini";
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    SettingsFile ini(path_);
    EXPECT_EQ(ini.ReadText("Font", "Name", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadNumber("Font", "Size", 9), 9);
    EXPECT_TRUE(ini.ReadFlag("Font", "Bold", true));
    With("[Font]\r\nName=Gothic\r\n[Win]\r\n; Top=1\r\nLeft\r\n");
    EXPECT_EQ(ini.ReadText("Other", "Name", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadText("Font", "Size", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadText("Win", "Name", "dflt"), "dflt");   // only within the section
    EXPECT_EQ(ini.ReadText("Win", "; Top", "dflt"), "dflt");  // a comment is no entry
    EXPECT_EQ(ini.ReadText("Win", "Left", "dflt"), "dflt");
}

TEST_F(IniFileTest, NamesIgnoreCase) {
    const SettingsFile ini = With("[editor]\r\nDraftopen=1\r\n");
    EXPECT_EQ(ini.ReadText("Editor", "DraftOpen", ""), "1");
    EXPECT_EQ(ini.ReadText("EDITOR", "draftopen", ""), "1");
}

TEST_F(IniFileTest, ValueIsTheTextAfterTheFirstEqualsSignTrimmed) {
    const struct {
        std::string_view line;
        std::string_view value;
    } cases[] = {
        {"a = b=c ", "b=c"}, {"a=\t x y \t", "x y"}, {"  a  =1", "1"},           {"\ta\t=1", "1"},
        {"a=", ""},          {"a==", "="},           {"a=\x95\x5C", "\x95\x5C"},
    };
    for (const auto& c : cases) {
        const SettingsFile ini = With("[S]\r\n" + std::string(c.line) + "\r\n");
        EXPECT_EQ(ini.ReadText("S", "a", "dflt"), c.value) << c.line;
    }
    const SettingsFile ini = With("[S]\r\nlong=" + std::string(2000, 'v') + "\r\n");
    EXPECT_EQ(ini.ReadText("S", "long", ""), std::string(1023, 'v'));
}

TEST_F(IniFileTest, WritesOnlyWhatChanges) {
    const struct {
        const char* name;
        std::optional<std::string_view> before;
        std::string_view section, key, value;
        std::string_view after;
    } cases[] = {
        {"new file", std::nullopt, "Font", "Size", "10", "[Font]\r\nSize=10\r\n"},
        {"empty file", "", "Font", "Size", "10", "[Font]\r\nSize=10\r\n"},
        {"key at the end of its section", "[Font]\r\nSize=10\r\n[Win]\r\nTop=1\r\n", "font", "Name",
         "x", "[Font]\r\nSize=10\r\nName=x\r\n[Win]\r\nTop=1\r\n"},
        {"key before the blank lines that end the section",
         "[Font]\r\nSize=10\r\n\r\n  \r\n[Win]\r\n", "Font", "Name", "x",
         "[Font]\r\nSize=10\r\nName=x\r\n\r\n  \r\n[Win]\r\n"},
        {"key after blank lines inside the section", "[Font]\r\n\r\nSize=10\r\n", "Font", "Name",
         "x", "[Font]\r\n\r\nSize=10\r\nName=x\r\n"},
        {"key into a section without entries", "[Font]", "Font", "Size", "10",
         "[Font]\r\nSize=10\r\n"},
        {"key after a last line without line end", "[Font]\r\nSize=10", "Font", "Name", "x",
         "[Font]\r\nSize=10\r\nName=x\r\n"},
        {"section at the end", "[Font]\r\nSize=10\r\n\r\n", "Win", "Top", "1",
         "[Font]\r\nSize=10\r\n\r\n[Win]\r\nTop=1\r\n"},
        {"section after a last line without line end", "[Font]\r\nSize=10", "Win", "Top", "1",
         "[Font]\r\nSize=10\r\n[Win]\r\nTop=1\r\n"},
        {"other lines byte for byte", "; settings\n[Font]\nSize=10\n\n[Win]\nTop=1\n", "Font",
         "Name", "x", "; settings\n[Font]\nSize=10\nName=x\r\n\n[Win]\nTop=1\n"},
        {"value replaced in place", "[Editor]\nDraftOpen=0\nOther=x\n", "EDITOR", "Draftopen", "1",
         "[Editor]\nDraftOpen=1\nOther=x\n"},
        {"value replaced in a line without line end", "[Editor]\r\n  DraftOpen = 0 ", "Editor",
         "draftopen", "", "[Editor]\r\n  DraftOpen =  "},
        {"only the value's bytes of an indented entry",
         "[Font]\r\n  Size = 10\r\n\tfixsize\t=\t9\n", "Font", "Size", "12",
         "[Font]\r\n  Size = 12\r\n\tfixsize\t=\t9\n"},
        {"an empty value filled in after the equals sign", "[Font]\r\n Size =\r\n", "Font", "Size",
         "7", "[Font]\r\n Size =7\r\n"},
        {"only the section's own entry", "[A]\r\nKey=1\r\n[B]\r\nKey=2\r\n", "B", "KEY", "3",
         "[A]\r\nKey=1\r\n[B]\r\nKey=3\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(path_.c_str());
        if (c.before) {
            WriteFile(path_, *c.before);
        }
        SettingsFile ini(path_);
        ini.WriteText(c.section, c.key, c.value);
        EXPECT_EQ(ReadFile(path_), c.after);
        EXPECT_EQ(ini.ReadText(c.section, c.key, "dflt"), c.value);
    }
}

// A NUL byte ends the settings text when reading; the bytes after it are
// kept by every write, whichever way the entry is written.
TEST_F(IniFileTest, BytesAfterANulStayOnEveryWrite) {
    const std::string tail("\0[Hidden]\r\nKey=1\r\n\xFF", 19);
    const struct {
        const char* name;
        std::string before;
        std::string_view section, key, value;
        std::string after;
    } cases[] = {
        {"value replaced", "[Font]\r\nSize=10\r\n" + tail, "Font", "Size", "12",
         "[Font]\r\nSize=12\r\n" + tail},
        {"key added", "[Font]\r\nSize=10" + tail, "Font", "FixSize", "9",
         "[Font]\r\nSize=10\r\nFixSize=9\r\n" + tail},
        {"section added", "[Font]\r\nSize=10" + tail, "Option", "Path", "/d/",
         "[Font]\r\nSize=10\r\n[Option]\r\nPath=/d/\r\n" + tail},
        {"section added before a NUL at the start", tail, "Font", "Size", "1",
         "[Font]\r\nSize=1\r\n" + tail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsFile ini = With(c.before);
        ini.WriteText(c.section, c.key, c.value);
        EXPECT_EQ(ReadFile(path_), c.after);
        EXPECT_EQ(ini.ReadText(c.section, c.key, "dflt"), c.value);
        EXPECT_EQ(ini.ReadText("Hidden", "Key", "dflt"), "dflt");
    }
    // A large file with a NUL early on keeps every byte but the value's.
    std::string large = "[Font]\r\nSize=10\r\n";
    large.resize(487, ';');
    large += '\0';
    large.resize(100'000, 'x');
    SettingsFile ini = With(large);
    ini.WriteText("Font", "Size", "12");
    std::string expected = large;
    expected[14] = '2';
    EXPECT_EQ(ReadFile(path_), expected);
}

TEST_F(IniFileTest, ReadsNumbersAndFlags) {
    const struct {
        std::string_view value;
        int number;
    } numbers[] = {
        {"12", 12},  {"0x0C", 12},        {"0X0c", 12},  {"$0C", 12}, {" 12", 12}, {"-5", -5},
        {"+7", 7},   {"12pt", 99},        {"", 99},      {"0x", 99},  {"0xg", 99}, {"x12", 99},
        {"1 2", 99}, {"99999999999", 99}, {"-0x10", 99},
    };
    for (const auto& c : numbers) {
        const SettingsFile ini = With("[S]\r\nn=" + std::string(c.value) + "\r\n");
        EXPECT_EQ(ini.ReadNumber("S", "n", 99), c.number) << c.value;
    }
    const struct {
        std::string_view value;
        bool whenDefaultTrue, whenDefaultFalse;
    } flags[] = {
        {"1", true, true},   {"2", true, true},    {"-1", true, true},
        {"0", false, false}, {"abc", true, false}, {"", true, false},
    };
    for (const auto& c : flags) {
        const SettingsFile ini = With("[S]\r\nf=" + std::string(c.value) + "\r\n");
        EXPECT_EQ(ini.ReadFlag("S", "f", true), c.whenDefaultTrue) << c.value;
        EXPECT_EQ(ini.ReadFlag("S", "f", false), c.whenDefaultFalse) << c.value;
    }
}

TEST_F(IniFileTest, WritesNumbersAndFlags) {
    SettingsFile ini(path_);
    ini.WriteNumber("S", "n", -12);
    ini.WriteFlag("S", "on", true);
    ini.WriteFlag("S", "off", false);
    EXPECT_EQ(ReadFile(path_), "[S]\r\nn=-12\r\non=1\r\noff=0\r\n");
}

TEST_F(IniFileTest, RefusedWriteLeavesTheFile) {
    const std::string before = "[S]\r\nKey=old\r\n";
    SettingsFile ini = With(before);
    const std::string message = path_ + " に書き込めません";
    const struct {
        std::string_view section, key, value;
    } refused[] = {
        {"S", "Key", "a\r\nKey=b"}, {"S", "Key", "a\nb"}, {"S", "Key", "a\rb"}, {"S", "K\ney", "v"},
        {"S\r\n[T", "Key", "v"},    {"S", "", "v"},       {"", "Key", "v"},
    };
    for (const auto& c : refused) {
        const auto error = Thrown<IoError>([&] { ini.WriteText(c.section, c.key, c.value); });
        ASSERT_TRUE(error) << c.value;
        EXPECT_EQ(error->what(), message);
    }
    EXPECT_EQ(ReadFile(path_), before);

    ::chmod(folder_.Path().c_str(), 0555);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        const auto error = Thrown<IoError>([&] { ini.WriteText("S", "Key", "new"); });
        return error && error->what() == message;
    }));
    EXPECT_EQ(ReadFile(path_), before);
}

// The rename that replaces the file needs only the folder's permission; the
// file's own read-only mode is honoured all the same, also for root.
TEST_F(IniFileTest, ReadOnlyFileIsRefused) {
    const std::string before = "[S]\r\nKey=old\r\n";
    SettingsFile ini = With(before);
    ::chmod(path_.c_str(), 0444);
    const std::string message = path_ + " に書き込めません";
    const auto error = Thrown<IoError>([&] { ini.WriteText("S", "Key", "new"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what(), message);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        const auto refused = Thrown<IoError>([&] { ini.WriteText("S", "Key", "new"); });
        return refused && refused->what() == message;
    }));
    EXPECT_EQ(ReadFile(path_), before);
    // Writing the value it already has changes nothing and is no error.
    ini.WriteText("s", "key", "old");
    EXPECT_EQ(ReadFile(path_), before);
}

TEST_F(IniFileTest, UnreadableFileReadsAsMissing) {
    const SettingsFile ini = With("[S]\r\nKey=value\r\n");
    ::chmod(path_.c_str(), 0);
    EXPECT_TRUE(
        test::RunWithoutPrivileges([&] { return ini.ReadText("S", "Key", "dflt") == "dflt"; }));
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIs) {
    const SettingsFile ini = With("[S]\r\nKey=1\r\n");
    EXPECT_EQ(ini.ReadNumber("S", "Key", 0), 1);
    WriteFile(path_, "[S]\r\nKey=2\r\n");
    EXPECT_EQ(ini.ReadNumber("S", "Key", 0), 2);
}

}  // namespace
}  // namespace teluri
