#include "base/cp932.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace teluri {
namespace {

TEST(Cp932Test, BackslashIsNotTheYenSign) {
    EXPECT_EQ(Cp932ToUtf8("C:\\data"), "C:\\data");
    EXPECT_EQ(Utf8ToCp932("\\"), "\\");
    EXPECT_EQ(Cp932ToUtf8("~"), "~");
}

TEST(Cp932Test, ControlBytesMapToThemselvesAsOnWindows) {
    using namespace std::string_literals;
    const std::string controls = "\x01\x1A\x1C\x7F\t"s;
    EXPECT_EQ(Cp932ToUtf8(controls), controls);
    EXPECT_EQ(Utf8ToCp932(controls), controls);
}

TEST(Cp932Test, RoundTripsJapaneseText) {
    const std::string utf8 = "このコメントは表示ﾃｽﾄ①";
    const std::string sjis = Utf8ToCp932(utf8);
    EXPECT_EQ(sjis.substr(0, 2), "\x82\xB1");  // こ
    EXPECT_EQ(Cp932ToUtf8(sjis), utf8);
    EXPECT_EQ(Cp932ToUtf16(sjis), u"このコメントは表示ﾃｽﾄ①");
    EXPECT_EQ(Utf16ToCp932(u"表"), "\x95\x5C");
}

TEST(Cp932Test, UndecodableBytesBecomeReplacementCharacters) {
    // A lone lead byte at the end and an unassigned pair.
    EXPECT_EQ(Cp932ToUtf16("a\x82"), u"a\uFFFD");
    EXPECT_EQ(Cp932ToUtf16("\x85\x40z").back(), u'z');
    EXPECT_NE(Cp932ToUtf16("\x85\x40z").find(u'\uFFFD'), std::u16string::npos);
    EXPECT_EQ(Cp932ToUtf16("\x85\x40z").find(u'\x1A'), std::u16string::npos);
}

TEST(Cp932Test, ExactConversionFailsClearly) {
    EXPECT_THROW(Utf8ToCp932("한국어"), EncodingError);
    EXPECT_THROW(Utf8ToCp932("\xFF\xFE"), EncodingError);
    EXPECT_THROW(Utf16ToCp932(u"\U0001F600"), EncodingError);
    EXPECT_EQ(Utf8ToCp932(""), "");
}

TEST(Cp932Test, DisplayFormEscapesControlBytes) {
    EXPECT_EQ(Cp932ForDisplay("a\tb\r\n\x01\x7F"), "a\\tb\\r\\n\\x01\\x7F");
    // A lead byte before a control byte does not swallow the escape.
    EXPECT_EQ(Cp932ForDisplay("\x82\r"), "\xEF\xBF\xBD\\r");
}

}  // namespace
}  // namespace teluri
