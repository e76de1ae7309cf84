#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/version.h"

namespace teluri {
namespace {

std::optional<int> Answer(const std::vector<std::string>& args, std::string& out) {
    std::ostringstream stream;
    const std::optional<int> status = AnswerInformationOption(args, stream);
    out = stream.str();
    return status;
}

TEST(CommandLineTest, HelpAndVersionAnswerAndExit) {
    std::string out;
    EXPECT_EQ(Answer({"--help"}, out), 0);
    EXPECT_EQ(out.rfind("Usage: teluri-explorer [OPTION]...\n", 0), 0u);
    EXPECT_NE(out.find("--version"), std::string::npos);
    EXPECT_EQ(Answer({"--version"}, out), 0);
    EXPECT_EQ(out, "teluri-explorer (Teluri Explorer) " + std::string(kVersion) + "\n");
    // Among the toolkit's options, the first of the two wins.
    EXPECT_EQ(Answer({"-platform", "offscreen", "--version", "--help"}, out), 0);
    EXPECT_EQ(out.rfind("teluri-explorer (", 0), 0u);
}

TEST(CommandLineTest, OtherArgumentsStartTheProgram) {
    std::string out;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"-platform", "offscreen"}, {"--", "--help"}, {"--helpme"}}) {
        EXPECT_EQ(Answer(args, out), std::nullopt) << ::testing::PrintToString(args);
        EXPECT_EQ(out, "");
    }
}

}  // namespace
}  // namespace teluri
