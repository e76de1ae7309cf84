#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include "base/version.h"

namespace teluri {
namespace {

std::optional<int> Answer(const std::vector<std::string>& args, std::string& out) {
    std::ostringstream stream;
    std::ostringstream errors;
    const std::optional<int> status = AnswerInformationOption(args, stream, errors);
    out = stream.str();
    EXPECT_EQ(errors.str(), "");
    return status;
}

// An output that takes no byte, like a full disk.
class FullOutput : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(CommandLineTest, HelpAndVersionAnswerAndExit) {
    std::string out;
    EXPECT_EQ(Answer({"--help"}, out), 0);
    EXPECT_EQ(out.rfind("Usage: teluri-explorer [OPTION]... [FOLDER]\n", 0), 0u);
    EXPECT_NE(out.find("--version"), std::string::npos);
    EXPECT_EQ(Answer({"--version"}, out), 0);
    EXPECT_EQ(out, "teluri-explorer (Teluri Explorer) " + std::string(kVersion) + "\n");
    // Among the toolkit's options, the first of the two wins.
    EXPECT_EQ(Answer({"-platform", "offscreen", "--version", "--help"}, out), 0);
    EXPECT_EQ(out.rfind("teluri-explorer (", 0), 0u);
}

TEST(CommandLineTest, AnAnswerThatCannotBeWrittenFails) {
    for (const char* option : {"--help", "--version"}) {
        FullOutput full;
        std::ostream out(&full);
        std::ostringstream errors;
        EXPECT_EQ(AnswerInformationOption({option}, out, errors), 1) << option;
        EXPECT_EQ(errors.str(), "標準出力に書き込めません\n") << option;
    }
}

TEST(CommandLineTest, OtherArgumentsStartTheProgram) {
    std::string out;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"-platform", "offscreen"}, {"--", "--help"}, {"--helpme"}}) {
        EXPECT_EQ(Answer(args, out), std::nullopt) << ::testing::PrintToString(args);
        EXPECT_EQ(out, "");
    }
}

TEST(CommandLineTest, TheFirstArgumentThatIsNoOptionIsTheFolderMadeAbsolute) {
    using Args = std::vector<std::string>;
    EXPECT_EQ(FolderArgument({}, "/home/u"), std::nullopt);
    EXPECT_EQ(FolderArgument({"-reverse", "--x", ""}, "/home/u"), std::nullopt);
    EXPECT_EQ(FolderArgument({"-reverse", "archive", "other"}, "/home/u"), "/home/u/archive");
    EXPECT_EQ(FolderArgument({"/data/arc/"}, "/home/u"), "/data/arc/");
    EXPECT_EQ(FolderArgument({"../arc"}, "/home/u/"), "/home/u/../arc");
    // After "--" a name that starts with "-" is a folder too.
    EXPECT_EQ(FolderArgument(Args{"--", "-archive"}, "/w"), "/w/-archive");
    EXPECT_EQ(FolderArgument(Args{"--", "--"}, "/w"), "/w/--");
}

}  // namespace
}  // namespace teluri
