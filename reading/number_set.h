// A set of page numbers, for walks that look up a tree's worth of them:
// page numbers have four digits, so each has a flag of its own, and only a
// number past them (which no page file has) goes into a hash set.
#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

namespace teluri {

class NumberSet {
  public:
    // True when `number` (not negative) was not in the set.
    bool Insert(int number) {
        if (number >= kFlagged) {
            return others_.insert(number).second;
        }
        char& flag = flags_[static_cast<std::size_t>(number)];
        const bool inserted = flag == 0;
        flag = 1;
        if (inserted) {
            ++size_;
        }
        return inserted;
    }

    // `number`: not negative.
    bool Contains(int number) const {
        if (number >= kFlagged) {
            return others_.contains(number);
        }
        return flags_[static_cast<std::size_t>(number)] != 0;
    }

    std::size_t Size() const { return size_ + others_.size(); }

  private:
    static constexpr int kFlagged = 10000;

    std::vector<char> flags_ = std::vector<char>(kFlagged);  // per number below kFlagged
    std::size_t size_ = 0;                                   // flags set
    std::unordered_set<int> others_;
};

}  // namespace teluri
