#include "analysis/page_reader.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "base/errors.h"
#include "tests/support/errors.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::LinkForm;
using test::Page;
using test::ParentLink;
using test::ReplyLink;
using test::Sjis;
using test::TempFolder;
using test::Thrown;
using test::WriteFile;
using Replies = std::vector<std::string>;

constexpr LinkForm kRel = LinkForm::kRelative;
constexpr LinkForm kAbs = LinkForm::kAbsolute;

// The 17 bytes in front of the number on a page's first line.
constexpr std::string_view kHead = "<html><head><!-- ";

// A reply link up to the message number.
std::string ReplyPattern() {
    return Sjis("この記事には") + "[<a href=\"./view3.cgi?";
}

class HtmlAnlTest : public ::testing::Test {
  protected:
    // A reader that has loaded `content` as page file "1234.msg".
    PageReader Read(std::string_view content) {
        WriteFile(folder_ / "1234.msg", content);
        PageReader page;
        EXPECT_TRUE(page.Load(folder_ / "1234.msg"));
        return page;
    }

    TempFolder folder_;
};

using HtmlAnlNumberTest = HtmlAnlTest;
using HtmlAnlTitleTest = HtmlAnlTest;
using HtmlAnlParentTest = HtmlAnlTest;
using HtmlAnlRepliesTest = HtmlAnlTest;
using HtmlAnlLoadTest = HtmlAnlTest;
using HtmlAnlRobustnessTest = HtmlAnlTest;

TEST_F(HtmlAnlNumberTest, ReadsBytes18To21OfTheFirstLine) {
    EXPECT_EQ(Read(Page("0042", "t")).Number(), 42);
    EXPECT_EQ(Read(Page("1234", "t")).Number(), 1234);
    EXPECT_EQ(Read(Page("  12", "t")).Number(), 12);
    EXPECT_EQ(Read(std::string(kHead) + "12\r\n34").Number(), 12);
}

TEST_F(HtmlAnlNumberTest, ShortFirstLineGivesOnlyTheBytesThatExist) {
    const struct {
        std::string content;
        std::string_view message;
    } cases[] = {
        // The next line's bytes are no part of the number.
        {std::string(kHead) + "1x\r\n34 --></head>", "'1x' は整数ではありません"},
        {std::string(kHead) + "12x", "'12x' は整数ではありません"},
        {std::string(kHead) + "x", "'x' は整数ではありません"},
        {std::string(kHead), "'' は整数ではありません"},
        {"<html>\r\n<head><!-- 1234 -->", "'' は整数ではありません"},
        {"\r\n", "'' は整数ではありません"},
    };
    for (const auto& c : cases) {
        const PageReader page = Read(c.content);
        const auto error = Thrown<ConvertError>([&] { page.Number(); });
        ASSERT_TRUE(error) << c.content;
        EXPECT_EQ(error->what(), c.message) << c.content;
    }
}

TEST_F(HtmlAnlNumberTest, EmptyFileIsAPageWithoutLines) {
    const PageReader page = Read("");
    EXPECT_TRUE(page.HasFile());
    EXPECT_EQ(page.Number(), -1);
    EXPECT_EQ(page.ParentNumber(), -1);
    EXPECT_EQ(page.Title(), "");
    EXPECT_TRUE(page.Replies().empty());
}

TEST_F(HtmlAnlTitleTest, RunsFromByte49ToTheMarkerOnTheFirstLine) {
    const std::string prefix48 = FirstLine("1234", "").substr(0, 48);
    const std::string hyou = Sjis("表示テスト");  // "表" is 0x95 0x5C
    ASSERT_EQ(hyou.substr(0, 2), "\x95\x5C");
    const struct {
        std::string firstLine;
        std::string title;
    } cases[] = {
        {FirstLine("1234", "Hello"), "Hello"},
        {FirstLine("1234", hyou), hyou},
        {FirstLine("1234", "a</font>b"), "a</font>b"},
        {FirstLine("1234", "a</font><hr noshade>b"), "a"},
        {FirstLine("1234", ""), ""},                            // byte 49 starts the marker
        {prefix48 + "Hello</font>", ""},                        // marker missing
        {prefix48, ""},                                         // 48 bytes
        {prefix48.substr(0, 20), ""},                           // fewer
        {prefix48 + "\r\n</font><hr noshade>", ""},             // marker only on line 2
        {prefix48.substr(0, 40) + "</font><hr noshade>x", ""},  // marker before byte 49
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.firstLine + "\r\nbody\r\n").Title(), c.title) << c.firstLine;
    }
}

