#include "search/hit_context.h"

#include <gtest/gtest.h>

#include "tests/support/pages.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::Sjis;

using Marks = std::vector<std::pair<std::size_t, std::size_t>>;

std::string PageWithBody(std::string_view body) {
    return FirstLine("1001", "Title") + "\r\n" + std::string(body);
}

TEST(HitContextTest, AMatchAtTheBodysStartAndEnd) {
    const std::string page =
        PageWithBody("Delphi starts here<br>\r\nmiddle\r\nit ends with delphi");
    const std::vector<ContextLine> lines = HitContext(page, "DELPHI");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Delphi starts here");
    EXPECT_EQ(lines[0].marks, (Marks{{0, 6}}));
    EXPECT_EQ(lines[1].text, "it ends with delphi");
    EXPECT_EQ(lines[1].marks, (Marks{{13, 19}}));
    EXPECT_FALSE(lines[1].cutBefore || lines[1].cutAfter);
}

TEST(HitContextTest, AMatchInMarkupOrTheTitleOnlyHasNoContext) {
    // The search finds these pages (its rule reads the markup too); the
    // reader's text does not hold the word.
    const std::string page =
        PageWithBody("<a href=\"delphi.htm\">link</a><font color=red>x</font>");
    EXPECT_TRUE(HitContext(page, "delphi").empty());
    EXPECT_TRUE(HitContext(page, "color").empty());
    EXPECT_TRUE(HitContext(PageWithBody("body"), "Title").empty());
    EXPECT_TRUE(HitContext(page, "").empty());
    EXPECT_TRUE(HitContext("", "x").empty());
}

TEST(HitContextTest, EveryOccurrenceOfALineMarkedAndAtMostThreeLines) {
    const std::string page = PageWithBody("ab AB aB<br>ab<br>x<br>ab<br>ab last");
    const std::vector<ContextLine> lines = HitContext(page, "Ab");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].marks, (Marks{{0, 2}, {3, 5}, {6, 8}}));
    EXPECT_EQ(lines[2].text, "ab");
    EXPECT_EQ(HitContext(page, "ab", 5).size(), 4u);
}

TEST(HitContextTest, TheSearchsRuleForDoubleByteText) {
    // "ソ" is 0x83 0x5C; the rule also matches from a trail byte, and a
    // letter byte inside a double-byte character keeps its case.
    const std::string body = Sjis("前ソ後") + " &lt;b&gt;";
    const std::string page = PageWithBody(body);
    const std::vector<ContextLine> lines = HitContext(page, "\\");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, Sjis("前ソ後") + " <b>");
    EXPECT_EQ(lines[0].marks, (Marks{{2, 4}}));  // the whole character
    EXPECT_EQ(HitContext(page, "<B>").front().marks, (Marks{{7, 10}}));
    // "ヂ" (0x83 0x61) ends in the byte of "a", which keeps its case there:
    // "a" is no "A" in it, as the search has it.
    EXPECT_TRUE(HitContext(PageWithBody(Sjis("ヂ")), "a").empty());
    EXPECT_EQ(HitContext(PageWithBody(Sjis("ヂ") + "a"), "a").front().marks, (Marks{{2, 3}}));
}

TEST(HitContextTest, ALineOf100KBIsCutAroundTheMatch) {
    std::string line(100 * 1024, 'x');
    for (std::size_t i = 0; i < line.size(); i += 7) {
        line.replace(i, 2, Sjis("字"));  // double-byte characters all along
    }
    const std::size_t at = 60000;
    line.replace(at, 6, "needle");
    const std::vector<ContextLine> lines = HitContext(PageWithBody(line), "NEEDLE");
    ASSERT_EQ(lines.size(), 1u);
    const ContextLine& cut = lines[0];
    EXPECT_TRUE(cut.cutBefore);
    EXPECT_TRUE(cut.cutAfter);
    EXPECT_LE(cut.text.size(), kContextLineBytes + 1);
    ASSERT_EQ(cut.marks.size(), 1u);
    EXPECT_EQ(cut.text.substr(cut.marks[0].first, 6), "needle");
    EXPECT_GE(cut.marks[0].first, kContextBytesBefore - 1);
    // Cut at character boundaries: the piece is whole cp932 text.
    EXPECT_EQ(cut.text, line.substr(at - cut.marks[0].first, cut.text.size()));
    EXPECT_NE(static_cast<unsigned char>(cut.text.back()), 0x8E);  // no lead byte left alone
}

TEST(HitContextTest, AMatchNearTheStartOfALongLineKeepsItsStart) {
    const std::string line = "needle" + std::string(100 * 1024, 'y');
    const ContextLine cut = HitContext(PageWithBody(line), "needle").front();
    EXPECT_FALSE(cut.cutBefore);
    EXPECT_TRUE(cut.cutAfter);
    EXPECT_EQ(cut.text.size(), kContextLineBytes);
}

}  // namespace
}  // namespace teluri
