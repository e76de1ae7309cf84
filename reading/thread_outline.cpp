#include "reading/thread_outline.h"

#include "reading/number_set.h"

namespace teluri {

std::pair<std::size_t, std::size_t> ThreadOutline::ThreadRange(std::size_t index) const {
    std::size_t begin = index;
    while (begin > 0 && nodes_[begin].depth > 0) {
        --begin;
    }
    std::size_t end = index + 1;
    while (end < nodes_.size() && nodes_[end].depth > 0) {
        ++end;
    }
    return {begin, end};
}

std::vector<int> ThreadOutline::Numbers(std::size_t begin, std::size_t end) const {
    std::vector<int> numbers;
    NumberSet seen;
    for (std::size_t i = begin; i < end; ++i) {
        const int number = nodes_[i].number;
        if (number >= 0 && seen.Insert(number)) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

int ThreadOutline::Unread(std::size_t begin, std::size_t end, const IsReadFunction& isRead) const {
    NumberSet unread;
    for (std::size_t i = begin; i < end; ++i) {
        const OutlineNode& node = nodes_[i];
        if (node.number >= 0 && node.hasPage && !unread.Contains(node.number) &&
            !isRead(node.number)) {
            unread.Insert(node.number);
        }
    }
    return static_cast<int>(unread.Size());
}

ThreadPlace ThreadOutline::PlaceOf(std::size_t index, const IsReadFunction& isRead) const {
    const auto [begin, end] = ThreadRange(index);
    ThreadPlace place;
    place.firstNumber = nodes_[begin].number;
    place.position = static_cast<int>(index - begin) + 1;
    place.count = static_cast<int>(end - begin);
    place.depth = nodes_[index].depth;
    place.unread = Unread(begin, end, isRead);
    return place;
}

TreeCounts ThreadOutline::Count(const IsReadFunction& isRead) const {
    TreeCounts counts;
    NumberSet pages;
    for (const OutlineNode& node : nodes_) {
        counts.threads += node.depth == 0 ? 1 : 0;
        if (node.number >= 0 && node.hasPage) {
            pages.Insert(node.number);
        }
    }
    counts.pages = static_cast<int>(pages.Size());
    counts.unread = Unread(0, nodes_.size(), isRead);
    return counts;
}

std::vector<int> ThreadOutline::ThreadNumbers(std::size_t index) const {
    const auto [begin, end] = ThreadRange(index);
    return Numbers(begin, end);
}

std::vector<int> ThreadOutline::AllNumbers() const {
    return Numbers(0, nodes_.size());
}

}  // namespace teluri