TEST_F(HtmlAnlParentTest, ReadsTheNumberAfterTheParentLink) {
    const std::string first = FirstLine("1234", "t") + "\r\n";
    const struct {
        std::string content;
        int parent;
    } cases[] = {
        {Page("1234", "t", "1001", {}, kRel), 1001},
        {Page("1234", "t", "1001", {}, kAbs), 1001},
        {Page("1234", "t"), -1},
        // The absolute form wins wherever it stands.
        {first + ParentLink("1001", kRel) + "\r\n" + ParentLink("1005", kAbs) + "\r\n", 1005},
        {first + ParentLink("1001", kRel) + "\r\n" + ParentLink("1005", kRel) + "\r\n", 1001},
        // Reply links and a parent link on the first line count as well.
        {FirstLine("1234", ParentLink("1007")) + "\r\n", 1007},
        {first + ReplyLink("1001") + "\r\n", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.content).ParentNumber(), c.parent) << c.content;
    }
}

TEST_F(HtmlAnlParentTest, ShortNumberIsAConversionError) {
    const PageReader page = Read(Page("1234", "t", "12"));
    EXPECT_EQ(page.Number(), 1234);
    const auto error = Thrown<ConvertError>([&] { page.ParentNumber(); });
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->what(), "'12\">' は整数ではありません");
}

TEST_F(HtmlAnlRepliesTest, CollectsTheNumbersAfterReplyLinks) {
    const std::string first = FirstLine("1234", "t") + "\r\n";
    const auto links = [&](std::initializer_list<std::pair<const char*, LinkForm>> replies) {
        std::string content = first;
        for (const auto& [number, form] : replies) {
            content += ReplyLink(number, form) + "<br>\r\n";
        }
        return content;
    };
    const struct {
        std::string content;
        Replies replies;
    } cases[] = {
        {Page("1234", "t", "", {"1001", "1002", "1003"}), {"1001", "1002", "1003"}},
        {Page("1234", "t", "", {"1003", "1001"}, kAbs), {"1003", "1001"}},
        {Page("1234", "t", "", {"1001", "1001"}), {"1001", "1001"}},
        {Page("1234", "t", "1000"), {}},
        {links({{"1001", kRel}, {"1002", kRel}, {"1003", kAbs}, {"1004", kRel}}), {"1003", "1004"}},
        // Relative links between absolute ones are passed over.
        {links({{"1001", kAbs}, {"1002", kRel}, {"1003", kAbs}}), {"1001", "1003"}},
        {links({{"1001", kAbs}, {"1002", kRel}, {"1003", kRel}}), {"1001", "1002", "1003"}},
        // Two links on one line, and a link on the first line.
        {first + ReplyLink("1001") + ReplyLink("1002") + "\r\n", {"1001", "1002"}},
        {FirstLine("1234", ReplyLink("1009")) + "\r\n", {"1009"}},
        // The four bytes are taken as they stand, line end included.
        {first + ReplyLink("12"), {"12\">"}},
        {first + ReplyPattern() + "12\r\nnext line\r\n", {"12\r\n"}},
        {first + ReplyPattern() + "1", {"1\r\n"}},
        {first + ReplyPattern(), {"\r\n"}},
        // The search goes on after those four bytes, even into a link.
        {first + ReplyPattern() + "1" + ReplyLink("1002"), {"1" + ReplyPattern().substr(0, 3)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.content).Replies(), c.replies) << c.content;
    }
}

TEST_F(HtmlAnlLoadTest, EveryLineEndReadsTheSame) {
    const std::string crlf =
        Page("1234", "Title", "1001", {"1002", "1003"}) + ReplyPattern() + "12\r\n" + "</html>\r\n";
    const Replies replies{"1002", "1003", "12\r\n"};
    for (const std::string_view lineEnd : {"\r\n", "\n", "\r"}) {
        std::string content;
        for (std::size_t at = 0; at < crlf.size(); ++at) {
            if (crlf.compare(at, 2, "\r\n") == 0) {
                content += lineEnd;
                ++at;
            } else {
                content += crlf[at];
            }
        }
        const PageReader page = Read(content);
        EXPECT_EQ(page.Number(), 1234);
        EXPECT_EQ(page.Title(), "Title");
        EXPECT_EQ(page.ParentNumber(), 1001);
        EXPECT_EQ(page.Replies(), replies);
    }
}

TEST_F(HtmlAnlLoadTest, NulEndsTheContent) {
    using namespace std::string_literals;
    const std::string first = FirstLine("1234", "t") + "\r\n";
    const PageReader page = Read(first + ReplyLink("1001") + "\r\nab\0cd\r\n"s +
                                 ParentLink("1000") + "\r\n" + ReplyLink("1002") + "\r\n");
    EXPECT_EQ(page.Replies(), Replies{"1001"});
    EXPECT_EQ(page.ParentNumber(), -1);
    EXPECT_EQ(Read("\0"s + first).Number(), -1);
}

