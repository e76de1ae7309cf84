#include "search/page_search.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/index_workers.h"
#include "base/lines.h"
#include "base/messages.h"
#include "search/text_match.h"

namespace teluri {
namespace {

constexpr std::string_view kPageExtension = ".msg";
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

constexpr char Folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// How often a byte stands in the archive's pages, roughly, from 0 (never) to
// 255 (in every line): Japanese prose in cp932 with HTML markup and code.
// Letters count for both their cases, as both are looked for.
int ByteFrequency(unsigned char c) {
    static constexpr std::string_view kLettersByFrequency = "ETAOINSRHLDCUMFPGWYBVKXJQZ";
    const char upper = Folded(static_cast<char>(c));
    if (upper >= 'A' && upper <= 'Z') {
        const std::size_t rank = kLettersByFrequency.find(upper);
        return 200 - static_cast<int>(rank) * 7;
    }
    if (c == 0x81 || c == 0x82 || c == 0x83) {
        return 255;  // leads of punctuation, hiragana and katakana
    }
    if (c >= 0x80) {
        return 150;  // other leads and trail bytes
    }
    if (c == ' ' || c == '<' || c == '>' || c == '/' || c == '\r' || c == '\n') {
        return 240;
    }
    if (c >= '0' && c <= '9') {
        return 160;
    }
    if (c < 0x20) {
        return 10;
    }
    return 60;  // other punctuation
}

// The first place from `from` on where `page` holds `c`, or either letter
// case of `c` when it is a letter; the page's size when there is none.
std::size_t FindByte(std::string_view page, std::size_t from, char c) {
    if (from >= page.size()) {
        return page.size();
    }
    const char upper = Folded(c);
    if (upper < 'A' || upper > 'Z') {
        const void* found = std::memchr(page.data() + from, c, page.size() - from);
        return found == nullptr
                   ? page.size()
                   : static_cast<std::size_t>(static_cast<const char*>(found) - page.data());
    }
    // Setting bit 5 turns an upper-case letter into its lower case and no
    // other byte into a lower-case letter.
    const char lower = static_cast<char>(upper | 0x20);
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i bit5 = _mm_set1_epi8(0x20);
    const __m128i wanted = _mm_set1_epi8(lower);
    for (; i + 16 <= page.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(page.data() + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(block, bit5), wanted));
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
    }
#endif
    for (; i < page.size(); ++i) {
        if ((page[i] | 0x20) == lower) {
            return i;
        }
    }
    return page.size();
}

// True when `page` at `at` holds `folded` with every byte a-z of the page
// upper-cased, trail bytes too: what any match holds, and more.
bool FoldedEqualAt(std::string_view page, std::size_t at, std::string_view folded) {
    for (std::size_t k = 0; k < folded.size(); ++k) {
        if (Folded(page[at + k]) != folded[k]) {
            return false;
        }
    }
    return true;
}

// Which bytes of a cp932 text begin a character. A lead byte takes the
// byte after it, whatever that is, so a byte that is no lead byte ends a
// character: the byte after the nearest such byte begins one, and from there
// on each lead byte begins a character of two. A byte thus begins a
// character when an even number of lead bytes stands right before it. Runs
// of lead bytes are short in real text; after a long one the text is walked
// forward from the last place asked about instead, so that no page costs
// more than one walk over it.
class CharacterStarts {
  public:
    explicit CharacterStarts(std::string_view text) : text_(text), leadBytes_(Cp932LeadBytes()) {}

    // True when byte `at` begins a character. `at` is never before the
    // position asked about in the call before.
    bool Begins(std::size_t at) {
        constexpr std::size_t kLookBack = 64;
        std::size_t leads = 0;
        while (leads < at && leads < kLookBack && IsLead(at - 1 - leads)) {
            ++leads;
        }
        if (leads == kLookBack && leads < at) {
            return WalkedStartOf(at) == at;
        }
        return leads % 2 == 0;
    }

    bool IsLead(std::size_t at) const { return leadBytes_[static_cast<unsigned char>(text_[at])]; }

