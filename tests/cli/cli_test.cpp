#include "cli/commands.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <streambuf>

#include "base/version.h"
#include "tests/support/cli_run.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "threads/tree_builder.h"

namespace teluri {
namespace {

using test::Page;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

using Result = test::CliResult;
using test::Teluri;

std::string Usage() {
    return Teluri({"--help"}).out;
}

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        WriteFile(folder_ / "1001.msg", Page("1001", "C++", "", {"1002"}));
        WriteFile(folder_ / "1002.msg", Page("1002", "Re", "1001"));
        WriteFile(folder_ / "1003.msg", Page("1003", "Delphi"));
        dir_ = folder_.Path();
        dir_.pop_back();
    }

    TempFolder folder_;
    std::string dir_;  // without the trailing delimiter
};

TEST_F(CliTest, AnalyzePrintsTheTree) {
    const std::string tree = "1001:C++\r\n\t1002:Re\r\n1003:Delphi\r\n";
    for (const std::string& dir : {folder_.Path(), dir_}) {
        const Result result = Teluri({"analyze", dir});
        EXPECT_EQ(result.status, cli::kExitOk);
        EXPECT_EQ(result.out, tree);
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(Teluri({"analyze", "--pictures", dir_}).out,
              "1 1001:C++\r\n0 \t1002:Re\r\n0 1003:Delphi\r\n");

    TempFolder output;
    const Result written = Teluri({"analyze", "-o", output / "Tree.dat", dir_, "--pictures"});
    EXPECT_EQ(written.status, cli::kExitOk);
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(written.err, "");
    EXPECT_EQ(ReadFile(output / "Tree.dat"), "1 1001:C++\r\n0 \t1002:Re\r\n0 1003:Delphi\r\n");
}

TEST_F(CliTest, AnalyzeFailureNamesThePage) {
    WriteFile(folder_ / "1234.msg", Page("1234", "t", "12"));
    const Result result = Teluri({"analyze", dir_});
    EXPECT_EQ(result.status, cli::kExitError);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, dir_ + "/1234.msg: '12\">' は整数ではありません\n");

    const Result missing = Teluri({"analyze", dir_ + "/none"});
    EXPECT_EQ(missing.status, cli::kExitError);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "ﾌｫﾙﾀﾞ " + dir_ + "/none/ は開けません\n");
}

// A tree that would pass the node limit stops the run: nothing on standard
// output, no output file written, the page named on standard error.
TEST_F(CliTest, AnalyzeStopsAtTheNodeLimit) {
    WriteFile(folder_ / "1001.msg", Page("1001", "t", "", std::vector<std::string>(600, "1002")));
    WriteFile(folder_ / "1002.msg",
              Page("1002", "t", "1001", std::vector<std::string>(600, "1003")));
    const std::string message = dir_ + "/1003.msg: ツリーのノードが " +
                                std::to_string(kMaxTreeNodes) +
                                " 個を超えるため、解析を中止しました\n";
    const Result result = Teluri({"analyze", dir_});
    EXPECT_EQ(result.status, cli::kExitError);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, message);

    TempFolder output;
    WriteFile(output / "Tree.dat", "old\r\n");
    const Result written = Teluri({"analyze", "-o", output / "Tree.dat", dir_});
    EXPECT_EQ(written.status, cli::kExitError);
    EXPECT_EQ(written.err, message);
    EXPECT_EQ(ReadFile(output / "Tree.dat"), "old\r\n");
}

TEST_F(CliTest, TreeRewritesTheIndentation) {
    const std::string file = folder_ / "Tree.dat";
    WriteFile(file, "a\n b\r  c\r\n\t d\n e");
    const Result result = Teluri({"tree", file});
    EXPECT_EQ(result.status, cli::kExitOk);
    EXPECT_EQ(result.out, "a\r\n\tb\r\n\t\tc\r\n\t\td\r\n\te\r\n");
    EXPECT_EQ(result.err, "");

    const Result missing = Teluri({"tree", folder_ / "none.dat"});
    EXPECT_EQ(missing.status, cli::kExitError);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "ﾌｧｲﾙ " + (folder_ / "none.dat") + " は開けません\n");

    WriteFile(file, "a\r\n\t\tb\r\n");
    const Result invalid = Teluri({"tree", file});
    EXPECT_EQ(invalid.status, cli::kExitError);
    EXPECT_EQ(invalid.out, "");
    EXPECT_EQ(invalid.err.rfind(file + ": 2 行目", 0), 0u) << invalid.err;
}

