// The analysis run: reads every page of a data folder and rebuilds the
// board's threads. A page that names no parent is a thread root; below each
// node stand the pages its reply links name, recursively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "threads/thread_tree.h"

namespace teluri {

class PageReader;

// The most nodes one run adds. Every reply link is a node and a page listed
// many times is a subtree each time, so a few crafted pages can ask for
// billions of nodes; a real archive (at most 9,000 pages) gives about one
// node per page.
inline constexpr std::size_t kMaxTreeNodes = 200'000;
// The most reply links one run looks at, those without a page file
// included, which give no node but cost work each time their page's
// subtree is repeated.
inline constexpr std::size_t kMaxReplyLinks = 5 * kMaxTreeNodes;

// Thrown when a run would pass kMaxTreeNodes or kMaxReplyLinks; the error's
// file is the page whose node would have been one too many, or whose reply
// link would have been.
class TreeTooLargeError : public TeluriError {
  public:
    TreeTooLargeError(const std::string& message, std::string pageFile);

    // "ツリーのノードが 200000 個を超えるため、解析を中止しました", naming `file`.
    static TreeTooLargeError TooManyNodes(std::string file);
};

// Builds the tree of the folder `dataPath` (ending with the delimiter) into
// `sink`. Errors stop the run where they happen; the nodes added so far stay
// in the sink. A page whose number fields are not integers throws
// ConvertError with the page file set as the error's file; a tree that
// would grow beyond kMaxTreeNodes throws TreeTooLargeError.
void BuildTree(const std::string& dataPath, TreeSink& sink);

// The percentage shown before file `index` of `count` is read:
// index * 100 / (count - 1), truncated; 100 when there is one file.
int ProgressPercent(int index, int count);

// A node's text: the page's number in decimal, ":" and its title.
std::string NodeText(const PageReader& page);

}  // namespace teluri
