#include "search/page_search.h"

#include <string.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/page_prefetch.h"
#include "search/text_match.h"

namespace teluri {
namespace {

constexpr std::string_view kPageExtension = ".msg";
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
// The bytes of a page folded and searched at a time.
constexpr std::size_t kBlockSize = 1024;

// Writes `from` to `to` with every byte a-z upper-cased, trail bytes of
// double-byte characters too: eight bytes at a time, no branches per byte.
void FoldEveryLetter(std::string_view from, std::string& to) {
    to.resize(from.size());
    const char* source = from.data();
    char* target = to.data();
    const std::size_t size = from.size();
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t block;
        std::memcpy(&block, source + i, 8);
        // Per byte, without carries between bytes: bit 7 of `atLeastA` is set
        // from 'a' (0x61) on, bit 7 of `pastZ` from '{' (0x7B) on.
        const std::uint64_t low = block & ~kHighBits;
        const std::uint64_t atLeastA = low + 0x1F1F1F1F1F1F1F1FULL;
        const std::uint64_t pastZ = low + 0x0505050505050505ULL;
        const std::uint64_t lower = atLeastA & ~pastZ & ~block & kHighBits;
        block ^= lower >> 2;  // 0x20 in each lower-case letter's byte
        std::memcpy(target + i, &block, 8);
    }
    for (; i < size; ++i) {
        const auto c = static_cast<unsigned char>(source[i]);
        target[i] = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
}

// The character boundaries of a cp932 text, walked from its start and only
// forward: where the characters around a position begin, without looking at
// the text before the position asked about last.
class CharacterStarts {
  public:
    explicit CharacterStarts(std::string_view text) : text_(text), leadBytes_(Cp932LeadBytes()) {}

    // The start of the character that holds byte `at`: `at` itself or, for
    // the trail byte of a double-byte character, the byte before. `at` is
    // never before the position asked about in the call before.
    std::size_t StartOf(std::size_t at) {
        while (next_ <= at) {
            // Runs of ASCII bytes, which hold no lead byte, are passed over
            // eight at a time.
            std::uint64_t block;
            if (next_ + 8 <= at) {
                std::memcpy(&block, text_.data() + next_, 8);
                if ((block & kHighBits) == 0) {
                    next_ += 8;
                    continue;
                }
            }
            start_ = next_;
            next_ += Length(start_);
        }
        return start_;
    }

    // The length in bytes of the character starting at `start`.
    std::size_t Length(std::size_t start) const {
        return leadBytes_[static_cast<unsigned char>(text_[start])] ? 2 : 1;
    }

