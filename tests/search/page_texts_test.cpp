#include "search/page_texts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "search/page_search.h"
#include "search/text_match.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::Sjis;
using test::TempFolder;
using test::WriteFile;

TEST(PageTextsTest, KeepsEachPageOnceAsReadUpToItsFirstNul) {
    TempFolder folder;
    WriteFile(folder / "1001.msg", std::string("first line\nDelphi\rLast\0after NUL", 33));
    PageTexts texts(folder.Path());
    const std::size_t slot = texts.Slot("1001");
    EXPECT_EQ(texts.Text(slot), "first line\nDelphi\rLast");
    // Asked again, the page is not read again: a changed file shows no change.
    WriteFile(folder / "1001.msg", "other");
    EXPECT_EQ(texts.Slot("1001"), slot);
    EXPECT_EQ(texts.Text(slot), "first line\nDelphi\rLast");
    EXPECT_EQ(texts.PageCount(), 1u);
}

TEST(PageTextsTest, ReadPagesReadsEachNewPageOnceAndStepsPerRead) {
    TempFolder folder;
    WriteFile(folder / "1001.msg", "a");
    WriteFile(folder / "1002.msg", "b");
    PageTexts texts(folder.Path());
    int steps = 0;
    texts.ReadPages({"1001", "1002", "1001", "1003"}, [&steps] { ++steps; });
    EXPECT_EQ(steps, 3);  // the missing page is looked for once too
    texts.ReadPages({"1002", "1001"}, [&steps] { ++steps; });
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(texts.PageCount(), 3u);
    EXPECT_EQ(texts.Text(texts.Slot("1002")), "b");
    EXPECT_EQ(texts.Text(texts.Slot("1003")), "");
}

TEST(PageTextsTest, PagesMatchAsInTheSearchRunAlsoAcrossLines) {
    TempFolder folder;
    const std::string pages[] = {"one\ntwo", "one\rtwo\r\n", "one\r\ntwo", "x\x83\ntwo",
                                 std::string("one\0\r\ntwo", 9)};
    const std::string needles[] = {"one\r\ntwo", "E\r\nT", "\r\n", "\ntwo",
                                   "two\r\n",    "\x83\r", "one",  "TWO"};
    PageTexts texts(folder.Path());
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        const std::string number = std::to_string(1000 + i);
        WriteFile(folder / (number + ".msg"), pages[i]);
        texts.Slot(number);
    }
    for (const std::string& needle : needles) {
        const std::vector<char> matching = texts.Matching(MatchForm(needle));
        for (std::size_t i = 0; i < std::size(pages); ++i) {
            EXPECT_EQ(matching[i] != 0, PageMatcher(needle).Matches(pages[i]))
                << i << " / " << needle;
        }
    }
}

TEST(PageTextsTest, AMissingPageHasNoTextAndIsNoError) {
    TempFolder folder;
    PageTexts texts(folder.Path());
    const std::size_t slot = texts.Slot("1234");
    EXPECT_EQ(texts.Text(slot), "");
    EXPECT_FALSE(texts.TakeReadError());
    EXPECT_EQ(texts.Matching("X"), std::vector<char>({0}));
}

TEST(PageTextsTest, AnUnreadablePageIsReportedOnceAndMatchesNothing) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "1001.msg");  // a folder is no page
    WriteFile(folder / "1002.msg", "x");
    std::filesystem::permissions(folder / "1002.msg", std::filesystem::perms::none);
    const bool reported = test::RunWithoutPrivileges([&folder] {
        PageTexts texts(folder.Path());
        texts.Slot("1001");
        const std::size_t slot = texts.Slot("1002");
        const auto error = texts.TakeReadError();
        return texts.Text(slot).empty() && error && error->find("1002.msg") != std::string::npos &&
               !texts.TakeReadError();
    });
    EXPECT_TRUE(reported);
}

TEST(PageTextsTest, MatchingTestsEveryPageOrOnlyTheCandidates) {
    TempFolder folder;
    WriteFile(folder / "1001.msg", "Delphi\r\n");
    WriteFile(folder / "1002.msg", Sjis("フォーム\r\n"));
    WriteFile(folder / "1003.msg", "<p>delphi form</p>");
    PageTexts texts(folder.Path());
    for (const char* number : {"1001", "1002", "1003"}) {
        texts.Slot(number);
    }
    EXPECT_EQ(texts.Matching(MatchForm("delphi")), std::vector<char>({1, 0, 1}));
    EXPECT_EQ(texts.Matching(MatchForm(Sjis("フォーム"))), std::vector<char>({0, 1, 0}));
    EXPECT_EQ(texts.Matching(""), std::vector<char>({0, 0, 0}));
    const std::vector<char> candidates = {1, 1, 0};
    EXPECT_EQ(texts.Matching(MatchForm("delphi"), &candidates), std::vector<char>({1, 0, 0}));
    // The pages are kept as read: a trail byte that looks like a small
    // letter is no letter, and the upper-cased text does not match it.
    WriteFile(folder / "1004.msg", "\x83\x64");
    texts.Slot("1004");
    EXPECT_EQ(texts.Matching("D"), std::vector<char>({1, 0, 1, 0}));
    EXPECT_EQ(texts.Matching("\x83\x64"), std::vector<char>({0, 0, 0, 1}));
}

