#include "base/lines.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLinesTest, RecognisesEveryLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then a lone CR
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(SplitLinesTest, FinalLineEndAddsNoEmptyLine) {
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(SplitLinesTest, NulEndsTheContent) {
    using namespace std::string_literals;
    EXPECT_EQ(SplitLines("a\r\nb\0c\r\nd"s), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("\0abc"s), Lines{});
}

TEST(WholeTextTest, EveryLineEndsWithCrLf) {
    using namespace std::string_literals;
    EXPECT_EQ(WholeText("a\nb\rc"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(WholeText("a\r\n"), "a\r\n");
    EXPECT_EQ(WholeText(""), "");
    EXPECT_EQ(WholeText("x\0y"s), "x\r\n");
}

TEST(WholeTextTest, EqualsJoinOfSplit) {
    for (const std::string_view content : {"", "\n", "\r\r", "a\n\nb\r", "abc", "\r\n\n\r"}) {
        EXPECT_EQ(WholeText(content), JoinLines(SplitLines(content))) << content;
    }
}

}  // namespace
}  // namespace teluri