  private:
    // The start of the character that holds byte `at`, walked forward.
    std::size_t WalkedStartOf(std::size_t at) {
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
            next_ += IsLead(start_) ? 2 : 1;
        }
        return start_;
    }

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
    bool begins = starts.Begins(at);
    for (std::size_t k = 0; k < upper.size(); ++k) {
        const std::size_t position = at + k;
        const char c = page[position];
        const bool letter = c >= 'a' && c <= 'z' && begins;
        const char exact = letter ? static_cast<char>(c - ('a' - 'A')) : c;
        if (exact != upper[k]) {
            return false;
        }
        // The byte after a character's first byte begins the next one,
        // unless the first is a lead byte.
        begins = !(begins && starts.IsLead(position));
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
    foldedText_.resize(upperText_.size());
    std::transform(upperText_.begin(), upperText_.end(), foldedText_.begin(), Folded);
    for (std::size_t k = 1; k < upperText_.size(); ++k) {
        if (ByteFrequency(static_cast<unsigned char>(upperText_[k])) <
            ByteFrequency(static_cast<unsigned char>(upperText_[rareAt_]))) {
            rareAt_ = k;
        }
    }
    spansLines_ = upperText_.find_first_of("\r\n") != std::string::npos;
}

bool PageMatcher::Matches(std::string_view content) const {
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
    // Where the page matches, it holds the text's rare byte (a letter in
    // either case: the exact upper-casing folds a subset of the letters)
    // and the text folded the way every letter is; only there is the exact
    // rule checked.
    const std::size_t length = upperText_.size();
    const char rare = upperText_[rareAt_];
    CharacterStarts starts(page);
    std::size_t withoutNul = 0;  // the page holds no NUL byte before this
    for (std::size_t found = FindByte(page, rareAt_, rare);
         found < page.size() && found - rareAt_ + length <= page.size();
         found = FindByte(page, found + 1, rare)) {
        const std::size_t at = found - rareAt_;
        if (!FoldedEqualAt(page, at, foldedText_)) {
            continue;
        }
        // The page's text ends at its first NUL byte; every later place
        // ends later still.
        if (std::memchr(page.data() + withoutNul, '\0', at + length - withoutNul) != nullptr) {
            return false;
        }
        withoutNul = at + length;
        if (MatchesExactlyAt(page, at, upperText_, starts)) {
            return true;
        }
    }
    return false;
}

std::vector<SearchHit> SearchPages(const std::string& folder, const std::vector<std::string>& names,
                                   std::string_view text, SearchSink& sink) {
    // What one page gives: whether it holds the text and, for a hit, its
    // row, or the error its number gave after its title was known.
    struct PageResult {
        bool hit = false;
        SearchHit row;
        std::exception_ptr numberError;
    };
    // What each thread keeps from page to page.
    struct WorkerState {
        PageReader reader;
        std::string buffer;
    };
    const PageMatcher matcher(text);
    const OpenFolder openFolder(folder);
    const std::size_t count = names.size();
    const std::size_t threads = IndexWorkers::FileThreads(count);
    std::vector<WorkerState> states(threads);
    std::vector<PageResult> results(count);
    // Each thread reads, matches and, for a hit, takes title and number of
    // whole pages; the run below hands the results on in list order, so
    // that hits, the sink's calls and the first error are those of reading
    // the pages one after the other.
    IndexWorkers workers(
        count,
        [&](std::size_t index, std::size_t worker) {
            if (!IsSearchedPageName(names[index])) {
                return;
            }
            WorkerState& state = states[worker];
            const std::optional<std::string_view> content =
                openFolder.ReadFileInto(names[index], state.buffer);
            if (!content) {
                throw IoError(msg::Format(msg::kCannotOpenFile, folder + names[index]));
            }
            if (!matcher.Matches(*content)) {
                return;
            }
            const std::string pageFile = folder + names[index];
            PageResult& result = results[index];
            result.hit = true;
            state.reader.LoadContent(pageFile, *content);
            result.row.title = state.reader.Title();
            try {
                result.row.number = std::to_string(state.reader.Number());
            } catch (ConvertError& error) {
                error.SetFile(pageFile);
                result.numberError = std::current_exception();
                return;
            }
            result.row.kind = KindOfTitle(result.row.title);
        },
        threads);
    std::vector<SearchHit> hits;
    for (std::size_t i = 0; i < count; ++i) {
        sink.Step();
        if (!IsSearchedPageName(names[i])) {
            continue;
        }
        workers.Finish(i);
        PageResult& result = results[i];
        if (!result.hit) {
            continue;
        }
        sink.HitFound(result.row.title);
        if (result.numberError) {
            std::rethrow_exception(result.numberError);
        }
        sink.HitCompleted(result.row);
        hits.push_back(std::move(result.row));
    }
    return hits;
}

}  // namespace teluri
