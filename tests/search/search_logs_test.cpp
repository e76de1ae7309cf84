#include "search/search_logs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "base/errors.h"
#include "tests/support/errors.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::ReadFile;
using test::Sjis;
using Lines = std::vector<std::string>;

TEST(HistoryTest, NewTextOnTopExistingEntryKeepsPlaceAndCase) {
    Lines history;
    EXPECT_TRUE(AddToHistory(history, "Delphi"));
    EXPECT_TRUE(AddToHistory(history, "form"));
    EXPECT_FALSE(AddToHistory(history, "DELPHI"));
    EXPECT_TRUE(AddToHistory(history, ""));
    EXPECT_FALSE(AddToHistory(history, ""));
    // 0x83 0x61 and 0x83 0x41 are different characters, not letter cases.
    EXPECT_TRUE(AddToHistory(history,
                             "\x83"
                             "a"));
    EXPECT_TRUE(AddToHistory(history,
                             "\x83"
                             "A"));
    EXPECT_EQ(history, (Lines{"\x83"
                              "A",
                              "\x83"
                              "a",
                              "", "form", "Delphi"}));

    EXPECT_EQ(FormatHistory({"form", "", Sjis("質問")}), "form\r\n\r\n" + Sjis("質問") + "\r\n");
    EXPECT_EQ(ParseHistory("form\r\n\r\nlast"), (Lines{"form", "", "last"}));
    EXPECT_EQ(ParseHistory("a\nb\rc\r\n"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(ParseHistory(""), Lines{});
}

TEST(SearchLogTest, ThreeLinesPerHitAndShortRecordsKeepWhatTheyHave) {
    EXPECT_EQ(FormatSearchLog({{"C++Builder", "1001", kHitBuilder}, {"", "42", kHitDelphi}}),
              "C++Builder\r\n1001\r\nBCB\r\n\r\n42\r\nDLP\r\n");
    EXPECT_EQ(FormatSearchLog({}), "");
}

TEST(SearchLogNameTest, TextsBecomeNamesThatStayInTheFolder) {
    const struct {
        std::string text, name;
    } cases[] = {
        {"Delphi", "FindDelphi.dat"},
        {"delphi", "Finddelphi.dat"},
        {"", "Find.dat"},
        // Japanese in the file system's encoding; the trail byte 0x5C of
        // "表" is no backslash.
        {Sjis("表示ｶﾅ"), "Find表示ｶﾅ.dat"},
        {"../x", "Find..%2Fx.dat"},
        {"..", "Find...dat"},
        {"*?\\:\"<>|", "Find%2A%3F%5C%3A%22%3C%3E%7C.dat"},
        {std::string("\t\n\x7F\0", 4), "Find%09%0A%7F%00.dat"},
        {"%41", "Find%2541.dat"},
        // Bytes that are no character: a lead byte at the end, a line end as
        // trail byte, a byte no character starts with.
        {"a\x83", "Finda%83.dat"},
        {"\x81\x0A\xFF", "Find%81%0A%FF.dat"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SearchLogName(c.text), c.name);
    }
    // Different texts never share a log; the NEC and the IBM code of one
    // character are different texts.
    const Lines texts{"a",
                      "A",
                      "%41",
                      "%2541",
                      "a/b",
                      "a%2Fb",
                      "\x83"
                      "a",
                      "\x83",
                      "%83",
                      "\xED\x40",
                      "\xFA\x5C"};
    std::set<std::string> names;
    for (const auto& text : texts) {
        names.insert(SearchLogName(text));
    }
    EXPECT_EQ(names.size(), texts.size());
}

TEST(SearchLogFileTest, HostileTextsWriteOnlyTheirOwnLogInTheProgramFolder) {
    test::TempFolder parent;
    const std::string home = parent / "home/";
    std::filesystem::create_directory(home);
    ::setenv("TELURI_HOME", home.c_str(), 1);
    const Lines texts{"../x", "a/b", "..", ".", "/", "\\", "Teluri.ini", "\x01"};
    for (const auto& text : texts) {
        WriteSearchLog(text, {{"t", "1", kHitDelphi}});
        EXPECT_EQ(ReadFile(SearchLogPath(text)), "t\r\n1\r\nDLP\r\n");
    }
    WriteSearchLog("none", {});
    EXPECT_EQ(ReadFile(home + "Findnone.dat"), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(parent.Path()), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home), {}), 9);

    // A name longer than the file system allows: a clear error, no file.
    const std::string text(300, 'x');
    const auto error = test::Thrown<IoError>([&] { WriteSearchLog(text, {}); });
    ASSERT_TRUE(error);
    EXPECT_EQ(std::string(error->what()), "ﾌｧｲﾙ " + home + "Find" + text + ".dat を作成できません");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home), {}), 9);
    ::unsetenv("TELURI_HOME");
}

}  // namespace
}  // namespace teluri
