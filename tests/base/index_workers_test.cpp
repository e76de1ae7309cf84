#include "base/index_workers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace teluri {
namespace {

// Each index's job runs once, whatever order the indexes are asked for in
// and however many threads share them, and each worker number belongs to
// one thread.
TEST(IndexWorkersTest, RunsEveryJobOnceOnOneThreadPerWorkerNumber) {
    constexpr std::size_t kCount = 2000;
    for (const std::size_t threads : {std::size_t{1}, std::size_t{2}, std::size_t{4}}) {
        for (const bool reverse : {false, true}) {
            std::vector<std::atomic<int>> runs(kCount);
            std::vector<std::thread::id> owners(threads);
            std::mutex mutex;
            bool sameOwner = true;
            std::vector<int> results(kCount, -1);
            IndexWorkers workers(
                kCount,
                [&](std::size_t index, std::size_t worker) {
                    ++runs[index];
                    results[index] = static_cast<int>(index) * 3;
                    const std::lock_guard<std::mutex> lock(mutex);
                    ASSERT_LT(worker, threads);
                    if (owners[worker] == std::thread::id()) {
                        owners[worker] = std::this_thread::get_id();
                    }
                    sameOwner = sameOwner && owners[worker] == std::this_thread::get_id();
                },
                threads);
            EXPECT_EQ(workers.Threads(), threads);
            for (std::size_t k = 0; k < kCount; ++k) {
                const std::size_t index = reverse ? kCount - 1 - k : k;
                workers.Finish(index);
                ASSERT_EQ(results[index], static_cast<int>(index) * 3);  // visible once finished
            }
            for (std::size_t index = 0; index < kCount; ++index) {
                ASSERT_EQ(runs[index].load(), 1) << index;
            }
            EXPECT_TRUE(sameOwner);
        }
    }
}

TEST(IndexWorkersTest, FinishThrowsWhatTheJobOfThatIndexThrew) {
    IndexWorkers workers(
        100,
        [](std::size_t index, std::size_t) {
            if (index % 10 == 7) {
                throw std::runtime_error(std::to_string(index));
            }
        },
        2);
    for (std::size_t index = 0; index < 100; ++index) {
        if (index % 10 == 7) {
            try {
                workers.Finish(index);
                ADD_FAILURE() << "no error for " << index;
            } catch (const std::runtime_error& error) {
                EXPECT_EQ(error.what(), std::to_string(index));
            }
        } else {
            EXPECT_NO_THROW(workers.Finish(index));
        }
    }
}

// A caller that stops early (an error in file order) leaves the rest undone
// and waits only for the jobs under way.
TEST(IndexWorkersTest, StopsHandingOutIndexesWhenDestroyed) {
    std::atomic<int> runs = 0;
    {
        IndexWorkers workers(
            100000,
            [&runs](std::size_t, std::size_t) {
                ++runs;
                std::this_thread::yield();
            },
            2);
        workers.Finish(0);
    }
    const int after = runs.load();
    EXPECT_GE(after, 1);
    EXPECT_LT(after, 100000);
}

TEST(IndexWorkersTest, UsesOneThreadPerCoreAndNoMoreThanIndexes) {
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    EXPECT_EQ(IndexWorkers::DefaultThreads(0), 1U);
    EXPECT_EQ(IndexWorkers::DefaultThreads(1), 1U);
    EXPECT_LE(IndexWorkers::DefaultThreads(1000), cores);
    // Jobs that read files get one thread more, but not on a single core.
    EXPECT_EQ(IndexWorkers::FileThreads(0), 1U);
    EXPECT_EQ(IndexWorkers::FileThreads(1), 1U);
    EXPECT_LE(IndexWorkers::FileThreads(2), 2U);
    EXPECT_EQ(IndexWorkers::FileThreads(1000), cores == 1 ? 1U : cores + 1);
}

}  // namespace
}  // namespace teluri
