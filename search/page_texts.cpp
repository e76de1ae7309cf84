#include "search/page_texts.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/errors.h"
#include "base/files.h"
#include "base/index_workers.h"
#include "base/lines.h"
#include "base/paths.h"
#include "search/page_search.h"

namespace teluri {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// How many pages a thread matches at a time: enough that handing out runs
// costs nothing beside matching them.
constexpr std::size_t kSlotsPerRun = 256;

}  // namespace

char* PageTexts::Arena::Reserve(std::size_t size) {
    if (free_ == nullptr || room_ < size) {
        const std::size_t blockSize = std::max(kBlockSize, size);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize));
        heldBytes_ += blockSize;
        free_ = blocks_.back().get();
        room_ = blockSize;
    }
    char* at = free_;
    free_ += size;
    room_ -= size;
    return at;
}

PageTexts::PageTexts(std::string folder) : folder_(std::move(folder)) {}

PageTexts::~PageTexts() {
    stopAhead_ = true;
    if (ahead_.valid()) {
        ahead_.wait();
    }
}

void PageTexts::ReadPagesAhead(std::vector<std::string> numbers) {
    FinishReadingAhead();
    ahead_ = std::async(std::launch::async,
                        [this, numbers = std::move(numbers)] { ReadFresh(numbers, [] {}); });
}

bool PageTexts::WaitForReadingAhead(std::chrono::milliseconds atMost) {
    if (ahead_.valid() && ahead_.wait_for(atMost) != std::future_status::ready) {
        return false;
    }
    FinishReadingAhead();
    return true;
}

void PageTexts::FinishReadingAhead() const {
    if (ahead_.valid()) {
        ahead_.get();
    }
}

std::size_t PageTexts::Slot(std::string_view number) {
    FinishReadingAhead();
    const auto found = slots_.find(std::string(number));
    if (found != slots_.end()) {
        return found->second;
    }
    ReadPages({std::string(number)}, [] {});
    return slots_.find(std::string(number))->second;
}

void PageTexts::ReadPages(const std::vector<std::string>& numbers,
                          const std::function<void()>& step) {
    FinishReadingAhead();
    ReadFresh(numbers, step);
}

void PageTexts::ReadFresh(const std::vector<std::string>& numbers,
                          const std::function<void()>& step) {
    std::vector<std::string> fresh;  // the numbers not read yet, each once
    for (const std::string& number : numbers) {
        if (slots_.try_emplace(number, spans_.size() + fresh.size()).second) {
            fresh.push_back(number);
        }
    }
    const std::size_t first = spans_.size();
    spans_.resize(first + fresh.size());
    const std::size_t threads = IndexWorkers::FileThreads(fresh.size());
    if (arenas_.size() < threads) {
        arenas_.resize(threads);
    }
    // Every page a thread reads goes into its buffer in turn, and its text
    // into its own arena.
    std::vector<std::string> buffers(threads);
    const OpenFolder folder(folder_);
    IndexWorkers workers(
        fresh.size(),
        [&](std::size_t index, std::size_t worker) {
            if (stopAhead_.load(std::memory_order_relaxed)) {
                return;  // the texts are going away
            }
            const std::optional<std::string_view> content =
                folder.ReadFileInto(PageFile("", fresh[index]), buffers[worker]);
            const std::string_view page = content ? ContentBeforeNul(*content) : std::string_view();
            char* text = arenas_[worker].Reserve(page.size());
            if (!page.empty()) {
                std::memcpy(text, page.data(), page.size());
            }
            spans_[first + index] = {text, page.size()};
        },
        threads);
    for (std::size_t index = 0; index < fresh.size(); ++index) {
        step();
        try {
            workers.Finish(index);
        } catch (const IoError& failure) {
            if (!readError_) {
                readError_ = failure.what();
            }
        }
    }
}

std::size_t PageTexts::PageCount() const {
    FinishReadingAhead();
    return spans_.size();
}

std::string_view PageTexts::Text(std::size_t slot) const {
    FinishReadingAhead();
    return SpanText(slot);
}

std::string_view PageTexts::SpanText(std::size_t slot) const {
    return {spans_[slot].data, spans_[slot].size};
}

std::vector<char> PageTexts::Matching(std::string_view needle,
                                      const std::vector<char>* candidates) const {
    FinishReadingAhead();
    const PageMatcher matcher(needle);
    std::vector<char> matching(spans_.size(), 0);
    // Runs of slots, matched on one thread per core.
    const std::size_t runs = (spans_.size() + kSlotsPerRun - 1) / kSlotsPerRun;
    IndexWorkers workers(runs, [&](std::size_t run, std::size_t /*worker*/) {
        const std::size_t end = std::min(spans_.size(), (run + 1) * kSlotsPerRun);
        for (std::size_t slot = run * kSlotsPerRun; slot < end; ++slot) {
            if (candidates == nullptr || (slot < candidates->size() && (*candidates)[slot])) {
                matching[slot] = matcher.Matches(SpanText(slot)) ? 1 : 0;
            }
        }
    });
    for (std::size_t run = 0; run < runs; ++run) {
        workers.Finish(run);
    }
    return matching;
}

std::size_t PageTexts::HeldBytes() const {
    FinishReadingAhead();
    std::size_t held = spans_.capacity() * sizeof(Span);
    for (const Arena& arena : arenas_) {
        held += arena.HeldBytes();
    }
    return held;
}

std::optional<std::string> PageTexts::TakeReadError() {
    FinishReadingAhead();
    return std::exchange(readError_, std::nullopt);
}

}  // namespace teluri