TEST_F(HtmlAnlLoadTest, MissingFileKeepsThePageHeld) {
    PageReader fresh;
    EXPECT_FALSE(fresh.Load(folder_ / "none.msg"));
    EXPECT_FALSE(fresh.HasFile());
    EXPECT_EQ(fresh.FileName(), "");
    EXPECT_EQ(fresh.Number(), -1);
    EXPECT_TRUE(fresh.Replies().empty());

    WriteFile(folder_ / "1001.msg", Page("1001", "First", "", {"1002"}));
    PageReader page;
    ASSERT_TRUE(page.Load(folder_ / "1001.msg"));
    EXPECT_FALSE(page.Load(folder_ / "none.msg"));
    std::filesystem::create_directory(folder_ / "1003.msg");
    EXPECT_FALSE(page.Load(folder_ / "1003.msg"));
    EXPECT_TRUE(page.HasFile());
    EXPECT_EQ(page.FileName(), folder_ / "1001.msg");
    EXPECT_EQ(page.Number(), 1001);
    EXPECT_EQ(page.Title(), "First");
    EXPECT_EQ(page.Replies(), Replies{"1002"});
}

TEST_F(HtmlAnlLoadTest, UnreadableFileThrowsAndTakesOnlyItsName) {
    const std::string good = folder_ / "1001.msg";
    const std::string locked = folder_ / "1002.msg";
    WriteFile(good, Page("1001", "First", "", {"1005"}));
    WriteFile(locked, Page("1002", "Second", "1001", {"1006"}));
    ::chmod(good.c_str(), 0644);
    ::chmod(locked.c_str(), 0);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        PageReader page;
        if (!page.Load(good)) {
            return false;
        }
        const auto error = Thrown<IoError>([&] { page.Load(locked); });
        return error && error->what() == "ﾌｧｲﾙ " + locked + " は開けません" &&
               page.FileName() == locked && page.Number() == 1001 && page.Title() == "First" &&
               page.Replies() == Replies{"1005"};
    }));
}

TEST_F(HtmlAnlRobustnessTest, MegabyteFirstLine) {
    const std::string title(1 << 20, 'x');
    const PageReader page = Read(Page("1234", title, "1001", {"1002"}));
    EXPECT_EQ(page.Number(), 1234);
    EXPECT_EQ(page.Title(), title);
    EXPECT_EQ(page.ParentNumber(), 1001);
    EXPECT_EQ(page.Replies(), Replies{"1002"});
    EXPECT_EQ(Read(FirstLine("1234", "").substr(0, 48) + title).Title(), "");
}

TEST_F(HtmlAnlRobustnessTest, BinaryJunk) {
    std::mt19937 random(20240611);
    const std::string pieces[] = {ReplyPattern(), ParentLink("1001"),   "\r",
                                  "\n",           std::string(1, '\0'), "</font><hr noshade>"};
    for (int round = 0; round < 50; ++round) {
        std::string content(random() % 4096, '\0');
        for (char& byte : content) {
            byte = static_cast<char>(random());
        }
        // Pieces of the patterns, cut short at random, make the search work.
        for (int i = 0; i < 8 && !content.empty(); ++i) {
            const std::string& piece = pieces[random() % std::size(pieces)];
            content.insert(random() % content.size(),
                           piece.substr(0, random() % (piece.size() + 1)));
        }
        const PageReader page = Read(content);
        EXPECT_NO_THROW(page.Title());
        Thrown<ConvertError>([&] { page.Number(); });
        Thrown<ConvertError>([&] { page.ParentNumber(); });
        for (const std::string& reply : page.Replies()) {
            EXPECT_LE(reply.size(), 4u);
        }
    }
}

TEST_F(HtmlAnlRobustnessTest, HugePageWithManyRepliesReadsInLinearTime) {
    const std::string link = ReplyLink("1001") + "<br>\r\n";
    std::string content = FirstLine("1234", "t") + "\r\n";
    const std::size_t count = (50u << 20) / link.size();
    content.reserve(content.size() + count * link.size() + 16);
    for (std::size_t i = 0; i < count; ++i) {
        content += link;
    }
    content += ReplyLink("9999") + "\r\n";
    const auto start = std::chrono::steady_clock::now();
    const PageReader page = Read(content);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(page.Replies().size(), count + 1);
    EXPECT_EQ(page.Replies().front(), "1001");
    EXPECT_EQ(page.Replies().back(), "9999");
    EXPECT_LT(elapsed, std::chrono::seconds(10));
}

}  // namespace
}  // namespace teluri
