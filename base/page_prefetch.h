// Reads a list of files ahead of the thread that consumes them, on worker
// threads: the runs over a folder's pages spend most of their time opening
// and reading files, and that work spreads over the other cores while the
// consumer parses or matches the pages already read.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/files.h"

namespace teluri {

class PagePrefetch {
  public:
    // `paths`: the files in the order they will be consumed; an empty path
    // is a place in the list that is never read. `window`: how many files
    // past the consumer's position may be read ahead, at most. `workers`:
    // the number of reading threads, by default one fewer than the cores
    // when there are enough of them (kMinCoresForWorkers), else none.
    explicit PagePrefetch(std::vector<std::string> paths, std::size_t window = kDefaultWindow,
                          std::optional<std::size_t> workers = std::nullopt);
    ~PagePrefetch();
    PagePrefetch(const PagePrefetch&) = delete;
    PagePrefetch& operator=(const PagePrefetch&) = delete;

    // The content of file `index` exactly as ReadFileInto would give it now,
    // errors included, in `buffer` (as ReadFileInto, the buffer only grows).
    // A copy read ahead is given only while the file's status still shows
    // the stamp it was read with (one status call); otherwise the file is
    // read here: when no copy is ready yet (the consumer never waits for a
    // worker), when the file is not in the window ahead, or when it was
    // taken before. `stamp` as for ReadFileInto.
    std::optional<std::string_view> Take(std::size_t index, std::string& buffer,
                                         FileStamp* stamp = nullptr);

    // The consumer is done with every file up to `index`: the window moves
    // on past it, and what was read ahead before it is dropped.
    void Pass(std::size_t index);

    // False when every file is read by the consumer itself (too few cores).
    bool ReadsAhead() const { return !workers_.empty(); }

    static constexpr std::size_t kDefaultWindow = 1024;
    // Reading ahead also pauses while the copies not yet taken hold this
    // many bytes, so that a folder of large files stays within bounds too.
    static constexpr std::size_t kMaxHeldBytes = 16 << 20;
    // Fewer cores read every file on the consumer's thread.
    static constexpr std::size_t kMinCoresForWorkers = 3;

  private:
    enum class State { kWaiting, kReading, kRead, kFailed, kTaken };
    // The place of file `index` in a ring of `window` places. Buffers pass
    // between the places, the workers and the consumer by swapping, so that
    // once warmed up a run allocates no memory per file.
    struct Slot {
        std::size_t index = 0;
        State state = State::kWaiting;
        std::string buffer;
        std::size_t size = 0;
        FileStamp stamp;
    };

    void Work();
    // The slot of file `index`, which must lie in the window; a slot left
    // by a file before the window is taken over. Called with the lock held.
    Slot& SlotOf(std::size_t index);
    // The next file a worker may read, or the list's size when there is
    // none; called with the lock held.
    std::size_t NextToRead();
    void Drop(Slot& slot);

    const std::vector<std::string> paths_;
    std::vector<Slot> slots_;  // the window's ring
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
