#include "search/page_texts.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/paths.h"
#include "search/textmatch.h"

namespace teluri {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

}  // namespace

PageTexts::PageTexts(std::string folder) : folder_(std::move(folder)) {}

bool PageTexts::Holds(std::string_view number) const {
    return slots_.find(std::string(number)) != slots_.end();
}

std::size_t PageTexts::Slot(std::string_view number) {
    const auto [entry, added] = slots_.try_emplace(std::string(number), spans_.size());
    if (!added) {
        return entry->second;
    }
    const std::string path = PageFile(folder_, number);
    std::optional<std::string_view> content;
    try {
        content = ReadFileInto(path, buffer_);
    } catch (const IoError& error) {
        if (!readError_) {
            readError_ = error.what();
        }
    }
    scratch_.clear();
    if (content) {
        ForEachLine(*content, [this](std::string_view line) {
            scratch_ += line;
            scratch_ += "\r\n";
        });
        UpperCaseCp932InPlace(scratch_);
    }
    char* text = Reserve(scratch_.size());
    std::memcpy(text, scratch_.data(), scratch_.size());
    spans_.push_back({text, scratch_.size()});
    return entry->second;
}

char* PageTexts::Reserve(std::size_t size) {
    if (blocks_.empty() || blockSize_ - blockUsed_ < size) {
        blockSize_ = std::max(kBlockSize, size);
        blocks_.push_back(std::make_unique<char[]>(blockSize_));
        heldBytes_ += blockSize_;
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    blockUsed_ += size;
    return at;
}

std::string_view PageTexts::Text(std::size_t slot) const {
    return {spans_[slot].data, spans_[slot].size};
}

std::vector<char> PageTexts::Matching(std::string_view needle,
                                      const std::vector<char>* candidates) const {
    std::vector<char> matching(spans_.size(), 0);
    for (std::size_t slot = 0; slot < spans_.size(); ++slot) {
        if (candidates == nullptr || (slot < candidates->size() && (*candidates)[slot])) {
            matching[slot] = ContainsText(Text(slot), needle) ? 1 : 0;
        }
    }
    return matching;
}

std::size_t PageTexts::HeldBytes() const {
    return heldBytes_ + spans_.capacity() * sizeof(Span);
}

std::optional<std::string> PageTexts::TakeReadError() {
    return std::exchange(readError_, std::nullopt);
}

}  // namespace teluri
