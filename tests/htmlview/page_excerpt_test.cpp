#include "htmlview/page_excerpt.h"

#include <gtest/gtest.h>

#include <string>

#include "base/display_text.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::TempFolder;
using test::WriteFile;

TEST(ShownTextTest, LongTextsAreCutBeforeTheLimitAtACharacterBoundary) {
    EXPECT_EQ(LeadingCp932("1234:title", 100), "1234:title");
    EXPECT_EQ(LeadingCp932("abcdef", 4), "abcd");
    // "\x82\xA0" is one double-byte character: never cut in two.
    EXPECT_EQ(LeadingCp932("ab\x82\xA0"
                           "cd",
                           3),
              "ab");
    EXPECT_EQ(LeadingCp932("ab\x82\xA0"
                           "cd",
                           4),
              "ab\x82\xA0");
    // A trail byte that looks like a lead byte is still a trail byte.
    EXPECT_EQ(LeadingCp932("\x81\x81\x81\x81", 3), "\x81\x81");
    const std::string title(50'000'000, 'x');
    EXPECT_EQ(ShownPart(title).size(), kShownTextBytes);
}

TEST(ShownPageTest, SmallPagesAreShownWholeLargeOnesCutAtACharacterBoundary) {
    TempFolder folder;
    EXPECT_FALSE(ReadShownPage(folder / "none.msg").has_value());
    WriteFile(folder / "1234.msg", "<p>page</p>");
    const std::optional<ShownPage> small = ReadShownPage(folder / "1234.msg");
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(small->bytes, "<p>page</p>");
    EXPECT_FALSE(small->cut);
    EXPECT_FALSE(small->breakAnywhere);

    // A page of exactly the limit is whole; one byte more is cut.
    WriteFile(folder / "exact.msg", std::string(kShownPageBytes, 'a'));
    EXPECT_FALSE(ReadShownPage(folder / "exact.msg")->cut);
    // A double-byte character across the limit is left out whole.
    std::string large = std::string(kShownPageBytes - 1, ' ') + "\x82\xA0" + "rest";
    WriteFile(folder / "large.msg", large);
    const std::optional<ShownPage> cut = ReadShownPage(folder / "large.msg");
    ASSERT_TRUE(cut.has_value());
    EXPECT_TRUE(cut->cut);
    EXPECT_EQ(cut->bytes, large.substr(0, kShownPageBytes - 1));
}

TEST(ShownPageTest, LongUnbrokenRunsBreakAnywhereMarkupIncluded) {
    EXPECT_EQ(LongestUnbrokenRun(""), 0u);
    EXPECT_EQ(LongestUnbrokenRun("ab cde\r\nf\tg"), 3u);
    // Markup neither counts nor breaks a run, blanks inside it included.
    EXPECT_EQ(LongestUnbrokenRun("ab<a href=\"x y\">cd</a>e"), 5u);

    TempFolder folder;
    const std::string run(kLongestWordWrappedRun / 2, 'x');
    WriteFile(folder / "words.msg", run + " " + run);
    EXPECT_FALSE(ReadShownPage(folder / "words.msg")->breakAnywhere);
    WriteFile(folder / "line.msg", run + "<b x>" + run + "x");
    EXPECT_TRUE(ReadShownPage(folder / "line.msg")->breakAnywhere);
}

TEST(ShownPageTest, MarkupNestedTooDeepIsShownAsText) {
    const auto repeat = [](std::string_view unit, std::size_t times) {
        std::string text;
        for (std::size_t i = 0; i < times; ++i) {
            text += unit;
        }
        return text;
    };
    EXPECT_FALSE(NestsTooDeep(repeat("<div>", kDeepestLaidOutNesting)));
    EXPECT_TRUE(NestsTooDeep(repeat("<DIV class=x>", kDeepestLaidOutNesting + 1)));
    EXPECT_TRUE(NestsTooDeep(repeat("<ul><li>a", kDeepestLaidOutNesting + 1)));
    // Closed elements, elements that end by themselves and stray end tags
    // do not nest.
    EXPECT_FALSE(NestsTooDeep(repeat("<b>x</b><br><p>y<li>z<img src=a>", 10'000)));
    EXPECT_TRUE(NestsTooDeep(repeat("<div></span>", kDeepestLaidOutNesting + 1)));
    // An end tag closes the elements left open inside its own.
    EXPECT_FALSE(NestsTooDeep(repeat("<div><b><i>text</div>", 10'000)));
    // Tables double the layout's work with each level.
    const std::string tables = repeat("<table><tr><td>", kDeepestLaidOutTables);
    EXPECT_FALSE(NestsTooDeep(tables + repeat("</td></tr></table>", kDeepestLaidOutTables)));
    EXPECT_TRUE(NestsTooDeep(tables + "<table>"));
    EXPECT_FALSE(NestsTooDeep(repeat("<table><tr><td>x</table>", 10'000)));
}

TEST(ShownPageTest, ResourcesAreRegularFilesOfASensibleSize) {
    TempFolder folder;
    WriteFile(folder / "a.gif", "GIF89a");
    EXPECT_EQ(ReadPageResource(folder / "a.gif"), "GIF89a");
    EXPECT_FALSE(ReadPageResource(folder / "none.gif").has_value());
    EXPECT_FALSE(ReadPageResource("/dev/zero").has_value());
    EXPECT_FALSE(ReadPageResource(folder.Path()).has_value());
    WriteFile(folder / "big.gif", std::string(kLargestResourceBytes + 1, 'g'));
    EXPECT_FALSE(ReadPageResource(folder / "big.gif").has_value());
}

}  // namespace
}  // namespace teluri
