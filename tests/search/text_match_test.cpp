#include "search/text_match.h"

#include <gtest/gtest.h>

#include <random>

#include "search/page_search.h"
#include "tests/support/pages.h"

namespace teluri {
namespace {

using test::Sjis;
using Offsets = std::vector<std::size_t>;

bool Contains(std::string_view haystack, std::string_view needle) {
    return ContainsText(MatchForm(haystack), MatchForm(needle));
}

TEST(TextMatchTest, OnlyTheLettersTheUpperCasingFoldsMatchEitherCase) {
    EXPECT_TRUE(Contains("Borland Delphi", "dELPHI"));
    EXPECT_TRUE(Contains(Sjis("フォームを作る"), Sjis("フォーム")));
    // Full-width letters are not folded: they match only as typed.
    EXPECT_TRUE(Contains(Sjis("ＤＥＬＰＨＩ"), Sjis("ＤＥＬＰＨＩ")));
    EXPECT_FALSE(Contains(Sjis("ＤＥＬＰＨＩ"), Sjis("ｄｅｌｐｈｉ")));
    // 0x83 0x61 is one character whose trail byte is "a": it stays as it is,
    // while a typed "a" is upper-cased, so neither letter case finds it.
    EXPECT_FALSE(
        Contains("x\x83"
                 "a",
                 "A"));
    EXPECT_FALSE(
        Contains("x\x83"
                 "a",
                 "a"));
    EXPECT_FALSE(Contains("Delphi", ""));
    EXPECT_FALSE(Contains("", "x"));
}

TEST(TextMatchTest, TheMatchFormFoldsLikeTheByteByByteRule) {
    // The upper-casing folds ASCII runs eight bytes at a time: any mix of
    // letters, lead bytes, trail letters and high bytes at every alignment
    // must come out as the plain rule gives it.
    const auto byByte = [](std::string text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
                ++i;
            } else if (c >= 'a' && c <= 'z') {
                text[i] = static_cast<char>(c - 0x20);
            }
        }
        return text;
    };
    const char alphabet[] = {'a',    'z',    'A',    'Z',    '`',    '{',    '@',
                             '[',    '\x81', '\x9f', '\xe0', '\xfc', '\xa0', '\xdf',
                             '\x80', '\xfd', '\x7f', '\0',   'm',    '\n'};
    std::mt19937 random(15);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = random() % 3 == 0 ? alphabet[random() % std::size(alphabet)]
                                  : static_cast<char>('a' + random() % 26);
        }
        ASSERT_EQ(MatchForm(text), byByte(text)) << round;
    }
}

TEST(TextMatchTest, AMatchMayStartAtATrailByte) {
    // "ア" is 0x83 0x41: its trail byte is "A", and so is the text.
    const std::string page = Sjis("ア");
    EXPECT_TRUE(Contains(page, "A"));
    EXPECT_EQ(FindEveryText(MatchForm(page), "A"), Offsets({1}));
}

TEST(TextMatchTest, OccurrencesFollowEachOtherWithoutOverlapping) {
    EXPECT_EQ(FindEveryText("AAAA", "AA"), Offsets({0, 2}));
    EXPECT_EQ(FindEveryText("XABXABAB", "AB"), Offsets({1, 4, 6}));
    EXPECT_EQ(FindEveryText("ABC", "ABC"), Offsets({0}));
    EXPECT_TRUE(FindEveryText("ABC", "ABCD").empty());
    EXPECT_TRUE(FindEveryText("ABC", "").empty());
}

TEST(TextMatchTest, TheSearchRunFindsWhatTheRuleFinds) {
    const std::string texts[] = {"Delphi",
                                 "x\x83"
                                 "a",
                                 Sjis("フォームdelphi"), "C++Builder"};
    const std::string needles[] = {"delphi", "a", "A", Sjis("フォーム"), "c++b", "", "x"};
    for (const std::string& text : texts) {
        for (const std::string& needle : needles) {
            EXPECT_EQ(PageMatcher(needle).Matches(text), Contains(text, needle))
                << text << " / " << needle;
        }
    }
}

}  // namespace
}  // namespace teluri
