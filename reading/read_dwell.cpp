#include "reading/read_dwell.h"

namespace teluri {

void ReadDwell::Shown(std::optional<MarkablePage> page, Clock::time_point now) {
    pending_ = std::move(page);
    shownAt_ = now;
}

std::optional<MarkablePage> ReadDwell::Due(Clock::time_point now) {
    if (!pending_ || now - shownAt_ < kDwell) {
        return std::nullopt;
    }
    return Engaged();
}

std::optional<MarkablePage> ReadDwell::Engaged() {
    std::optional<MarkablePage> page = std::move(pending_);
    pending_.reset();
    return page;
}

}  // namespace teluri
