#include "htmlview/page_markup.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

TEST(PageMarkupTest, EveryRuleClosesItsBlock) {
    EXPECT_EQ(NormalisePageMarkup("<b>T<hr noshade></b><br>x<hr>\r\n<a href=x>y</a>"),
              "<b>T<hr noshade><div></div></b><br>x<hr><div></div>\r\n<a href=x>y</a>");
    EXPECT_EQ(NormalisePageMarkup("<HR><Hr/><hr\tsize=2>"),
              "<HR><div></div><Hr/><div></div><hr\tsize=2><div></div>");
}

TEST(PageMarkupTest, OtherTagsAndTextStayAsTheyAre) {
    for (const char* markup : {"", "<html><head><!-- 1001 --></head>", "<hrx>", "<h1>hr</h1>",
                               "a < b > c", "<h", "<hr", "<hr noshade"}) {
        EXPECT_EQ(NormalisePageMarkup(markup), markup) << markup;
    }
    // cp932 text with "h" and "r" as trail bytes ("ﾃ" lead, "h"; "＜" is 0x81 0x83).
    const std::string text = "\x83hr\x81\x83hr>";
    EXPECT_EQ(NormalisePageMarkup(text), text);
}

}  // namespace
}  // namespace teluri
