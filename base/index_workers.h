// Work over the entries of a list spread over threads, ripgrep-style: each
// thread takes the next index from a shared counter and does the whole job
// for it (for a file: open, read into a buffer of its own, process, close),
// so that nothing passes between threads but the finished result. The
// calling thread works too: it asks for the indexes in the order it needs
// them (Finish), doing an index itself when no thread has taken it yet, and
// while the one it asks for is under way elsewhere it takes the next free
// one instead of waiting. Results are kept by the caller, per index.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

namespace teluri {

class IndexWorkers {
  public:
    // The job for one index, run on the thread numbered `worker`: 0 is the
    // calling thread, and each number stays with one thread, so that the
    // job may keep state per number (a buffer, a matcher).
    using Job = std::function<void(std::size_t index, std::size_t worker)>;

    // Starts the threads for indexes 0 to count - 1. `threads`: how many
    // work, the calling one included; by default DefaultThreads(count).
    IndexWorkers(std::size_t count, Job job, std::optional<std::size_t> threads = std::nullopt);
    // Hands out no more indexes and waits for the jobs under way.
    ~IndexWorkers();
    IndexWorkers(const IndexWorkers&) = delete;
    IndexWorkers& operator=(const IndexWorkers&) = delete;

    // One thread per core, no more than indexes; one on a single core.
    static std::size_t DefaultThreads(std::size_t count);
    // For jobs that are mostly system calls (open, read, close): one thread
    // per core and one more, no more than indexes; one on a single core.
    static std::size_t FileThreads(std::size_t count);
    std::size_t Threads() const { return threads_.size() + 1; }

    // Returns once the job for `index` has run, and throws what it threw.
    void Finish(std::size_t index);

  private:
    enum State : std::uint8_t { kFree, kTaken, kDone };

    bool Claim(std::size_t index);
    void Run(std::size_t index, std::size_t worker);
    // Runs the job of the next free index here; false when none is left.
    bool RunNextFree(std::size_t worker);

    const std::size_t count_;
    const Job job_;
    std::vector<std::atomic<std::uint8_t>> states_;
    std::vector<std::exception_ptr> errors_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};

}  // namespace teluri