TEST_F(CliTest, IniReadsAndWrites) {
    const std::string ini = folder_ / "Teluri.ini";
    WriteFile(ini, "[Font]\r\nSize=0x10\r\nName=\x95\x5C \r\nBold=0\r\n");
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"ini", ini, "get", "font", "NAME", "x"}, "\x95\x5C\n"},
        {{"ini", ini, "get", "Font", "Missing", "dflt"}, "dflt\n"},
        {{"ini", ini, "number", "Font", "Size", "5"}, "16\n"},
        {{"ini", ini, "number", "Font", "Name", "-5"}, "-5\n"},
        {{"ini", ini, "flag", "Font", "Bold", "1"}, "0\n"},
        {{"ini", ini, "flag", "Font", "Italic", "7"}, "1\n"},
        {{"ini", ini, "flag", "Font", "Italic", "0"}, "0\n"},
        {{"ini", ini, "set", "Font", "Italic", "1"}, ""},
        {{"ini", ini, "flag", "Font", "Italic", "0"}, "1\n"},
    };
    for (const auto& c : cases) {
        const Result result = Teluri(c.args);
        EXPECT_EQ(result.status, cli::kExitOk) << c.args[2] << " " << c.args[4];
        EXPECT_EQ(result.out, c.out) << c.args[2] << " " << c.args[4];
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(ReadFile(ini), "[Font]\r\nSize=0x10\r\nName=\x95\x5C \r\nBold=0\r\nItalic=1\r\n");

    const Result refused = Teluri({"ini", ini, "set", "Font", "Size", "1\r\n2"});
    EXPECT_EQ(refused.status, cli::kExitError);
    EXPECT_EQ(refused.err, ini + " に書き込めません\n");
}

// A value that a read would give back cut is refused, and nothing written.
TEST_F(CliTest, IniRefusesValuesLongerThanAReadGivesBack) {
    const std::string ini = folder_ / "Teluri.ini";
    WriteFile(ini, "[Option]\r\nPath=/data/\r\n");
    const Result refused = Teluri({"ini", ini, "set", "Option", "Path", std::string(1024, 'x')});
    EXPECT_EQ(refused.status, cli::kExitError);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "値が長すぎるため " + ini + " に書き込めません\n");
    EXPECT_EQ(ReadFile(ini), "[Option]\r\nPath=/data/\r\n");
    EXPECT_EQ(Teluri({"ini", ini, "set", "Option", "Path", std::string(1023, 'x')}).status,
              cli::kExitOk);
    EXPECT_EQ(Teluri({"ini", ini, "get", "Option", "Path", ""}).out, std::string(1023, 'x') + "\n");
}

// A saved tree of more lines than the analysis may make nodes is refused.
TEST_F(CliTest, TreeRefusesMoreNodesThanTheAnalysisMakes) {
    const std::string file = folder_ / "Tree.dat";
    std::string content;
    for (std::size_t i = 0; i <= kMaxTreeNodes; ++i) {
        content += "1001:a\r\n";
    }
    WriteFile(file, content);
    const Result result = Teluri({"tree", file});
    EXPECT_EQ(result.status, cli::kExitError);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, file + ": ツリーのノードが " + std::to_string(kMaxTreeNodes) +
                              " 個を超えるため、解析を中止しました\n");
}

