// The search command of the `teluri` command line.
#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::Sjis;
using test::WriteFile;

using Result = test::CliResult;
using test::Teluri;

TEST(SearchCommandTest, PrintsHitsInLogFormOrNamesThePageThatStopped) {
    test::TempFolder folder;
    WriteFile(folder / "1001.msg", test::Page("1001", Sjis("C++Builderの質問")));
    WriteFile(folder / "0042.MSG", test::Page("0042", "small"));
    WriteFile(folder / "1003.bak", test::Page("1003", "backup"));
    const std::string dir = folder.Path().substr(0, folder.Path().size() - 1);
    for (const std::string& given : {folder.Path(), dir}) {  // with and without the delimiter
        const Result result = Teluri({"search", given, "<HTML>"});
        EXPECT_EQ(result.status, cli::kExitOk);
        EXPECT_EQ(result.out,
                  "small\r\n42\r\nDLP\r\n" + Sjis("C++Builderの質問") + "\r\n1001\r\nBCB\r\n");
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(Teluri({"search", dir, "の質問"}).out,
              Sjis("C++Builderの質問") + "\r\n1001\r\nBCB\r\n");
    const Result none = Teluri({"search", dir, "Kylix"});
    EXPECT_EQ(none.status, cli::kExitOk);
    EXPECT_EQ(none.out, "");

    WriteFile(folder / "1234.msg", test::FirstLine("12x4", "bad") + "\r\n");
    const Result bad = Teluri({"search", dir, "bad"});
    EXPECT_EQ(bad.status, cli::kExitError);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, dir + "/1234.msg: '12x4' は整数ではありません\n");
    EXPECT_EQ(Teluri({"search", dir + "/none", "x"}).err, "ﾌｫﾙﾀﾞ " + dir + "/none/ は開けません\n");
}

// Line breaks in the text become blanks, as in the search window.
TEST(SearchCommandTest, LineBreaksInTheTextAreBlanks) {
    test::TempFolder folder;
    WriteFile(folder / "1001.msg", test::Page("1001", "Del phi"));
    WriteFile(folder / "1002.msg", test::Page("1002", "Del\r\nphi"));
    for (const std::string text : {"Del\nphi", "Del\rphi"}) {
        EXPECT_EQ(Teluri({"search", folder.Path(), text}).out, "Del phi\r\n1001\r\nDLP\r\n");
    }
}

// Any byte string is a search text, as in the window: bytes that are no
// UTF-8 (a lone lead byte, a cut-off character) are searched as they stand,
// a text without a cp932 form occurs nowhere.
TEST(SearchCommandTest, EveryByteStringIsASearchText) {
    test::TempFolder folder;
    WriteFile(folder / "1001.msg", test::FirstLine("1001", "cut \x81") + "\r\n");
    WriteFile(folder / "1002.msg", test::FirstLine("1002", Sjis("質問")) + "\r\n");
    WriteFile(folder / "1003.msg", test::FirstLine("1003", "plain") + "\r\n");
    const Result lead = Teluri({"search", folder.Path(), "\x81"});
    EXPECT_EQ(lead.status, cli::kExitOk);
    EXPECT_EQ(lead.err, "");
    EXPECT_EQ(lead.out, "cut \x81\r\n1001\r\nDLP\r\n");
    EXPECT_EQ(Teluri({"search", folder.Path(), Sjis("質")}).out,
              Sjis("質問") + "\r\n1002\r\nDLP\r\n");
    for (const std::string text : {"\xF0\x9F\x98\x80", "\xFF"}) {
        const Result none = Teluri({"search", folder.Path(), text});
        EXPECT_EQ(none.status, cli::kExitOk);
        EXPECT_EQ(none.out, "");
        EXPECT_EQ(none.err, "");
    }
    EXPECT_EQ(Teluri({"search", folder / "none", "\xF0\x9F\x98\x80"}).status, cli::kExitError);
}

TEST(SearchCommandTest, WrongUsage) {
    const std::string usage = Teluri({"--help"}).out;
    EXPECT_NE(usage.find("teluri search DIR TEXT"), std::string::npos);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"search", "."},
             {"search", ".", "a", "b"},
             {"search", "", "a"},
         }) {
        const Result result = Teluri(args);
        EXPECT_EQ(result.status, cli::kExitUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, usage);
    }
}

}  // namespace
}  // namespace teluri