  private:
    std::string_view text_;
    const LeadByteSet& leadBytes_;
    std::size_t start_ = 0;
    std::size_t next_ = 0;  // the start of the character after start_
};

// True when the cp932 upper-casing of `page` (UpperCaseCp932) holds `upper`
// at byte `at`: a letter matches in either case, except where it is the
// trail byte of a double-byte character, which the upper-casing leaves.
bool MatchesExactlyAt(std::string_view page, std::size_t at, std::string_view upper,
                      CharacterStarts& starts) {
    std::size_t start = starts.StartOf(at);
    for (std::size_t k = 0; k < upper.size(); ++k) {
        const std::size_t position = at + k;
        while (start + starts.Length(start) <= position) {
            start += starts.Length(start);
        }
        const char c = page[position];
        const bool letter = c >= 'a' && c <= 'z' && start == position;
        const char exact = letter ? static_cast<char>(c - ('a' - 'A')) : c;
        if (exact != upper[k]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view KindText(HitKind kind) {
    return kind == kHitBuilder ? "BCB" : "DLP";
}

std::string OneLineSearchText(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return line;
}

HitKind KindOfTitle(std::string_view title) {
    return UpperCaseCp932(title).find("BUILDER") != std::string::npos ? kHitBuilder : kHitDelphi;
}

bool IsSearchedPageName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    return AsciiLowerCase(name.substr(dot)) == kPageExtension;
}

PageMatcher::PageMatcher(std::string_view text) : upperText_(MatchForm(text)) {
    FoldEveryLetter(upperText_, foldedText_);
    spansLines_ = upperText_.find_first_of("\r\n") != std::string::npos;
}

bool PageMatcher::Matches(std::string_view content) {
    if (upperText_.empty()) {
        return false;
    }
    // A text without line-end bytes can only match within one line, and the
    // whole text holds the same lines as the content up to its first NUL;
    // the upper-casing gives the same letters in both, as a line end is no
    // letter and starts every line afresh after a line ending in a lead byte
    // too. Only a text with line ends needs the whole text built.
    std::string whole;
    std::string_view page = content;
    if (spansLines_) {
        whole = WholeText(content);
        page = whole;
    }
    // The page is looked at a block at a time, up to its first match. Most
    // places do not hold the text: the exact upper-casing folds a subset of
    // the letters that folding every letter does, so only where the block
    // folded that way holds the text folded the same way is the exact rule
    // checked.
    const std::size_t length = upperText_.size();
    CharacterStarts starts(page);
    std::size_t withoutNul = 0;  // the page holds no NUL byte before this
    for (std::size_t block = 0; block + length <= page.size(); block += kBlockSize) {
        // Each block overlaps the next by one byte less than the text, so
        // that every place is looked at in exactly one block.
        const std::size_t end = std::min(page.size(), block + kBlockSize + length - 1);
        FoldEveryLetter(page.substr(block, end - block), folded_);
        std::size_t from = 0;
        while (const void* found = ::memmem(folded_.data() + from, folded_.size() - from,
                                            foldedText_.data(), foldedText_.size())) {
            const std::size_t at =
                block + static_cast<std::size_t>(static_cast<const char*>(found) - folded_.data());
            // The page's text ends at its first NUL byte; every later place
            // ends later still.
            if (std::memchr(page.data() + withoutNul, '\0', at + length - withoutNul) != nullptr) {
                return false;
            }
            withoutNul = at + length;
            if (MatchesExactlyAt(page, at, upperText_, starts)) {
                return true;
            }
            from = at - block + 1;
        }
    }
    return false;
}

std::vector<SearchHit> SearchPages(const std::string& folder, const std::vector<std::string>& names,
                                   std::string_view text, SearchSink& sink) {
    PageMatcher matcher(text);
    PageReader reader;  // one reader serves every hit of the run
    std::vector<std::string> pageFiles;
    pageFiles.reserve(names.size());
    for (const std::string& name : names) {
        pageFiles.push_back(IsSearchedPageName(name) ? folder + name : std::string());
    }
    // The pages are read ahead in list order, each as a read at the moment
    // it is taken would give it.
    PagePrefetch prefetch(pageFiles);
    std::string buffer;  // every page is read into it in turn
    std::vector<SearchHit> hits;
    const std::size_t count = names.size();
    for (std::size_t i = 0; i < count; ++i) {
        sink.Step();
        const std::string& pageFile = pageFiles[i];
        if (pageFile.empty()) {
            continue;
        }
        const std::optional<std::string_view> content = prefetch.Take(i, buffer);
        prefetch.Pass(i);
        if (!content) {
            throw IoError(msg::Format(msg::kCannotOpenFile, pageFile));
        }
        if (!matcher.Matches(*content)) {
            continue;
        }
        // The reader takes the page from the bytes just read: a hit is read
        // once.
        reader.LoadContent(pageFile, *content);
        SearchHit hit;
        hit.title = reader.Title();
        sink.HitFound(hit.title);
        try {
            hit.number = std::to_string(reader.Number());
        } catch (ConvertError& error) {
            error.SetFile(pageFile);
            throw;
        }
        hit.kind = KindOfTitle(hit.title);
        sink.HitCompleted(hit);
        hits.push_back(std::move(hit));
    }
    return hits;
}

}  // namespace teluri
