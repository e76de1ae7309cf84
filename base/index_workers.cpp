#include "base/index_workers.h"

#include <algorithm>
#include <utility>

namespace teluri {

IndexWorkers::IndexWorkers(std::size_t count, Job job, std::optional<std::size_t> threads)
    : count_(count), job_(std::move(job)), states_(count), errors_(count) {
    const std::size_t total = std::max<std::size_t>(threads.value_or(DefaultThreads(count)), 1);
    threads_.reserve(total - 1);
    for (std::size_t worker = 1; worker < total; ++worker) {
        threads_.emplace_back([this, worker] {
            while (!stopping_.load(std::memory_order_relaxed) && RunNextFree(worker)) {
            }
        });
    }
}

IndexWorkers::~IndexWorkers() {
    stopping_.store(true, std::memory_order_relaxed);
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

namespace {

std::size_t Cores() {
    return std::max(1U, std::thread::hardware_concurrency());
}

}  // namespace

std::size_t IndexWorkers::DefaultThreads(std::size_t count) {
    return std::clamp<std::size_t>(count, 1, Cores());
}

std::size_t IndexWorkers::FileThreads(std::size_t count) {
    const std::size_t cores = Cores();
    // While a thread waits in the kernel (a lock, a page brought in), the
    // extra one keeps its core busy. On two cores that made the analysis
    // 4-8 % and the search 3-15 % faster than one thread per core.
    return std::clamp<std::size_t>(count, 1, cores == 1 ? 1 : cores + 1);
}

bool IndexWorkers::Claim(std::size_t index) {
    std::uint8_t expected = kFree;
    return states_[index].compare_exchange_strong(expected, kTaken, std::memory_order_relaxed);
}

void IndexWorkers::Run(std::size_t index, std::size_t worker) {
    try {
        job_(index, worker);
    } catch (...) {
        errors_[index] = std::current_exception();
    }
    states_[index].store(kDone, std::memory_order_release);
    states_[index].notify_all();
}

bool IndexWorkers::RunNextFree(std::size_t worker) {
    for (;;) {
        const std::size_t index = next_.fetch_add(1, std::memory_order_relaxed);
        if (index >= count_) {
            return false;
        }
        if (Claim(index)) {
            Run(index, worker);
            return true;
        }
    }
}

void IndexWorkers::Finish(std::size_t index) {
    for (;;) {
        const std::uint8_t state = states_.at(index).load(std::memory_order_acquire);
        if (state == kDone) {
            break;
        }
        if (state == kFree && Claim(index)) {
            Run(index, 0);
            break;
        }
        // Under way on another thread: meanwhile the next free one is done
        // here, or, with none left, the other thread is waited for.
        if (!RunNextFree(0)) {
            states_[index].wait(kTaken, std::memory_order_acquire);
        }
    }
    if (errors_[index]) {
        std::rethrow_exception(errors_[index]);
    }
}

}  // namespace teluri
