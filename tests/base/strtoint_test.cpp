#include "base/strtoint.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace teluri {
namespace {

TEST(StrToIntTest, AcceptsDecimalAndDollarHexadecimal) {
    EXPECT_EQ(StrToInt("1234"), 1234);
    EXPECT_EQ(StrToInt("0042"), 42);
    EXPECT_EQ(StrToInt("  12"), 12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("$0C"), 12);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToIntTest, RejectsEverythingElse) {
    for (const std::string_view text :
         {"", " ", "+", "-", "$", "12 ", "1 2", "12\"", "0x0C", "12pt", "\t12", "1.0", "2147483648",
          "-2147483649", "$100000000", "--1", "$-1", "\xEF\xBC\x91"}) {
        EXPECT_FALSE(TryStrToInt(text).has_value()) << text;
    }
}

TEST(StrToIntTest, ErrorQuotesTheTextOnOneLine) {
    try {
        StrToInt("12\r\n");
        FAIL() << "no error";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "'12\\r\\n' は整数ではありません");
    }
    try {
        StrToInt("");
        FAIL() << "no error";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "'' は整数ではありません");
    }
}

TEST(StrToIntTest, ErrorShowsCp932TextDecoded) {
    // "１２" in full-width digits, cp932.
    try {
        StrToInt("\x82\x50\x82\x51");
        FAIL() << "no error";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "'１２' は整数ではありません");
    }
}

}  // namespace
}  // namespace teluri
