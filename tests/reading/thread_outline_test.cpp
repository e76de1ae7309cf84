#include "reading/thread_outline.h"

#include <gtest/gtest.h>

#include <set>

namespace teluri {
namespace {

using Numbers = std::vector<int>;

// 1001 with replies 1002 (which has 1003) and 1004; 1005 alone; 1006 with
// a node for the missing 1007 and a second node of 1002.
ThreadOutline Sample() {
    return ThreadOutline({{0, 1001},
                          {1, 1002},
                          {2, 1003},
                          {1, 1004},
                          {0, 1005},
                          {0, 1006},
                          {1, 1007, false},
                          {1, 1002}});
}

IsReadFunction ReadOf(std::set<int> read) {
    return [read](int number) { return read.contains(number); };
}

TEST(ThreadOutlineTest, PlaceInTheThreadCountsNodesInTreeOrder) {
    const ThreadOutline outline = Sample();
    const ThreadPlace place = outline.PlaceOf(2, ReadOf({1001}));
    EXPECT_EQ(place.firstNumber, 1001);
    EXPECT_EQ(place.position, 3);
    EXPECT_EQ(place.count, 4);
    EXPECT_EQ(place.depth, 2);
    EXPECT_EQ(place.unread, 3);
    // A thread's first and last node; a thread of one.
    EXPECT_EQ(outline.PlaceOf(0, ReadOf({})).position, 1);
    EXPECT_EQ(outline.PlaceOf(3, ReadOf({})).position, 4);
    const ThreadPlace alone = outline.PlaceOf(4, ReadOf({}));
    EXPECT_EQ(alone.firstNumber, 1005);
    EXPECT_EQ(alone.position, 1);
    EXPECT_EQ(alone.count, 1);
    EXPECT_EQ(alone.depth, 0);
    // The last thread runs to the end; its missing page counts as a node,
    // never as unread.
    const ThreadPlace last = outline.PlaceOf(7, ReadOf({1006}));
    EXPECT_EQ(last.firstNumber, 1006);
    EXPECT_EQ(last.position, 3);
    EXPECT_EQ(last.count, 3);
    EXPECT_EQ(last.unread, 1);
}

TEST(ThreadOutlineTest, TreeCountsCountEachPageOnce) {
    const ThreadOutline outline = Sample();
    const TreeCounts counts = outline.Count(ReadOf({1001, 1003}));
    EXPECT_EQ(counts.pages, 6);  // 1002 twice, 1007 missing
    EXPECT_EQ(counts.threads, 3);
    EXPECT_EQ(counts.unread, 4);
    EXPECT_EQ(ThreadOutline().Count(ReadOf({})).pages, 0);
}

TEST(ThreadOutlineTest, NumbersOfAThreadAndOfTheTree) {
    const ThreadOutline outline = Sample();
    EXPECT_EQ(outline.ThreadNumbers(1), Numbers({1001, 1002, 1003, 1004}));
    EXPECT_EQ(outline.ThreadNumbers(4), Numbers({1005}));
    EXPECT_EQ(outline.ThreadNumbers(5), Numbers({1006, 1007, 1002}));
    EXPECT_EQ(outline.AllNumbers(), Numbers({1001, 1002, 1003, 1004, 1005, 1006, 1007}));
    // A node without a number gives none.
    const ThreadOutline unnamed({{0, -1}, {1, 1001}});
    EXPECT_EQ(unnamed.ThreadNumbers(1), Numbers({1001}));
}

TEST(ThreadOutlineTest, ADeepChainIsOneThread) {
    std::vector<OutlineNode> chain;
    for (int depth = 0; depth < 9000; ++depth) {
        chain.push_back({depth, depth});
    }
    const ThreadOutline outline(std::move(chain));
    const ThreadPlace place = outline.PlaceOf(8999, ReadOf({}));
    EXPECT_EQ(place.position, 9000);
    EXPECT_EQ(place.count, 9000);
    EXPECT_EQ(place.depth, 8999);
    EXPECT_EQ(place.unread, 9000);
}

}  // namespace
}  // namespace teluri
