// The texts of a folder's pages kept in memory, so that finding a text in
// every page needs no file read: what the thread filter searches on every
// keystroke. Each page is kept as read, up to its first NUL byte, and is
// matched by the search run's own matcher (PageMatcher): a page matches
// exactly as it does in the search run, and reading the pages costs no more
// than the search run's reading.
#pragma once

#include <cstddef>
#include <functional>
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

    const std::string& Folder() const { return folder_; }

    // Reads the pages of `numbers` (four-digit texts, as page files are
    // named) that were not read yet, on one thread per core (IndexWorkers);
    // `step` is called before each page in list order. A missing page has
    // an empty text. A page that cannot be read has one too; the first such
    // error in list order is kept for TakeReadError.
    void ReadPages(const std::vector<std::string>& numbers, const std::function<void()>& step);
    // The slot of the page of `number`, read at once if it was not.
    std::size_t Slot(std::string_view number);

    std::size_t PageCount() const { return spans_.size(); }
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
};

}  // namespace teluri
