// The message search: finds the pages of a folder whose text contains a
// given text, letters compared without regard to case. Texts are cp932
// bytes; the match is a plain byte match and may start anywhere in a page,
// in its markup or at the trail byte of a double-byte character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace teluri {

// The two families a hit is shown with; the values are the picture indexes
// of the search window's list.
enum HitKind : int {
    kHitDelphi = 0,
    kHitBuilder = 1,
};

// The kind's text in a search log: "DLP" or "BCB".
std::string_view KindText(HitKind kind);

// kHitBuilder when the upper-cased title contains "BUILDER", else
// kHitDelphi. Narrower than the tree's family test: "C++" or "[B" alone
// do not count.
HitKind KindOfTitle(std::string_view title);

// True for a name whose extension (from its last "." on) is ".msg" in any
// letter case; backups ("*.bak") and names without an extension are no
// pages to search.
bool IsSearchedPageName(std::string_view name);

// The text a search runs with: CR, LF and NUL bytes of the typed or pasted
// text become blanks, so that the text stays one line of the history and
// its log keeps the name the history leads to. (Bytes below 0x40 are never
// trail bytes in cp932.)
std::string OneLineSearchText(std::string_view text);

// One page that holds the text.
struct SearchHit {
    std::string title;
    std::string number;  // the page's number in decimal
    HitKind kind = kHitDelphi;
};

// Finds one text in page contents. The text is upper-cased once; in a page,
// the places where it may start are found by looking for its rarest byte
// (in both letter cases for a letter) many bytes at a step, and only there
// is the rest compared, up to the first match.
class PageMatcher {
  public:
    explicit PageMatcher(std::string_view text);

    // True when the page's whole text (its lines up to the first NUL byte,
    // each followed by CR LF), upper-cased, contains the upper-cased text.
    // An empty text is never contained. `content` is the file as read.
    bool Matches(std::string_view content) const;

  private:
    std::string upperText_;
    // The text with every byte a-z upper-cased, trail bytes too.
    std::string foldedText_;
    // The place in the text of the byte looked for first: the one that
    // pages hold least often, by a table of byte frequencies.
    std::size_t rareAt_ = 0;
    // A text without line-end bytes can only match within one line, so the
    // content needs no line-end normalisation: the lines are the same.
    bool spansLines_ = false;
};

// Receives the course of a search run.
class SearchSink {
  public:
    virtual ~SearchSink() = default;
    // Before each name of the list is looked at, pages or not.
    virtual void Step() {}
    // A page holds the text: its title is known. The number and kind follow
    // with HitCompleted; a number that is no integer stops the run in
    // between.
    virtual void HitFound(const std::string& /*title*/) {}
    virtual void HitCompleted(const SearchHit& /*hit*/) {}
};

// Searches the pages `names` (bare file names, in the order given) of the
// folder `folder` (ending with the delimiter) for `text`, and returns the
// hits in that order. Every name is stepped; only ".msg" names are read.
// A page that vanished since the list was made or cannot be read throws
// IoError naming it; a hit whose number is no integer throws ConvertError
// with the page file as the error's file. The run stops there; the sink has
// seen everything before.
std::vector<SearchHit> SearchPages(const std::string& folder, const std::vector<std::string>& names,
                                   std::string_view text, SearchSink& sink);

}  // namespace teluri
