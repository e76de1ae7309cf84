// The saved tree, "Tree.dat": one line per node in depth-first pre-order,
// one TAB per level, the node text's bytes unchanged, CR LF after every line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "threads/thread_tree.h"

namespace teluri {

inline constexpr std::string_view kTreeFileName = "Tree.dat";

// A Tree.dat line deeper than one level below the node before it.
class TreeLevelError : public TeluriError {
  public:
    using TeluriError::TeluriError;
};

// One node's line: its depth in TABs, its text, CR LF.
std::string FormatTreeLine(const TreeLine& line);
std::string FormatTreeDat(const std::vector<TreeLine>& lines);

// Replaces the file atomically; a failure leaves the old file intact and
// throws IoError "ﾌｧｲﾙ %s を作成できません".
void WriteTreeDat(const std::string& path, const std::vector<TreeLine>& lines);

// Reads saved-tree content into `sink`. A line's level is the count of its
// leading TAB or blank bytes; the rest is the node text. The first line is a
// root whatever its level; a line at the previous node's depth is its
// sibling, one deeper its child, shallower the sibling of the ancestor at
// that depth. A line more than one level deeper throws TreeLevelError, the
// nodes read before it staying in the sink.
void ReadTreeDat(std::string_view content, TreeSink& sink);

// Throws TreeTooLargeError naming `file` when `content` holds more lines,
// and so nodes, than an analysis run may add (kMaxTreeNodes): a saved tree
// is held to the same limit as the run that writes it. Checked before
// anything is read, so that the tree shown before stays as it was.
void CheckTreeDatSize(std::string_view content, const std::string& file);

}  // namespace teluri
