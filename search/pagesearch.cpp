#include "search/pagesearch.h"

#include <string.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "analysis/htmlanl.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/page_prefetch.h"

namespace teluri {
namespace {

constexpr std::string_view kPageExtension = ".msg";
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool Contains(std::string_view haystack, std::string_view needle) {
    // glibc's memmem skips ahead on byte pairs and turns to a linear-time
    // search on texts that would make the skipping slow.
    return ::memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
}

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

// Turns `folded`, `text` with every letter upper-cased, into the exact
// cp932 upper-casing of `text` (UpperCaseCp932) from character boundary
// `at` until at least `end`: the letters that are trail bytes of double-byte
// characters get their own case back. `at` is left on the boundary reached.
// Runs of ASCII bytes, which hold no lead byte, are passed over eight at a
// time.
void RestoreTrailLetters(std::string_view text, std::string& folded, std::size_t& at,
                         std::size_t end) {
    const LeadByteSet& leadBytes = Cp932LeadBytes();
    const std::size_t size = text.size();
    end = std::min(end, size);
    std::size_t i = at;
    while (i < end) {
        std::uint64_t block;
        while (i + 8 <= size) {
            std::memcpy(&block, text.data() + i, 8);
            if ((block & kHighBits) != 0) {
                break;
            }
            i += 8;
        }
        if (i >= end) {
            break;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!leadBytes[byte]) {
            ++i;
            continue;
        }
        if (i + 1 < size) {
            const char trail = text[i + 1];
            if (trail >= 'a' && trail <= 'z') {
                folded[i + 1] = trail;
            }
        }
        i += 2;
    }
    at = i;
}

}  // namespace

std::string_view KindText(HitKind kind) {
    return kind == kHitBuilder ? "BCB" : "DLP";
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

PageMatcher::PageMatcher(std::string_view text) : upperText_(UpperCaseCp932(text)) {
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
    std::string_view page = ContentBeforeNul(content);
    if (spansLines_) {
        whole = WholeText(content);
        page = whole;
    }
    // Most pages do not hold the text. The exact upper-casing folds a subset
    // of the letters that folding every letter does, so a page whose fully
    // folded form lacks the fully folded text cannot hold the text.
    FoldEveryLetter(page, folded_);
    const void* candidate =
        ::memmem(folded_.data(), folded_.size(), foldedText_.data(), foldedText_.size());
    if (candidate == nullptr) {
        return false;
    }
    // Where the text is found folded, it is nearly always found exactly:
    // the exact form is made only up to there and compared. Otherwise the
    // rest is made exact and searched as a whole.
    const auto at = static_cast<std::size_t>(static_cast<const char*>(candidate) - folded_.data());
    std::size_t exactUpTo = 0;
    RestoreTrailLetters(page, folded_, exactUpTo, at + upperText_.size());
    if (folded_.compare(at, upperText_.size(), upperText_) == 0) {
        return true;
    }
    RestoreTrailLetters(page, folded_, exactUpTo, page.size());
    return Contains(folded_, upperText_);
}

std::vector<SearchHit> SearchPages(const std::string& folder, const std::vector<std::string>& names,
                                   std::string_view text, SearchSink& sink) {
    PageMatcher matcher(text);
    THtmlAnl reader;  // one reader serves every hit of the run
    std::vector<std::string> pageFiles;
    pageFiles.reserve(names.size());
    for (const std::string& name : names) {
        pageFiles.push_back(IsSearchedPageName(name) ? folder + name : std::string());
    }
    // The pages are read ahead in list order, each as a read at the moment
    // it is taken would give it.
    PagePrefetch prefetch(pageFiles);
    std::vector<SearchHit> hits;
    const std::size_t count = names.size();
    for (std::size_t i = 0; i < count; ++i) {
        sink.Step();
        const std::string& pageFile = pageFiles[i];
        if (pageFile.empty()) {
            continue;
        }
        const std::optional<std::string> content = prefetch.Take(i);
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
        hit.title = reader.GetTitle();
        sink.HitFound(hit.title);
        try {
            hit.number = std::to_string(reader.GetNumber());
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