// The analysis never writes over a page of the folder it reads: a page name
// in that folder, also by another spelling of the path or through a link.
TEST_F(CliTest, AnalyzeRefusesToWriteOverAPageOfItsFolder) {
    const std::string page = ReadFile(folder_ / "1001.msg");
    std::filesystem::create_symlink(folder_ / "1001.msg", folder_ / "link.txt");
    for (const std::string& output :
         {dir_ + "/1001.msg", dir_ + "/./1001.MSG", dir_ + "/9999.msg", dir_ + "/1003.bak",
          folder_ / "link.txt",
          dir_ + "/../" + std::filesystem::path(dir_).filename().string() + "/1002.msg"}) {
        const Result result = Teluri({"analyze", "-o", output, dir_});
        EXPECT_EQ(result.status, cli::kExitError) << output;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err,
                  "ﾌｧｲﾙ " + output + " は解析するフォルダのページなので書き込めません\n");
    }
    EXPECT_EQ(ReadFile(folder_ / "1001.msg"), page);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "9999.msg"));
    // Other names in the folder and pages of other folders are written.
    EXPECT_EQ(Teluri({"analyze", "-o", folder_ / "Tree.dat", dir_}).status, cli::kExitOk);
    TempFolder other;
    EXPECT_EQ(Teluri({"analyze", "-o", other / "1001.msg", dir_}).status, cli::kExitOk);
}

TEST_F(CliTest, WrongUsageShowsTheUsage) {
    const std::string ini = folder_ / "Teluri.ini";
    const std::vector<std::string> wrong[] = {
        {},
        {"bogus"},
        {"--help", "analyze"},
        {"--version", "--help"},
        {"analyze"},
        {"analyze", "--bogus", dir_},
        {"analyze", dir_, dir_},
        {"analyze", dir_, "-o"},
        {"analyze", "-o", "a", "-o", "b", dir_},
        {"tree"},
        {"tree", "a", "b"},
        {"ini", ini, "get", "S", "K"},
        {"ini", ini, "get", "S", "K", "V", "W"},
        {"ini", ini, "rename", "S", "K", "V"},
        {"ini", ini, "number", "S", "K", "x"},
        {"ini", ini, "flag", "S", "K", "1.5"},
    };
    const std::string usage = Usage();
    ASSERT_NE(usage, "");
    for (const auto& args : wrong) {
        const Result result = Teluri(args);
        EXPECT_EQ(result.status, cli::kExitUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, usage);
    }
    const Result help = Teluri({"--help"});
    EXPECT_EQ(help.status, cli::kExitOk);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: teluri analyze ", 0), 0u);
    // The usual answer, which manual-page generators read.
    const Result version = Teluri({"--version"});
    EXPECT_EQ(version.status, cli::kExitOk);
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(version.out, "teluri (Teluri Explorer) " + std::string(kVersion) + "\n");
}

// Standard output that takes nothing, as a full disk does.
class FullOutput : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// Every command that prints checks its output: a write that fails is exit 1
// with one line on standard error, never a success.
TEST_F(CliTest, FailedOutputIsAnError) {
    const std::string ini = folder_ / "Teluri.ini";
    WriteFile(ini, "[S]\r\nK=v\r\n");
    const std::vector<std::string> commands[] = {
        {"analyze", dir_},
        {"search", dir_, "t"},
        {"ini", ini, "get", "S", "K", "d"},
        {"ini", ini, "number", "S", "K", "1"},
        {"--help"},
    };
    for (const auto& args : commands) {
        FullOutput full;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(cli::Run(args, out, err), cli::kExitError) << args[0];
        EXPECT_EQ(err.str(), "標準出力に書き込めません\n") << args[0];
    }
}

// The same with the real command: a full device and a closed output.
TEST_F(CliTest, FullDeviceAndClosedOutputExitWithAnError) {
    const std::string errors = folder_ / "errors.txt";
    const std::string command = std::string(TELURI_COMMAND) + " analyze " + dir_;
    for (const char* redirect : {" >/dev/full", " >&-"}) {
        const int status = std::system((command + redirect + " 2>" + errors).c_str());
        ASSERT_TRUE(WIFEXITED(status)) << redirect;
        EXPECT_EQ(WEXITSTATUS(status), cli::kExitError) << redirect;
        EXPECT_EQ(ReadFile(errors), "標準出力に書き込めません\n") << redirect;
    }
    // A set prints nothing; a closed output is no reason to fail it.
    const int status = std::system(
        (std::string(TELURI_COMMAND) + " ini " + folder_ / "x.ini" + " set S K v >&- 2>" + errors)
            .c_str());
    EXPECT_EQ(WEXITSTATUS(status), cli::kExitOk);
    EXPECT_EQ(ReadFile(folder_ / "x.ini"), "[S]\r\nK=v\r\n");
}

}  // namespace
}  // namespace teluri
