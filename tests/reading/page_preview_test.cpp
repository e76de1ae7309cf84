#include "reading/page_preview.h"

#include <gtest/gtest.h>

#include "tests/support/pages.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::Sjis;

TEST(PagePreviewTest, NumberTitleAndTheFirstLinesAsPlainText) {
    const std::string page = FirstLine("1002", Sjis("Re: 質問")) +
                             "\r\n"
                             "<p>first &lt;line&gt; &amp; more<br>second</p>\r\n"
                             "   \r\n"
                             "<pre>\r\n  code();\r\n</pre><b>bold</b> <i>end</i>\r\n";
    EXPECT_EQ(PagePreview("1002", page),
              "1002 " + Sjis("Re: 質問") + "\nfirst <line> & more\nsecond\ncode();\nbold end");
}

TEST(PagePreviewTest, AtMostTheGivenNumberOfLines) {
    std::string page = FirstLine("1001", "T") + "\r\n";
    for (int i = 0; i < 20; ++i) {
        page += "line " + std::to_string(i) + "<br>\r\n";
    }
    const std::string preview = PagePreview("1001", page);
    EXPECT_EQ(std::count(preview.begin(), preview.end(), '\n'), 10);
    EXPECT_TRUE(preview.ends_with("\nline 9"));
    EXPECT_EQ(PagePreview("1001", page, 2), "1001 T\nline 0\nline 1");
}

TEST(PagePreviewTest, PagesWithoutTitleOrBody) {
    EXPECT_EQ(PagePreview("1001", ""), "1001 ");
    EXPECT_EQ(PagePreview("1001", "no title marker"), "1001 ");
    // A tag left open at the end and a lone "&" are no trouble.
    EXPECT_EQ(PagePreview("1001", "x\r\nA & B <b"), "1001 \nA & B");
}

TEST(PagePreviewTest, DoubleByteTextKeepsItsBytes) {
    // "ソ" (0x83 0x5C) ends in a backslash byte, "表" (0x95 0x5C) too.
    const std::string text = Sjis("ソース表示");
    EXPECT_EQ(PagePreview("1001", "x\r\n<p>" + text + "</p>"), "1001 \n" + text);
}

// A title of megabytes is cut as the tree cuts it: its first 512 bytes, at
// a character boundary, and "…"; a title of 512 bytes stays whole.
TEST(PagePreviewTest, LongTitlesAreCutAsInTheTree) {
    const std::string kanji = Sjis("質");
    std::string title;
    while (title.size() < 1'000'000) {
        title += "a" + kanji;
    }
    const std::string preview = PagePreview("1001", FirstLine("1001", title) + "\r\nbody\r\n");
    // 170 times "a質" and an "a": the next character would pass 512 bytes.
    EXPECT_EQ(preview, "1001 " + title.substr(0, 511) + Sjis("…") + "\nbody");
    // Only the page's first 64 KB read, ending inside the title: the title
    // as far as it was read, cut the same way.
    const std::string head = (FirstLine("1001", title)).substr(0, kPreviewBytes);
    EXPECT_EQ(PagePreview("1001", head), "1001 " + title.substr(0, 511) + Sjis("…"));
    const std::string fits = title.substr(0, 510) + "ab";
    EXPECT_EQ(PagePreview("1001", FirstLine("1001", fits)), "1001 " + fits);
}

}  // namespace
}  // namespace teluri
