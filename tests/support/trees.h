// A compact text form of a tree, for comparing trees in tests.
#pragma once

#include <string>
#include <vector>

#include "threads/thread_tree.h"

namespace teluri::test {

// One entry per node in pre-order: a "." per level, then the text; with
// `pictures`, a blank and the picture index after it.
std::vector<std::string> Outline(const std::vector<TreeLine>& lines, bool pictures = false);

}  // namespace teluri::test
