// The pages shown, in order, for going back and forward as in a web
// browser. Each entry is a page URL. Showing a page after going back drops
// the entries ahead; the oldest entries go once the list is full.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace teluri {

class PageHistory {
  public:
    static constexpr std::size_t kMaxEntries = 1000;

    // A page was shown. The same page as the current entry (shown again,
    // for example with new font sizes) adds nothing.
    void Visit(const std::string& url);

    // Moves to the previous or next entry and gives its URL; nothing at
    // either end.
    std::optional<std::string> Back();
    std::optional<std::string> Forward();

    bool CanGoBack() const { return current_ > 0; }
    bool CanGoForward() const { return current_ + 1 < entries_.size(); }

  private:
    std::deque<std::string> entries_;
    // The entry on show; meaningless while there are no entries.
    std::size_t current_ = 0;
};

}  // namespace teluri
