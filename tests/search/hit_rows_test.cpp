#include "search/hit_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "search/search_logs.h"

namespace teluri {
namespace {

TEST(HitRowsTest, ThreeLinesPerRowAndShortRecordsKeepWhatTheyHave) {
    // 3k + 2 lines: the last row has no kind; 3k + 1 lines: no number either.
    auto rows = HitRows::FromLog("a\r\n1\r\nBCB\r\nb\n2");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->Count(), 2u);
    EXPECT_EQ(rows->Title(0), "a");
    EXPECT_EQ(rows->Number(0), "1");
    EXPECT_EQ(rows->Kind(0), kHitBuilder);
    EXPECT_EQ(rows->Title(1), "b");
    EXPECT_EQ(rows->Number(1), "2");
    EXPECT_EQ(rows->Kind(1), kHitDelphi);
    rows = HitRows::FromLog("a\r\n1\r\nBCB\r\n\r\n");
    ASSERT_EQ(rows->Count(), 2u);
    EXPECT_EQ(rows->Title(1), "");
    EXPECT_FALSE(rows->Number(1).has_value());
    EXPECT_EQ(rows->Kind(1), kHitDelphi);
    for (const char* kind : {"bcb", "BCB ", "DLP", "x"}) {
        EXPECT_EQ(HitRows::FromLog(std::string("t\r\n1\r\n") + kind)->Kind(0), kHitDelphi);
    }
    // Lone CR and LF end lines too; a NUL ends the log.
    rows = HitRows::FromLog(std::string("t\r2\nBCB\r\nu\r\n3\0\r\nBCB\r\n", 21));
    ASSERT_EQ(rows->Count(), 2u);
    EXPECT_EQ(rows->Title(0), "t");
    EXPECT_EQ(rows->Kind(0), kHitBuilder);
    EXPECT_EQ(rows->Number(1), "3");
    EXPECT_EQ(rows->Kind(1), kHitDelphi);
    EXPECT_EQ(HitRows::FromLog("")->Count(), 0u);
}

// The rows of a run read back as the log written from the same hits does.
TEST(HitRowsTest, RowsOfARunAreThoseOfItsLog) {
    const std::vector<SearchHit> hits = {
        {"C++Builder", "1001", kHitBuilder}, {"", "42", kHitDelphi}, {"\x83\x41", "7", kHitDelphi}};
    HitRows run;
    for (const SearchHit& hit : hits) {
        run.Add(hit.title);
        run.CompleteLast(hit);
    }
    run.Add("number failed");  // the run stopped at this hit's number
    const auto log = HitRows::FromLog(FormatSearchLog(hits));
    ASSERT_EQ(run.Count(), 4u);
    for (std::size_t row = 0; row < hits.size(); ++row) {
        EXPECT_EQ(run.Title(row), log->Title(row));
        EXPECT_EQ(run.Number(row), log->Number(row));
        EXPECT_EQ(run.Kind(row), log->Kind(row));
    }
    EXPECT_EQ(run.Title(3), "number failed");
    EXPECT_FALSE(run.Number(3).has_value());
}

// A saved log of a million hits used to take 957 MB as list rows: the rows
// now hold the log's bytes and four bytes per row, even for the shortest
// rows a log can have (three empty lines).
TEST(HitRowsTest, MemoryIsOfTheOrderOfTheLogsSize) {
    std::string log;
    for (int i = 0; i < 1'000'000; ++i) {
        log += "Re: Delphi\r\n";
        log += std::to_string(1000 + i % 9000);
        log += "\r\nDLP\r\n";
    }
    const std::size_t size = log.size();
    const auto rows = HitRows::FromLog(std::move(log));
    ASSERT_EQ(rows->Count(), 1'000'000u);
    EXPECT_EQ(rows->Number(999'999), std::to_string(1000 + 999'999 % 9000));
    EXPECT_LE(rows->HeldBytes(), 3 * size);

    const std::string shortest(3'000'000, '\n');
    const auto empty = HitRows::FromLog(shortest);
    ASSERT_EQ(empty->Count(), 1'000'000u);
    EXPECT_LE(empty->HeldBytes(), 3 * shortest.size());
}

}  // namespace
}  // namespace teluri
