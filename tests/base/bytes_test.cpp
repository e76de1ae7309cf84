#include "base/bytes.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

// "表" is 0x95 0x5C in cp932: its trail byte is the backslash.
constexpr std::string_view kHyou = "\x95\x5C";

TEST(ReplaceCharTest, ReplacesSingleByteCharactersOnly) {
    const std::string path = std::string("C:\\") + std::string(kHyou) + "\\data\\";
    EXPECT_EQ(ReplaceChar(path, '\\', '/', Cp932LeadBytes()),
              std::string("C:/") + std::string(kHyou) + "/data/");
}

TEST(ReplaceCharTest, WithoutLeadBytesEveryByteCounts) {
    const std::string path = std::string("a") + std::string(kHyou);
    EXPECT_EQ(ReplaceChar(path, '\\', '/', LeadByteSet()), "a\x95/");
}

TEST(ReplaceCharTest, LeadByteInLastPositionEndsTheScan) {
    EXPECT_EQ(ReplaceChar("\\\x95", '\\', '/', Cp932LeadBytes()), "/\x95");
    EXPECT_EQ(ReplaceChar("", '\\', '/', Cp932LeadBytes()), "");
}

TEST(ReplaceCharTest, LeadByteRangesAreCp932s) {
    const LeadByteSet& lead = Cp932LeadBytes();
    EXPECT_FALSE(lead.test(0x80));
    EXPECT_TRUE(lead.test(0x81));
    EXPECT_TRUE(lead.test(0x9F));
    EXPECT_FALSE(lead.test(0xA0));
    EXPECT_FALSE(lead.test(0xDF));
    EXPECT_TRUE(lead.test(0xE0));
    EXPECT_TRUE(lead.test(0xFC));
    EXPECT_FALSE(lead.test(0xFD));
    EXPECT_EQ(lead.count(), 31u + 29u);
}

TEST(ReplaceCharTest, BackslashToSlashUsesTheGivenSet) {
    EXPECT_EQ(BackslashToSlash("a\\b\\", Cp932LeadBytes()), "a/b/");
    EXPECT_EQ(BackslashToSlash(std::string(kHyou), Cp932LeadBytes()), std::string(kHyou));
}

TEST(UpperCaseTest, FoldsAsciiLettersAndKeepsDoubleByteCharacters) {
    EXPECT_EQ(UpperCaseCp932("delphi 3.0 & c++builder"), "DELPHI 3.0 & C++BUILDER");
    // 0x82 0x61 is a full-width letter; its trail byte 'a' must not change.
    EXPECT_EQ(UpperCaseCp932("\x82\x61x"), "\x82\x61X");
    // Half-width katakana (0xA1-0xDF) are single bytes and stay.
    EXPECT_EQ(UpperCaseCp932("\xB1z"), "\xB1Z");
    // A lead byte in the last position ends the scan.
    EXPECT_EQ(UpperCaseCp932("a\x82"), "A\x82");
}

TEST(IsBuilderTitleTest, MatchesTheThreeMarkersInAnyCase) {
    EXPECT_TRUE(IsBuilderTitle("C++Builder 3"));
    EXPECT_TRUE(IsBuilderTitle("about c++"));
    EXPECT_TRUE(IsBuilderTitle("builder"));
    EXPECT_TRUE(IsBuilderTitle("[bcb] help"));
    EXPECT_TRUE(IsBuilderTitle("x[B"));
    EXPECT_FALSE(IsBuilderTitle("Delphi 3"));
    EXPECT_FALSE(IsBuilderTitle("C+ +"));
    EXPECT_FALSE(IsBuilderTitle("[ B]"));
    EXPECT_FALSE(IsBuilderTitle(""));
}

TEST(IsBuilderTitleTest, TrailBytesAreNotFolded) {
    // 0x83 0x62 ("ッ") followed by "uilder": the 'b' is a trail byte, so no
    // "BUILDER" arises from folding it.
    EXPECT_FALSE(IsBuilderTitle("\x83\x62uilder"));
    // The substring test is on bytes: it may begin at a trail byte. 0x81
    // 0x5B is one character whose trail byte is "[".
    EXPECT_TRUE(
        IsBuilderTitle("\x81\x5B"
                       "B"));
}

TEST(SameTextTest, IgnoresCaseOfAsciiLettersOnly) {
    EXPECT_TRUE(SameTextCp932("Delphi", "DELPHI"));
    EXPECT_FALSE(SameTextCp932("Delphi", "Delph"));
    EXPECT_FALSE(SameTextCp932("\x82\x61", "\x82\x41"));
}

}  // namespace
}  // namespace teluri
