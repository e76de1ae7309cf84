#include "threads/ui/tree_column_fit.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

namespace teluri {

void FitColumnToRowsInView(QTreeView& tree) {
    QHeaderView& header = *tree.header();
    header.setSectionResizeMode(QHeaderView::ResizeToContents);
    header.setStretchLastSection(false);
    header.setResizeContentsPrecision(0);
    // The view measures its column again when its rows change or it is
    // resized, not when it scrolls.
    QObject::connect(tree.verticalScrollBar(), &QScrollBar::valueChanged, &header,
                     [&header] { header.resizeSections(QHeaderView::ResizeToContents); });
}

}  // namespace teluri
