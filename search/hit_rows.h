// The rows of the search window, kept in the form of a search log
// (FormatSearchLog): per hit its title, its number and its kind text, one
// line each, read by the shared line rules. A log is kept as its own bytes with the place
// where each row begins, and a row's texts are found when asked for, so
// that a log of millions of rows takes memory of the order of its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/page_search.h"

namespace teluri {

class HitRows {
  public:
    HitRows() = default;

    // The rows of a log's content, up to its first NUL byte: three lines
    // per row from the first line on; a last row cut short keeps what it
    // has. Nothing for a content of more than kMaxBytes.
    static std::optional<HitRows> FromLog(std::string content);

    // Adds the row of a hit whose title is known; its number and kind
    // follow with CompleteLast, unless the number stopped the run.
    void Add(std::string_view title);
    void CompleteLast(const SearchHit& hit);

    std::size_t Count() const { return starts_.size(); }
    // The cp932 bytes of row `row`'s title.
    std::string_view Title(std::size_t row) const;
    // Its number's bytes; none for a row cut short before them.
    std::optional<std::string_view> Number(std::size_t row) const;
    // kHitBuilder only for a kind line "BCB".
    HitKind Kind(std::size_t row) const;

    // The memory held: the bytes and the row starts, room reserved included.
    std::size_t HeldBytes() const;

    // The most bytes the rows may hold: a row's start takes four bytes.
    static constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();

  private:
    // The lines of a row, up to three.
    std::vector<std::string_view> Lines(std::size_t row) const;
    void Append(std::string_view line);

    std::string bytes_;
    std::vector<std::uint32_t> starts_;
};

}  // namespace teluri
