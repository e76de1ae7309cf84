// The texts of a folder's pages kept in memory, each in the match form of
// its whole text, so that finding a text in every page needs no file read
// and no upper-casing: what the thread filter searches on every keystroke.
#pragma once

#include <cstddef>
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

    // The slot of the page of `number` (its four-digit text, as page files
    // are named), reading the file the first time the number is asked for.
    // A missing page has an empty text. A page that cannot be read has one
    // too; the first such error is kept for TakeReadError.
    std::size_t Slot(std::string_view number);
    // True when `number`'s page was read already.
    bool Holds(std::string_view number) const;

    std::size_t PageCount() const { return spans_.size(); }
    // The page's whole text (its lines, each followed by CR LF) in match form.
    std::string_view Text(std::size_t slot) const;

    // Per slot, whether the page holds `needle` (match form). Only the slots
    // set in `candidates` (when given) are tested; the others are false.
    std::vector<char> Matching(std::string_view needle,
                               const std::vector<char>* candidates = nullptr) const;

    // The bytes held for the texts, unused block ends included.
    std::size_t HeldBytes() const;

    // The message of the first page read that failed since the last call.
    std::optional<std::string> TakeReadError();

  private:
    struct Span {
        const char* data;
        std::size_t size;
    };

    // Room for `size` more bytes at the end of the last block.
    char* Reserve(std::size_t size);

    std::string folder_;
    std::unordered_map<std::string, std::size_t> slots_;
    std::vector<Span> spans_;
    // The texts lie one after the other in blocks that are never moved, so
    // that memory stays close to the texts' sum.
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    std::size_t heldBytes_ = 0;
    std::string buffer_;   // each file as read
    std::string scratch_;  // each page's whole text
    std::optional<std::string> readError_;
};

}  // namespace teluri
