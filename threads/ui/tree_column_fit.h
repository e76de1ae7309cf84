// Makes the thread tree's one column as wide as the widest row in view, so
// that long titles and deep nodes scroll sideways. Only the rows in view are
// measured: measuring a row lays out its text, and measuring a thousand rows
// (the view's default) after every change made each thread-filter keystroke
// and each fill of the tree cost tens of milliseconds. The column is measured
// again whenever other rows come into view.
#pragma once

class QTreeView;

namespace teluri {

void FitColumnToRowsInView(QTreeView& tree);

}  // namespace teluri
