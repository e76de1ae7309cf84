// When a page on show counts as read: once it has stayed on show for
// kDwell without another page shown in between, or at once when the reader
// works with it (scrolls it, follows a link in it, leaves it by Space).
// Pages passed over faster, with the arrow keys or by typing numbers, stay
// unread. Each showing marks its page at most once; a read-mark command on
// the page settles it for the rest of that showing. The time is given by
// the caller, so that the rule runs on any clock.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace teluri {

struct MarkablePage {
    std::string folder;  // the key of the folder's read marks
    int number = 0;
};

class ReadDwell {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kDwell{1000};

    // A page was shown at `now`; nothing for a page that takes no mark
    // (the tutorial, a page whose file has gone).
    void Shown(std::optional<MarkablePage> page, Clock::time_point now);
    // The page on show when it has stayed long enough by `now` and is not
    // marked yet during this showing.
    std::optional<MarkablePage> Due(Clock::time_point now);
    // The reader worked with the page on show: the page, unless it is
    // marked or settled already during this showing.
    std::optional<MarkablePage> Engaged();
    // Whether the page on show is still to be marked.
    bool IsPending() const { return pending_.has_value(); }
    // Nothing more is marked during this showing.
    void Settle() { pending_.reset(); }

  private:
    std::optional<MarkablePage> pending_;
    Clock::time_point shownAt_;
};

}  // namespace teluri
