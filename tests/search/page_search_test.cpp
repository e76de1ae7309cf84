#include "search/page_search.h"

#include <gtest/gtest.h>

#include <random>

#include "base/bytes.h"
#include "base/errors.h"
#include "base/lines.h"
#include "tests/support/errors.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::Page;
using test::Sjis;
using test::WriteFile;
using Lines = std::vector<std::string>;

// Records what a run reports, one entry per hit event.
class RecordingSink : public SearchSink {
  public:
    void Step() override { ++steps; }
    void HitFound(const std::string& title) override { events.push_back("found " + title); }
    void HitCompleted(const SearchHit& hit) override {
        events.push_back(hit.number + " " + hit.title + " " + std::string(KindText(hit.kind)));
    }
    int steps = 0;
    Lines events;
};

bool Match(std::string_view content, std::string_view text) {
    return PageMatcher(text).Matches(content);
}

// The definition: the upper-cased whole text holds the upper-cased text.
bool DefinitionMatches(std::string_view content, std::string_view text) {
    const std::string upper = UpperCaseCp932(text);
    return !upper.empty() && UpperCaseCp932(WholeText(content)).find(upper) != std::string::npos;
}

TEST(PageMatcherTest, MatchRules) {
    const std::string page = Page("1001", Sjis("Delphiのフォーム"), {}, {"1002"});
    const struct {
        std::string content, text;
        bool match;
    } cases[] = {
        {page, "dElPhI", true},
        {page, "<HR NOSHADE>", true},  // markup counts
        {page, "VIEW3.CGI?1002", true},
        {page, Sjis("フォーム"), true},
        {page, "Kylix", false},
        {page, "", false},  // the empty text is never found
        // 0x83 0x61 is one character whose trail byte is "a": not folded,
        // neither in the page nor in the text.
        {"x\x83"
         "a",
         "A", false},
        {"x\x83"
         "a",
         "a", false},
        {"x\x83"
         "a",
         "\x83"
         "a",
         true},
        {"x\x83"
         "a",
         "\x83"
         "A",
         false},
        // A match may start at a trail byte: "ア" is 0x83 0x41.
        {Sjis("ア"), "a", true},
        // A lead byte ending a line does not take the next line's letter.
        {"\x83\r\nabc", "ABC", true},
        {"\x83\nabc", "ABC", true},
        {"\x83\rabc", "ABC", true},
        // The whole text: every line ends with CR LF, nothing after a NUL.
        {"abc\ndef", "C\r\nD", true},
        {"abc\ndef", "c\nd", false},
        {"abc", "abc\r\n", true},
        {std::string("abc\0xyz", 7), "xyz", false},
        {std::string("abc\0xyz", 7), "abc\r\n", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Match(c.content, c.text), c.match)
            << ::testing::PrintToString(c.content) << " / " << ::testing::PrintToString(c.text);
    }
}