TEST(PageTextsTest, MatchingManyPagesKeepsEachAnswerInItsSlot) {
    // More pages than one thread's run, so that the runs go to every thread.
    TempFolder folder;
    std::vector<std::string> numbers;
    for (int number = 1000; number < 1700; ++number) {
        numbers.push_back(std::to_string(number));
        WriteFile(folder / (numbers.back() + ".msg"),
                  number % 7 == 0 ? "<p>Delphi</p>" : "<p>C</p>");
    }
    PageTexts texts(folder.Path());
    texts.ReadPages(numbers, [] {});
    std::vector<char> candidates(numbers.size(), 0);
    for (std::size_t i = 0; i < numbers.size(); i += 2) {
        candidates[i] = 1;
    }
    const std::vector<char> every = texts.Matching("DELPHI");
    const std::vector<char> some = texts.Matching("DELPHI", &candidates);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t slot = texts.Slot(numbers[i]);
        const bool holds = (1000 + i) % 7 == 0;
        ASSERT_EQ(every[slot] != 0, holds) << numbers[i];
        ASSERT_EQ(some[slot] != 0, holds && candidates[slot] != 0) << numbers[i];
    }
}

TEST(PageTextsTest, PagesReadAheadAreThereForEveryCall) {
    TempFolder folder;
    std::vector<std::string> numbers;
    for (int number = 1000; number < 1600; ++number) {
        numbers.push_back(std::to_string(number));
        WriteFile(folder / (numbers.back() + ".msg"), number % 5 == 0 ? "Delphi" : "C");
    }
    PageTexts texts(folder.Path());
    texts.ReadPagesAhead(numbers);
    // Every call waits for the reading: nothing is read twice or missed.
    int steps = 0;
    texts.ReadPages(numbers, [&steps] { ++steps; });
    EXPECT_EQ(steps, 0);
    EXPECT_TRUE(texts.WaitForReadingAhead(std::chrono::milliseconds(0)));
    EXPECT_EQ(texts.PageCount(), numbers.size());
    const std::vector<char> matching = texts.Matching("DELPHI");
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        ASSERT_EQ(matching[texts.Slot(numbers[i])] != 0, i % 5 == 0) << numbers[i];
    }
}

TEST(PageTextsTest, AReadErrorOfTheReadingAheadIsReportedAfterIt) {
    TempFolder folder;
    WriteFile(folder / "1001.msg", "x");
    WriteFile(folder / "1002.msg", "x");
    std::filesystem::permissions(folder / "1002.msg", std::filesystem::perms::none);
    const bool reported = test::RunWithoutPrivileges([&folder] {
        PageTexts texts(folder.Path());
        texts.ReadPagesAhead({"1001", "1002"});
        const auto error = texts.TakeReadError();
        return error && error->find("1002.msg") != std::string::npos &&
               texts.Text(texts.Slot("1001")) == "x";
    });
    EXPECT_TRUE(reported);
}

TEST(PageTextsTest, TextsGoingAwayStopTheirReadingAhead) {
    TempFolder folder;
    std::vector<std::string> numbers;
    for (int number = 1000; number < 3000; ++number) {
        numbers.push_back(std::to_string(number));
        WriteFile(folder / (numbers.back() + ".msg"), std::string(2000, 'x'));
    }
    for (int round = 0; round < 3; ++round) {
        PageTexts texts(folder.Path());
        texts.ReadPagesAhead(numbers);
        if (round == 1) {
            while (!texts.WaitForReadingAhead(std::chrono::milliseconds(1))) {
            }
            EXPECT_EQ(texts.Text(texts.Slot("2999")).size(), 2000u);
        }
    }  // gone while reading, or after
}

TEST(PageTextsTest, MemoryStaysCloseToTheTextsSum) {
    TempFolder folder;
    const std::string body(5000, 'x');
    std::size_t sum = 0;
    for (int number = 1000; number < 1600; ++number) {
        const std::string text = std::to_string(number) + "\r\n" + body + "\r\n";
        WriteFile(folder / (std::to_string(number) + ".msg"), text);
        sum += text.size();
    }
    PageTexts texts(folder.Path());
    for (int number = 1000; number < 1600; ++number) {
        texts.Slot(std::to_string(number));
    }
    EXPECT_LE(texts.HeldBytes(), sum * 12 / 10 + (1u << 20));
    // A page larger than a block gets a block of its own.
    WriteFile(folder / "2000.msg", std::string(3u << 20, 'y'));
    EXPECT_EQ(texts.Text(texts.Slot("2000")).size(), 3u << 20);
    EXPECT_EQ(texts.Text(texts.Slot("1000")).substr(0, 6), "1000\r\n");
}

}  // namespace
}  // namespace teluri
