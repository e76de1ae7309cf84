// The texts of a folder's pages kept in memory, so that finding a text in
// every page needs no file read: what the thread filter searches on every
// keystroke. Each page is kept as read, up to its first NUL byte, and is
// matched by the search run's own matcher (PageMatcher): a page matches
// exactly as it does in the search run, and reading the pages costs no more
// than the search run's reading.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace teluri {

class PageTexts {
  public:
    // The pages of `folder` (ending with the delimiter).
    explicit PageTexts(std::string folder);
    // Stops a reading ahead (ReadPagesAhead) and waits for its threads.
    ~PageTexts();
    PageTexts(const PageTexts&) = delete;
    PageTexts& operator=(const PageTexts&) = delete;

    const std::string& Folder() const { return folder_; }

    // Reads the pages of `numbers` (four-digit texts, as page files are
    // named) that were not read yet, on one thread per core and one more
    // (IndexWorkers::FileThreads);
    // `step` is called before each page in list order. A missing page has
    // an empty text. A page that cannot be read has one too; the first such
    // error in list order is kept for TakeReadError.
    void ReadPages(const std::vector<std::string>& numbers, const std::function<void()>& step);
    // Starts reading, on threads of its own, the pages of `numbers` that
    // were not read yet, and returns at once: the pages are read while the
    // user is still on the way to use them. Every other call waits for that
    // reading to end first; WaitForReadingAhead waits for it in steps.
    void ReadPagesAhead(std::vector<std::string> numbers);
    // True when no reading ahead is under way, after waiting for it at most
    // `atMost`; throws what the reading threw (not a page's read error,
    // which TakeReadError gives).
    bool WaitForReadingAhead(std::chrono::milliseconds atMost);
    // The slot of the page of `number`, read at once if it was not.
    std::size_t Slot(std::string_view number);

    std::size_t PageCount() const;
    // The page's content up to its first NUL byte, as read.
    std::string_view Text(std::size_t slot) const;

    // Per slot, whether the page holds `needle`, on one thread per core. Only the slots
    // set in `candidates` (when given) are tested; the others are false.
    std::vector<char> Matching(std::string_view needle,
                               const std::vector<char>* candidates = nullptr) const;

    // The bytes held for the texts, unused block ends included.
    std::size_t HeldBytes() const;

    // The message of the first page read that failed since the last call.
    std::optional<std::string> TakeReadError();

  private:
    struct Span {
        const char* data = nullptr;
        std::size_t size = 0;
    };

    // Blocks that hold the texts one after the other and are never moved,
    // so that memory stays close to the texts' sum; one per reading thread.
    class Arena {
      public:
        // Room for `size` more bytes.
        char* Reserve(std::size_t size);
        std::size_t HeldBytes() const { return heldBytes_; }

      private:
        std::vector<std::unique_ptr<char[]>> blocks_;
        char* free_ = nullptr;
        std::size_t room_ = 0;
        std::size_t heldBytes_ = 0;
    };

    std::string folder_;
    std::unordered_map<std::string, std::size_t> slots_;
    std::vector<Span> spans_;
    std::vector<Arena> arenas_;
    std::optional<std::string> readError_;
    // The reading ahead under way, and the flag that makes it skip the
    // pages it has not read yet.
    mutable std::future<void> ahead_;
    std::atomic<bool> stopAhead_{false};

    // Waits for the reading ahead to end.
    void FinishReadingAhead() const;
    // ReadPages without waiting for a reading ahead: what that reading runs.
    void ReadFresh(const std::vector<std::string>& numbers, const std::function<void()>& step);
    std::string_view SpanText(std::size_t slot) const;
};

}  // namespace teluri