TEST(PageMatcherTest, AgreesWithTheDefinitionOnRandomBytes) {
    // Letters and their neighbours, lead bytes, a half-width kana, line ends
    // and NUL, in every mix a few bytes long; one matcher reused throughout.
    const std::string alphabet("aAzZ{`@\x83\x81\xE0\xFC\xA1\x80\r\n\0b", 17);
    std::mt19937 random(7);
    const auto pick = [&](std::size_t length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) {
            bytes += alphabet[random() % alphabet.size()];
        }
        return bytes;
    };
    PageMatcher shared("aB");
    for (int round = 0; round < 40000; ++round) {
        const std::string content = pick(random() % 40);
        std::string text = pick(1 + random() % 4);
        if (round % 2 == 0 && content.size() > 2) {
            const std::size_t at = random() % (content.size() - 1);
            text = content.substr(at, 1 + random() % 5);
            for (char& c : text) {
                c = random() % 2 ? c
                                 : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        ASSERT_EQ(Match(content, text), DefinitionMatches(content, text))
            << ::testing::PrintToString(content) << " / " << ::testing::PrintToString(text);
        ASSERT_EQ(shared.Matches(content), DefinitionMatches(content, "aB"))
            << ::testing::PrintToString(content);
    }
}

TEST(PageMatcherTest, AgreesWithTheDefinitionOnLongPages) {
    // Pages of a few kilobytes are looked at in blocks: texts taken from
    // around the block edges, after runs of double-byte characters and
    // ASCII, must match exactly where the definition says.
    const std::string alphabet("aAbBzZ\x83\x83\x82\xE0 <>\r\n", 15);
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string content;
        const std::size_t length = 900 + random() % 2400;
        while (content.size() < length) {
            // Runs of one kind, so that the eight-byte steps over ASCII are
            // taken too.
            const char c = alphabet[random() % alphabet.size()];
            content.append(1 + random() % 12, c);
        }
        if (round % 50 == 0) {
            content[random() % content.size()] = '\0';
        }
        const std::size_t edge = 1024 * (1 + random() % 2);
        const std::size_t at =
            std::min(content.size() - 1, edge - std::min<std::size_t>(edge, random() % 8));
        std::string text = content.substr(at, 1 + random() % 9);
        for (char& c : text) {
            c = random() % 2 ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        ASSERT_EQ(Match(content, text), DefinitionMatches(content, text))
            << round << " " << ::testing::PrintToString(text);
    }
}

TEST(PageMatcherTest, AgreesWithTheDefinitionAfterLongRunsOfLeadBytes) {
    // Whether a letter begins a character is known from the lead bytes right
    // before it; after a run longer than the matcher looks back over, it
    // walks the page instead. Letters after runs of every length, both
    // parities, and several in one page, so that the walk goes on from the
    // place before.
    std::mt19937 random(13);
    for (int round = 0; round < 2000; ++round) {
        std::string content;
        while (content.size() < 600) {
            content.append(random() % 140, random() % 2 ? '\x83' : '\xE0');
            content += "azZ b"[random() % 5];
            if (random() % 3 == 0) {
                content += '\x82';
            }
        }
        const std::size_t at = random() % (content.size() - 3);
        std::string text = content.substr(at, 1 + random() % 3);
        for (char& c : text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        ASSERT_EQ(Match(content, text), DefinitionMatches(content, text))
            << round << " " << ::testing::PrintToString(text);
        ASSERT_EQ(Match(content, "Z"), DefinitionMatches(content, "Z")) << round;
    }
}

class SearchPagesTest : public ::testing::Test {
  protected:
    Lines Search(const Lines& names, std::string_view text) {
        Lines hits;
        for (const SearchHit& hit : SearchPages(folder_.Path(), names, text, sink_)) {
            hits.push_back(hit.number + " " + hit.title + " " + std::string(KindText(hit.kind)));
        }
        return hits;
    }

    test::TempFolder folder_;
    RecordingSink sink_;
};

TEST_F(SearchPagesTest, HitsInListOrderWithNumberTitleAndKind) {
    WriteFile(folder_ / "1001.msg", Page("1001", "C++Builder hit"));
    WriteFile(folder_ / "1002.MSG", Page("1002", "upper-case extension hit"));
    WriteFile(folder_ / "1003.bak", Page("1003", "backup hit"));
    WriteFile(folder_ / "0042.msg", Page("0042", "C++ [B] small hit"));
    WriteFile(folder_ / "1004.msg", Page("1004", "nothing"));
    WriteFile(folder_ / "1005.msg", "<html><head><!-- 1005 --></head><body> <b><font>hit\r\n");
    const Lines names{"1002.MSG", "1001.msg", "1003.bak", "0042.msg", "1004.msg", "1005.msg"};
    EXPECT_EQ(Search(names, "HIT"),
              (Lines{"1002 upper-case extension hit DLP", "1001 C++Builder hit BCB",
                     "42 C++ [B] small hit DLP", "1005  DLP"}));
    EXPECT_EQ(sink_.steps, 6);
    EXPECT_TRUE(Search(names, "").empty());
    EXPECT_EQ(sink_.steps, 12);
}

TEST_F(SearchPagesTest, EveryNameIsSteppedOnlyPagesAreRead) {
    // The backups do not exist: reading one would stop the run.
    Lines names;
    for (int i = 0; i < 1000; ++i) {
        const std::string number = std::to_string(1000 + i);
        names.push_back(number + (i % 5 < 2 ? ".bak" : ".msg"));
        if (i % 5 >= 2) {
            WriteFile(folder_ / names.back(), Page(number, "t"));
        }
    }
    EXPECT_EQ(Search(names, "<HTML>").size(), 600u);
    EXPECT_EQ(sink_.steps, 1000);
}

TEST_F(SearchPagesTest, PageThatCannotBeReadOrNumberedStopsTheRun) {
    WriteFile(folder_ / "1001.msg", Page("1001", "good"));
    WriteFile(folder_ / "1002.msg", FirstLine("10x2", "bad") + "\r\n");
    const auto vanished = test::Thrown<IoError>([&] { Search({"1001.msg", "0999.msg"}, "x"); });
    ASSERT_TRUE(vanished);
    EXPECT_EQ(std::string(vanished->what()), "ﾌｧｲﾙ " + (folder_ / "0999.msg") + " は開けません");

    // A page without the text is never asked for its number; a hit's row has
    // its title before the number fails.
    EXPECT_TRUE(Search({"1002.msg"}, "nowhere").empty());
    sink_.events.clear();
    const auto bad = test::Thrown<ConvertError>([&] {
        Search({"1001.msg", "1002.msg", "1003.msg"}, "</FONT>");
    });
    ASSERT_TRUE(bad);
    EXPECT_EQ(std::string(bad->what()), "'10x2' は整数ではありません");
    EXPECT_EQ(bad->File(), folder_ / "1002.msg");
    EXPECT_EQ(sink_.events, (Lines{"found good", "1001 good DLP", "found bad"}));
}

TEST(SearchNamesTest, OnlyMsgExtensionsInAnyCaseAreSearched) {
    for (const char* name : {"1234.msg", "1234.MSG", "a.b.Msg"}) {
        EXPECT_TRUE(IsSearchedPageName(name)) << name;
    }
    for (const char* name : {"1234.bak", "1234.msg.bak", "1234msg", "1234.msgx"}) {
        EXPECT_FALSE(IsSearchedPageName(name)) << name;
    }
}

}  // namespace
}  // namespace teluri
