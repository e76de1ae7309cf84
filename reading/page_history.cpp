#include "reading/page_history.h"

namespace teluri {

void PageHistory::Visit(const std::string& url) {
    if (!entries_.empty() && entries_[current_] == url) {
        return;
    }
    if (!entries_.empty()) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(current_) + 1,
                       entries_.end());
    }
    entries_.push_back(url);
    if (entries_.size() > kMaxEntries) {
        entries_.pop_front();
    }
    current_ = entries_.size() - 1;
}

std::optional<std::string> PageHistory::Back() {
    if (!CanGoBack()) {
        return std::nullopt;
    }
    return entries_[--current_];
}

std::optional<std::string> PageHistory::Forward() {
    if (!CanGoForward()) {
        return std::nullopt;
    }
    return entries_[++current_];
}

}  // namespace teluri
