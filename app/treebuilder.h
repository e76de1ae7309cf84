// The analysis run: reads every page of a data folder and rebuilds the
// board's threads. A page that names no parent is a thread root; below each
// node stand the pages its reply links name, recursively.
#pragma once

#include <string>
#include <string_view>

#include "app/thread_tree.h"

namespace teluri {

class THtmlAnl;

// Builds the tree of the folder `dataPath` (ending with the delimiter) into
// `sink`. Errors stop the run where they happen; the nodes added so far stay
// in the sink. A page whose number fields are not integers throws
// ConvertError with the page file set as the error's file.
void BuildTree(const std::string& dataPath, TreeSink& sink);

// The percentage shown before file `index` of `count` is read:
// index * 100 / (count - 1), truncated; 100 when there is one file.
int ProgressPercent(int index, int count);

// A node's text: the page's number in decimal, ":" and its title.
std::string NodeText(const THtmlAnl& page);

}  // namespace teluri
