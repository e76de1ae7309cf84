// Reads a list of files ahead of the thread that consumes them, on worker
// threads: the runs over a folder's pages spend most of their time opening
// and reading files, and that work spreads over every core while the
// consumer parses or matches the pages already read.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"

namespace teluri {

class PagePrefetch {
  public:
    // `paths`: the files in the order they will be consumed; an empty path
    // is a place in the list that is never read. `window`: how many files
    // past the consumer's position may be read ahead, at most.
    explicit PagePrefetch(std::vector<std::string> paths, std::size_t window = kDefaultWindow);
    ~PagePrefetch();
    PagePrefetch(const PagePrefetch&) = delete;
    PagePrefetch& operator=(const PagePrefetch&) = delete;

    // The content of file `index` exactly as ReadFileIfExists would give it
    // now, errors included. A copy read ahead is given only while the file's
    // status still shows the stamp it was read with (one status call);
    // otherwise the file is read here: when no copy is ready yet (the
    // consumer never waits for a worker), when the file is not in the window
    // ahead, or when it was taken before. `stamp` as for ReadFileIfExists.
    std::optional<std::string> Take(std::size_t index, FileStamp* stamp = nullptr);

    // The consumer is done with every file up to `index`: the window moves
    // on past it, and what was read ahead before it is dropped.
    void Pass(std::size_t index);

    static constexpr std::size_t kDefaultWindow = 1024;
    // Reading ahead also pauses while the copies not yet taken hold this
    // many bytes, so that a folder of large files stays within bounds too.
    static constexpr std::size_t kMaxHeldBytes = 16 << 20;

  private:
    enum class State { kWaiting, kReading, kRead, kFailed, kTaken };
    struct Slot {
        State state = State::kWaiting;
        std::string content;
        FileStamp stamp;
    };

    void Work();
    // The next slot a worker may read, or the list's size when there is
    // none; called with the lock held.
    std::size_t NextToRead();
    void Drop(Slot& slot);

    const std::vector<std::string> paths_;
    const std::size_t window_;
    std::vector<Slot> slots_;
    std::mutex mutex_;
    std::condition_variable windowMoved_;
    std::size_t position_ = 0;  // the first file not passed
    std::size_t claimed_ = 0;   // the files before it are read, being read or not to be read
    std::size_t heldBytes_ = 0;
    // Workers that wait for the window to move wait until the position
    // reaches `wakeAt_`, so that they wake once per stretch of files rather
    // than once per file.
    std::size_t idleWorkers_ = 0;
    std::size_t wakeAt_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace teluri
