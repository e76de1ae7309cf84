#include "reading/page_history.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

TEST(PageHistoryTest, BackAndForwardOverThePagesShown) {
    PageHistory history;
    EXPECT_FALSE(history.Back());
    EXPECT_FALSE(history.Forward());
    history.Visit("a");
    EXPECT_FALSE(history.CanGoBack());
    history.Visit("b");
    history.Visit("b");  // shown again: no new entry
    history.Visit("c");
    EXPECT_EQ(history.Back(), "b");
    EXPECT_EQ(history.Back(), "a");
    EXPECT_FALSE(history.Back());
    EXPECT_EQ(history.Forward(), "b");
    EXPECT_EQ(history.Forward(), "c");
    EXPECT_FALSE(history.Forward());
}

TEST(PageHistoryTest, AShowAfterGoingBackDropsTheEntriesAhead) {
    PageHistory history;
    for (const char* url : {"a", "b", "c"}) {
        history.Visit(url);
    }
    history.Back();
    history.Back();
    history.Visit("a");  // the current one again: nothing is dropped
    EXPECT_TRUE(history.CanGoForward());
    history.Visit("d");
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.Back(), "a");
    EXPECT_FALSE(history.CanGoBack());
}

TEST(PageHistoryTest, KeepsTheNewestThousandEntries) {
    PageHistory history;
    for (int i = 0; i < 1005; ++i) {
        history.Visit(std::to_string(i));
    }
    int steps = 0;
    std::optional<std::string> last;
    while (const std::optional<std::string> url = history.Back()) {
        last = url;
        ++steps;
    }
    EXPECT_EQ(steps, 999);
    EXPECT_EQ(last, "5");
}

}  // namespace
}  // namespace teluri
