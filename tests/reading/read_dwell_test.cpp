#include "reading/read_dwell.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

using std::chrono::milliseconds;
using Time = ReadDwell::Clock::time_point;

MarkablePage Page(int number) {
    return {"/a/", number};
}

TEST(ReadDwellTest, PagesPassedOverFasterThanTheDwellStayUnread) {
    ReadDwell dwell;
    Time now{};
    // Ten nodes with the arrow keys, a tenth of a second each: none is due,
    // however often the clock is asked.
    for (int number = 1001; number <= 1010; ++number) {
        dwell.Shown(Page(number), now);
        now += milliseconds(100);
        EXPECT_FALSE(dwell.Due(now)) << number;
    }
    // The last one stays: due once its second is up, and only once.
    EXPECT_FALSE(dwell.Due(now + milliseconds(899)));
    const std::optional<MarkablePage> due = dwell.Due(now + milliseconds(900));
    ASSERT_TRUE(due);
    EXPECT_EQ(due->number, 1010);
    EXPECT_EQ(due->folder, "/a/");
    EXPECT_FALSE(dwell.Due(now + milliseconds(5000)));
}

TEST(ReadDwellTest, AnotherPageShownRestartsTheSecond) {
    ReadDwell dwell;
    dwell.Shown(Page(1001), Time{});
    dwell.Shown(Page(1002), Time{} + milliseconds(900));
    EXPECT_FALSE(dwell.Due(Time{} + milliseconds(1100)));
    EXPECT_EQ(dwell.Due(Time{} + milliseconds(1900))->number, 1002);
    // The same page shown again is a new showing.
    dwell.Shown(Page(1002), Time{} + milliseconds(2000));
    EXPECT_EQ(dwell.Due(Time{} + milliseconds(3000))->number, 1002);
}

TEST(ReadDwellTest, WorkingWithThePageMarksItAtOnceAndOnce) {
    ReadDwell dwell;
    dwell.Shown(Page(1001), Time{});
    EXPECT_EQ(dwell.Engaged()->number, 1001);
    EXPECT_FALSE(dwell.Engaged());
    EXPECT_FALSE(dwell.Due(Time{} + milliseconds(2000)));
}

TEST(ReadDwellTest, SettledOrUnmarkablePagesAreNeverDue) {
    ReadDwell dwell;
    // Marked unread by the reader while on show: scrolling on does not
    // mark it again.
    dwell.Shown(Page(1001), Time{});
    dwell.Settle();
    EXPECT_FALSE(dwell.Engaged());
    EXPECT_FALSE(dwell.Due(Time{} + milliseconds(2000)));
    // The tutorial after a page: the page's pending mark goes with it.
    dwell.Shown(Page(1002), Time{});
    dwell.Shown(std::nullopt, Time{} + milliseconds(10));
    EXPECT_FALSE(dwell.Due(Time{} + milliseconds(2000)));
    EXPECT_FALSE(dwell.Engaged());
}

}  // namespace
}  // namespace teluri
