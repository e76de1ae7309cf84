// Marks ranges of a shown page: every range gets a tinted background, the
// current one a stronger tint and the page's selection, scrolled into view,
// so that copying takes it. The marks are drawn over the document (extra
// selections) and never change it.
#pragma once

#include <utility>
#include <vector>

class QTextEdit;

namespace teluri {

// Document positions: start, and end past the last character.
using HighlightRange = std::pair<int, int>;

// Marks `ranges` and makes `current` (an index into them, -1: none) the
// selection. Without ranges the marks are removed and the selection stays.
void ShowHighlights(QTextEdit& view, const std::vector<HighlightRange>& ranges, int current);

// Selects one range and scrolls it into view, without marks.
void SelectRange(QTextEdit& view, HighlightRange range);

void ClearHighlights(QTextEdit& view);

}  // namespace teluri
